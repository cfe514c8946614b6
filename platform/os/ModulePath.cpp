// Executable path and separator search.
#include "platform/os/ModulePath.h"

#include <climits>
#include <cstring>
#include <unistd.h>

namespace os {
namespace {
std::string g_override;
}

std::string ExecutablePath()
{
    if (!g_override.empty())
        return g_override;
    char buf[PATH_MAX + 1];
    ssize_t n = readlink("/proc/self/exe", buf, PATH_MAX);
    if (n <= 0)
        return {};
    buf[n] = '\0';
    return buf;
}

void OverrideExecutablePath(const std::string& path)
{
    g_override = path;
}

const char* FindLastSeparator(const char* path)
{
    if (!path)
        return nullptr;
    const char* last = nullptr;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(path);
    while (*p) {
        unsigned len = 1;
        if (*p >= 0xF0)
            len = 4;
        else if (*p >= 0xE0)
            len = 3;
        else if (*p >= 0xC0)
            len = 2;
        if (len == 1 && *p == static_cast<unsigned char>(kPathSeparator))
            last = reinterpret_cast<const char*>(p);
        // Skip the whole character, stopping at a truncated tail.
        for (unsigned i = 0; i < len && *p; ++i)
            ++p;
    }
    return last;
}

DWORD CopyPathToBuffer(const std::string& path, char* buffer, DWORD size)
{
    if (!buffer || size == 0)
        return 0;
    const std::size_t n = path.size() < size - 1 ? path.size() : size - 1;
    std::memcpy(buffer, path.data(), n);
    buffer[n] = '\0';
    return static_cast<DWORD>(n);
}

} // namespace os

DWORD GetModuleFileNameA(void*, char* buffer, DWORD size)
{
    return os::CopyPathToBuffer(os::ExecutablePath(), buffer, size);
}
