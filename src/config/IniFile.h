// Access to one INI file beside the executable, through the private-profile functions. A small
// value object: it caches nothing and holds no open file between calls.
#pragma once

#include "config/IniKey.h"
#include "config/IniSection.h"

#include <string>

class IniFile
{
public:
    // `fileName` is the bare file name; the folder is always the executable's.
    explicit IniFile(const char* fileName);

    // All operations return 0 when the file could be used and 1 when not (nothing is read or written
    // then, and a read leaves the record as it was). A write also returns 1 when a profile write failed.
    // Writes take the record by value: the caller's value texts stay as they were. With
    // `appendBreak` one line break is added at the end of the file after the keys.

    // Clock family, slots 0 to 7; writes slots 1, 0, 2, 3, 4, 6, 5 in this order (slot 7 never).
    int WriteClockSection(IniSection rec, bool appendBreak);
    int ReadClockSection(IniSection& rec);
    // Offset family, slots 10, 11, 13, 3, 4, 14 in this order.
    int WriteOffsetSection(IniSection rec, bool appendBreak);
    int ReadOffsetSection(IniSection& rec);
    // One key; radix 16 writes nValue as "%04X", 10 as signed decimal, any other radix writes szValue.
    int WriteKey(IniKey rec, int radix, bool appendBreak);
    // A missing key reads as "99".
    int ReadKey(IniKey& rec);

    IniSection m_section; // scratch records for the callers
    IniKey m_key;
    std::string m_strFileName;

private:
    // The executable's folder, "/", the file name; false when the executable's path has no folder
    // or the result would not fit 255 characters.
    bool GetFullPath(char (&path)[256]) const;
    int WriteSlots(IniSection& rec, const int* slots, int count, bool appendBreak);
    int ReadSlots(IniSection& rec, const int* slots, int count);
};

// The C runtime's atoi on a value text, except that a number out of range stops at INT_MAX or
// INT_MIN instead of being undefined.
int IniTextToInt(const char* text);
