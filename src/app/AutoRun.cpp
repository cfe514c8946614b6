// The autostart entry: where it lives, how its Exec= line is quoted, and reading and writing it.
#include "app/AutoRun.h"

#include "platform/os/ModulePath.h"
#include "platform/os/WinTypes.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kEntryName[] = "QuillmarkStartUpAutoRun.desktop";
constexpr char kDefaultConfigDir[] = "/etc/xdg";

int StatusOf(int err)
{
    switch (err) {
    case 0:
        return ERROR_SUCCESS;
    case ENOENT:
    case ENOTDIR:
        return ERROR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
        return ERROR_ACCESS_DENIED;
    default:
        return err;
    }
}

std::string EntryFolder()
{
    const char* dirs = std::getenv("XDG_CONFIG_DIRS");
    std::string list = dirs ? dirs : "";
    std::size_t pos = 0;
    while (pos <= list.size()) {
        std::size_t colon = list.find(':', pos);
        std::string dir = list.substr(pos, colon == std::string::npos ? std::string::npos : colon - pos);
        if (!dir.empty() && dir.front() == '/') // relative entries are invalid and skipped
            return dir + "/autostart";
        if (colon == std::string::npos)
            break;
        pos = colon + 1;
    }
    return std::string(kDefaultConfigDir) + "/autostart";
}

bool NeedsQuoting(char c)
{
    return std::strchr(" \t\n\"'\\><~|&;$*?#()`", c) != nullptr;
}

// The string escapes of desktop-entry values, applied to the whole value.
std::string EscapeString(const std::string& s)
{
    std::string out;
    for (char c : s) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string UnescapeString(const std::string& s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        char c = s[++i];
        switch (c) {
        case 's':
            out += ' ';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        default:
            out += c; // "\\" and anything unknown
        }
    }
    return out;
}

bool ReadFile(const std::string& path, std::string& text, int& err)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        err = errno;
        return false;
    }
    std::ostringstream ss;
    ss << in.rdbuf();
    text = ss.str();
    return true;
}

} // namespace

namespace autorun {

std::string EntryPath()
{
    return EntryFolder() + "/" + kEntryName;
}

std::string ExecValueFor(const std::string& program)
{
    bool quote = false;
    for (char c : program)
        quote = quote || NeedsQuoting(c);
    std::string arg;
    if (quote)
        arg += '"';
    for (char c : program) {
        if (c == '%')
            arg += "%%"; // a lone % would start a field code
        else if (quote && (c == '"' || c == '`' || c == '$' || c == '\\'))
            arg += std::string("\\") + c;
        else
            arg += c;
    }
    if (quote)
        arg += '"';
    return EscapeString(arg);
}

std::string ProgramOfExecValue(const std::string& value)
{
    std::string exec = UnescapeString(value);
    std::size_t i = exec.find_first_not_of(' ');
    if (i == std::string::npos)
        return {};
    std::string arg;
    if (exec[i] == '"') {
        bool closed = false;
        for (++i; i < exec.size(); ++i) {
            char c = exec[i];
            if (c == '\\' && i + 1 < exec.size())
                arg += exec[++i];
            else if (c == '"') {
                closed = true;
                break;
            } else
                arg += c;
        }
        if (!closed)
            return {};
    } else {
        std::size_t end = exec.find(' ', i);
        arg = exec.substr(i, end == std::string::npos ? std::string::npos : end - i);
    }
    std::string out;
    for (std::size_t k = 0; k < arg.size(); ++k) {
        out += arg[k];
        if (arg[k] == '%' && k + 1 < arg.size() && arg[k + 1] == '%')
            ++k;
    }
    return out;
}

} // namespace autorun

int QueryAutoRun(char* buffer)
{
    const std::string folder = EntryFolder();
    struct stat st;
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) ||
        ::access(folder.c_str(), R_OK | X_OK) != 0)
        return 1;
    std::string text;
    int err = 0;
    if (!ReadFile(autorun::EntryPath(), text, err))
        return 2;

    std::string exec;
    bool inEntry = false, haveExec = false, hidden = false;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.front() == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry)
            continue;
        std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        std::string key = line.substr(0, line.find_last_not_of(' ', eq - 1) + 1);
        std::string value = line.substr(line.find_first_not_of(' ', eq + 1) == std::string::npos
                                            ? line.size()
                                            : line.find_first_not_of(' ', eq + 1));
        if (key == "Exec" && !haveExec) {
            exec = value;
            haveExec = true;
        } else if (key == "Hidden") {
            hidden = value == "true";
        }
    }
    if (!haveExec || hidden)
        return 2;
    std::string program = autorun::ProgramOfExecValue(exec);
    if (program.empty() || program.size() >= static_cast<std::size_t>(kAutoRunPathSize))
        return 2;
    if (buffer)
        std::memcpy(buffer, program.c_str(), program.size() + 1);
    return 0;
}

int RegisterAutoRun()
{
    const std::string program = os::ExecutablePath();
    if (program.empty())
        return ERROR_FILE_NOT_FOUND;
    const std::string folder = EntryFolder();
    if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST)
        return StatusOf(errno);

    const std::string text =
        "[Desktop Entry]\nType=Application\nName=Korvax\nExec=" + autorun::ExecValueFor(program) + "\n";
    const std::string temp = folder + "/." + kEntryName + ".tmp";
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return StatusOf(errno);
    bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ok = ::fchmod(fd, 0644) == 0 && ok; // readable by every session whatever the umask
    int err = ok ? 0 : (errno ? errno : EIO);
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(temp.c_str(), autorun::EntryPath().c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return StatusOf(err);
    }
    return ERROR_SUCCESS;
}

int UnregisterAutoRun()
{
    if (::unlink(autorun::EntryPath().c_str()) != 0)
        return StatusOf(errno);
    return ERROR_SUCCESS;
}
