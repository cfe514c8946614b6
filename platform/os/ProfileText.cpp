// Line-level parsing and editing of INI text. Works on raw bytes: NUL bytes, invalid multibyte
// sequences and very long lines are ordinary content, never an error.
#include "platform/os/ProfileText.h"

#include <cstddef>
#include <cstring>

namespace os::profile {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

enum class Kind
{
    Blank,
    Comment,
    Section,
    Key,   // name=value
    Other, // text without '=': kept, never matched
};

// One physical line. `contentEnd` excludes the line break; `end` includes it.
struct Line
{
    std::size_t begin = 0;
    std::size_t contentEnd = 0;
    std::size_t end = 0;
    Kind kind = Kind::Blank;
    std::string_view name;   // section or key name, trimmed
    std::string_view value;  // key value, trimmed, quotes kept
    std::size_t afterEq = 0; // just after the '='
    std::size_t valueAt = 0; // where the value's bytes start (after '=' and the blanks after it)
};

Line ReadLine(std::string_view text, std::size_t pos)
{
    Line line;
    line.begin = pos;
    const void* nl = std::memchr(text.data() + pos, '\n', text.size() - pos);
    if (nl) {
        std::size_t at = static_cast<std::size_t>(static_cast<const char*>(nl) - text.data());
        line.end = at + 1;
        line.contentEnd = (at > pos && text[at - 1] == '\r') ? at - 1 : at;
    } else {
        line.end = line.contentEnd = text.size();
    }

    std::size_t start = pos;
    if (pos == 0 && text.substr(0, kBom.size()) == kBom)
        start = kBom.size() < line.contentEnd ? kBom.size() : line.contentEnd;
    std::string_view content = text.substr(start, line.contentEnd - start);
    std::string_view trimmed = Trim(content);
    if (trimmed.empty()) {
        line.kind = Kind::Blank;
    } else if (trimmed.front() == ';') {
        line.kind = Kind::Comment;
    } else if (trimmed.front() == '[') {
        line.kind = Kind::Section;
        std::string_view inner = trimmed.substr(1);
        std::size_t close = inner.find(']');
        line.name = Trim(close == std::string_view::npos ? inner : inner.substr(0, close));
    } else {
        std::size_t eq = content.find('=');
        if (eq == std::string_view::npos) {
            line.kind = Kind::Other;
        } else {
            line.kind = Kind::Key;
            line.name = Trim(content.substr(0, eq));
            std::size_t v = eq + 1;
            while (v < content.size() && IsBlank(content[v]))
                ++v;
            line.afterEq = start + eq + 1;
            line.valueAt = start + v;
            line.value = Trim(content.substr(eq + 1));
        }
    }
    return line;
}

// Where a section stands in the text: its header line, the first line with the wanted key, the
// last line that is neither blank nor a comment, and where the section ends (next header or EOF).
struct SectionScan
{
    bool found = false;
    Line header;
    bool keyFound = false;
    Line keyLine;
    Line lastContent; // the header itself when the section has no key lines
    std::size_t end = 0;
};

SectionScan Scan(std::string_view text, std::string_view section, std::string_view key, bool wantKey)
{
    SectionScan scan;
    std::size_t pos = 0;
    while (pos < text.size()) {
        Line line = ReadLine(text, pos);
        pos = line.end;
        if (!scan.found) {
            if (line.kind == Kind::Section && SameName(line.name, section)) {
                scan.found = true;
                scan.header = scan.lastContent = line;
                scan.end = line.end;
            }
            continue;
        }
        if (line.kind == Kind::Section)
            break; // only the first section of a name counts
        scan.end = line.end;
        if (line.kind == Kind::Key || line.kind == Kind::Other)
            scan.lastContent = line;
        if (wantKey && !scan.keyFound && line.kind == Kind::Key && SameName(line.name, key)) {
            scan.keyFound = true;
            scan.keyLine = line;
        }
    }
    return scan;
}

std::string_view Unquote(std::string_view v)
{
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

bool HasLineBreak(std::string_view s)
{
    return s.find_first_of("\r\n") != std::string_view::npos;
}

// Names and values that would read back as something else, or break the line structure.
bool StorableSection(std::string_view s)
{
    return !Trim(s).empty() && !HasLineBreak(s) && s.find(']') == s.npos;
}

bool StorableKey(std::string_view k)
{
    std::string_view t = Trim(k);
    return !t.empty() && !HasLineBreak(k) && k.find('=') == k.npos && t.front() != '[' && t.front() != ';';
}

} // namespace

std::string_view LineBreakOf(std::string_view text)
{
    std::size_t nl = text.find('\n');
    if (nl != std::string_view::npos && nl > 0 && text[nl - 1] == '\r')
        return "\r\n";
    return "\n";
}

bool FindValue(std::string_view text, std::string_view section, std::string_view key, std::string* value)
{
    if (Trim(key).empty())
        return false;
    SectionScan scan = Scan(text, Trim(section), Trim(key), true);
    if (!scan.keyFound)
        return false;
    if (value)
        value->assign(Unquote(scan.keyLine.value));
    return true;
}

EditResult Edit(std::string& text, const char* section, const char* key, const char* value)
{
    if (!section || !StorableSection(section))
        return EditResult::Refused;
    if (key && !StorableKey(key))
        return EditResult::Refused;
    if (value && HasLineBreak(value))
        return EditResult::Refused;

    SectionScan scan = Scan(text, Trim(section), key ? Trim(key) : std::string_view(), key != nullptr);

    if (!key) { // delete the section, header to the next header
        if (!scan.found)
            return EditResult::Unchanged;
        text.erase(scan.header.begin, scan.end - scan.header.begin);
        return EditResult::Changed;
    }
    if (!value) { // delete the key's line
        if (!scan.keyFound)
            return EditResult::Unchanged;
        text.erase(scan.keyLine.begin, scan.keyLine.end - scan.keyLine.begin);
        return EditResult::Changed;
    }

    const std::string eol(LineBreakOf(text));
    if (scan.keyFound) {
        const Line& l = scan.keyLine;
        // The blanks after '=' stay, unless the new value brings its own: rewriting such a value
        // must not make them grow.
        std::size_t at = IsBlank(value[0]) ? l.afterEq : l.valueAt;
        if (std::string_view(text).substr(at, l.contentEnd - at) == value)
            return EditResult::Unchanged;
        text.replace(at, l.contentEnd - at, value);
        return EditResult::Changed;
    }

    std::string line = std::string(key) + "=" + value + eol;
    if (scan.found) {
        const Line& after = scan.lastContent;
        // The last line of the file may lack a line break: give it one before the new line.
        if (after.end == after.contentEnd)
            line.insert(0, eol);
        text.insert(after.end, line);
        return EditResult::Changed;
    }

    std::string block;
    if (!text.empty() && text.back() != '\n')
        block += eol;
    block += "[";
    block += section;
    block += "]";
    block += eol;
    block += line;
    text += block;
    return EditResult::Changed;
}

} // namespace os::profile
