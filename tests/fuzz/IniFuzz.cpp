// Fuzz target for the INI reader and writer. An input is an operation byte, then up to four
// names separated by 0x1F (section, key, value, a second key to watch), then the file's text.
// Checks, beyond not crashing: a value that was set reads back as it would from a file holding
// only that key; no other key changes; a second identical write changes nothing; a refused edit
// leaves the text alone. Every eighth input also goes through the real files.
#include "platform/os/PrivateProfile.h"
#include "platform/os/ProfileText.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

bool SameNameAscii(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

std::string Trimmed(const std::string& s)
{
    const char* blanks = " \t\r\v\f";
    std::size_t b = s.find_first_not_of(blanks);
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(blanks) - b + 1);
}

struct Lookup
{
    bool found;
    std::string value;
};

Lookup Find(const std::string& text, const std::string& section, const std::string& key)
{
    Lookup l;
    l.found = os::profile::FindValue(text, section, key, &l.value);
    return l;
}

std::string FuzzFolder()
{
    static std::string folder;
    if (folder.empty()) {
        char tmpl[] = "/tmp/korvax-fuzz-XXXXXX";
        folder = ::mkdtemp(tmpl) ? tmpl : "/tmp";
    }
    return folder;
}

void CheckFiles(const std::string& text, const std::string& section, const std::string& key,
                const std::string& value)
{
    const std::string file = FuzzFolder() + "/fuzz.ini";
    if (std::FILE* f = std::fopen(file.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    std::string edited = text;
    os::profile::EditResult r = os::profile::Edit(edited, section.c_str(), key.c_str(), value.c_str());
    BOOL ok = WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str());
    Check((ok != FALSE) == (r != os::profile::EditResult::Refused), "file write result matches the edit");
    char buf[64];
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), "\x01", buf, sizeof buf, file.c_str());
    Check(n < sizeof buf && buf[n] == '\0', "read result is terminated");
    std::string expected;
    if (!os::profile::FindValue(edited, section, key, &expected))
        expected = "\x01";
    // The caller sees a C string: a NUL inside the value ends it.
    expected = expected.substr(0, sizeof buf - 1).c_str();
    Check(std::string(buf) == expected, "file read matches the text read");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const unsigned op = data[0];
    std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string fields[4];
    for (std::string& f : fields) {
        std::size_t sep = rest.find('\x1f');
        if (sep == std::string::npos)
            break;
        f = rest.substr(0, sep);
        rest.erase(0, sep + 1);
    }
    // Names are C strings to the profile functions: a NUL ends them.
    for (std::string& f : fields)
        f = f.c_str();
    const std::string& section = fields[0];
    const std::string& key = fields[1];
    const std::string& value = fields[2];
    const std::string& watched = fields[3];
    const std::string text = rest;

    // 0: set the key, 1: delete the key, 2: delete the section.
    const unsigned kind = (op & 0x7F) % 3;
    const char* keyArg = kind == 2 ? nullptr : key.c_str();
    const char* valueArg = kind == 0 ? value.c_str() : nullptr;

    std::string edited = text;
    os::profile::EditResult r = os::profile::Edit(edited, section.c_str(), keyArg, valueArg);
    if (r != os::profile::EditResult::Changed)
        Check(edited == text, "an edit that changed nothing leaves the text alone");

    if (r != os::profile::EditResult::Refused) {
        if (kind == 0) {
            std::string alone = "[" + section + "]\n" + key + "=" + value + "\n";
            Lookup want = Find(alone, section, key), got = Find(edited, section, key);
            Check(got.found && want.found && got.value == want.value, "a set value reads back");

            std::string twice = edited;
            Check(os::profile::Edit(twice, section.c_str(), keyArg, valueArg) ==
                          os::profile::EditResult::Unchanged &&
                      twice == edited,
                  "the same write twice changes nothing");
        }

        // The watched key: "name" is another key of the same section, "section=name" a key of any
        // section. Unless the edit is about that very key (or its section), it keeps its value.
        std::string watchSection = section, watchKey = watched;
        std::size_t eq = watched.find('=');
        if (eq != std::string::npos) {
            watchSection = watched.substr(0, eq);
            watchKey = watched.substr(eq + 1);
        }
        const bool sameSection = SameNameAscii(Trimmed(watchSection), Trimmed(section));
        const bool affected =
            kind == 2 ? sameSection : sameSection && SameNameAscii(Trimmed(watchKey), Trimmed(key));
        if (!affected) {
            Lookup before = Find(text, watchSection, watchKey), after = Find(edited, watchSection, watchKey);
            Check(before.found == after.found && before.value == after.value, "other keys keep their values");
        }
    }

    if ((op & 0x80) && kind == 0)
        CheckFiles(text, section, key, value);
    return 0;
}
