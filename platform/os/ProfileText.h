// The text of a private-profile (INI) file: looking a key up and changing one key or section while
// every other byte of the text stays as it was. Pure functions on a byte buffer, no file access.
#pragma once

#include <string>
#include <string_view>

namespace os::profile {

// Value of `key` in the first section named `section`, as the profile functions report it: blanks
// around it removed, a value in matching double (or single) quotes without them. Names match without
// regard to ASCII case; lines before the first section and comment lines (';') never match.
// Returns false when the key is not there.
bool FindValue(std::string_view text, std::string_view section, std::string_view key, std::string* value);

enum class EditResult
{
    Changed,   // text was changed
    Unchanged, // the text already said so (or there was nothing to delete)
    Refused,   // a name or value that cannot be stored on one line without changing its meaning
};

// Sets `key` of `section` to `value`: an existing key keeps its line and only its value changes, a
// new key goes after the last key line of its section, a new section goes at the end of the text.
// `value` == nullptr deletes the key; `key` == nullptr deletes the whole section. New lines use the
// text's own line break.
EditResult Edit(std::string& text, const char* section, const char* key, const char* value);

// The line break the text uses: "\r\n" when its first line ends that way, else "\n".
std::string_view LineBreakOf(std::string_view text);

} // namespace os::profile
