// IniFile: full path, value conversion and the slot orders of the two card families.
#include "config/IniFile.h"

#include "platform/os/ModulePath.h"
#include "platform/os/PrivateProfile.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace {

constexpr int kClockWriteSlots[] = {1, 0, 2, 3, 4, 6, 5};
constexpr int kClockReadSlots[] = {0, 1, 2, 3, 4, 6, 7, 5};
constexpr int kOffsetSlots[] = {10, 11, 13, 3, 4, 14};

constexpr char kSectionDefault[] = "0";
constexpr char kKeyDefault[] = "99";

// Records come from callers as fixed arrays; a name filled to the last byte still ends here.
void Terminate(char (&text)[kIniTextSize])
{
    text[kIniTextSize - 1] = '\0';
}

// "a+" as the C runtime knows it: creates a missing file, never truncates one.
bool CanWrite(const char* path)
{
    std::FILE* f = std::fopen(path, "a+");
    if (!f)
        return false;
    std::fclose(f);
    return true;
}

bool CanRead(const char* path)
{
    std::FILE* f = std::fopen(path, "r");
    if (!f)
        return false;
    std::fclose(f);
    return true;
}

} // namespace

int IniTextToInt(const char* text)
{
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    long long n = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        n = n * 10 + (*p - '0');
        if (n > static_cast<long long>(INT_MAX) + 1)
            break;
    }
    if (negative)
        n = -n;
    if (n > INT_MAX)
        return INT_MAX;
    if (n < INT_MIN)
        return INT_MIN;
    return static_cast<int>(n);
}

IniFile::IniFile(const char* fileName) : m_strFileName(fileName ? fileName : "")
{
    std::memset(&m_section, 0, sizeof m_section);
    std::memset(&m_key, 0, sizeof m_key);
}

bool IniFile::GetFullPath(char (&path)[256]) const
{
    char exe[512] = {};
    DWORD n = GetModuleFileNameA(nullptr, exe, sizeof exe);
    if (n == 0 || n >= sizeof exe - 1) // empty, or possibly cut short
        return false;
    char* sep = const_cast<char*>(os::FindLastSeparator(exe));
    if (!sep)
        return false;
    *sep = '\0';
    int len = std::snprintf(path, sizeof path, "%s%c%s", exe, kPathSeparator, m_strFileName.c_str());
    return len > 0 && static_cast<std::size_t>(len) < sizeof path;
}

int IniFile::WriteSlots(IniSection& rec, const int* slots, int count, bool appendBreak)
{
    char path[256];
    if (!GetFullPath(path) || !CanWrite(path))
        return 1;
    Terminate(rec.szSection);
    os::ProfileEntry entries[kIniSlots];
    for (int i = 0; i < count; ++i) {
        int s = slots[i];
        Terminate(rec.szKey[s]);
        std::snprintf(rec.szValue[s], kIniTextSize, "%d", rec.nValue[s]);
        entries[i] = {rec.szKey[s], rec.szValue[s]};
    }
    // One read-modify-write for the whole section and its line break: the same text as one profile
    // write per key, but a killed writer leaves all of the section or none of it, and the line break
    // lands at the end of exactly the file these keys produced.
    return os::WritePrivateProfileEntries(rec.szSection, entries, count, appendBreak, path) ? 0 : 1;
}

int IniFile::ReadSlots(IniSection& rec, const int* slots, int count)
{
    char path[256];
    if (!GetFullPath(path) || !CanRead(path))
        return 1;
    Terminate(rec.szSection);
    for (int i = 0; i < count; ++i) {
        int s = slots[i];
        Terminate(rec.szKey[s]);
        GetPrivateProfileStringA(rec.szSection, rec.szKey[s], kSectionDefault, rec.szValue[s], kIniTextSize,
                                 path);
        rec.nValue[s] = IniTextToInt(rec.szValue[s]);
    }
    return 0;
}

int IniFile::WriteClockSection(IniSection rec, bool appendBreak)
{
    return WriteSlots(rec, kClockWriteSlots, static_cast<int>(std::size(kClockWriteSlots)), appendBreak);
}

int IniFile::ReadClockSection(IniSection& rec)
{
    return ReadSlots(rec, kClockReadSlots, static_cast<int>(std::size(kClockReadSlots)));
}

int IniFile::WriteOffsetSection(IniSection rec, bool appendBreak)
{
    return WriteSlots(rec, kOffsetSlots, static_cast<int>(std::size(kOffsetSlots)), appendBreak);
}

int IniFile::ReadOffsetSection(IniSection& rec)
{
    return ReadSlots(rec, kOffsetSlots, static_cast<int>(std::size(kOffsetSlots)));
}

int IniFile::WriteKey(IniKey rec, int radix, bool appendBreak)
{
    char path[256];
    if (!GetFullPath(path) || !CanWrite(path))
        return 1;
    Terminate(rec.szSection);
    Terminate(rec.szKey);
    Terminate(rec.szValue);
    if (radix == 16)
        std::snprintf(rec.szValue, kIniTextSize, "%04X", static_cast<unsigned>(rec.nValue));
    else if (radix == 10)
        std::snprintf(rec.szValue, kIniTextSize, "%d", rec.nValue);
    const os::ProfileEntry entry = {rec.szKey, rec.szValue};
    return os::WritePrivateProfileEntries(rec.szSection, &entry, 1, appendBreak, path) ? 0 : 1;
}

int IniFile::ReadKey(IniKey& rec)
{
    char path[256];
    if (!GetFullPath(path) || !CanRead(path))
        return 1;
    Terminate(rec.szSection);
    Terminate(rec.szKey);
    GetPrivateProfileStringA(rec.szSection, rec.szKey, kKeyDefault, rec.szValue, kIniTextSize, path);
    rec.nValue = IniTextToInt(rec.szValue);
    return 0;
}
