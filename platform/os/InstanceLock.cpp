// flock-based named mutex.
#include "platform/os/InstanceLock.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

struct MutexHandle
{
    int fd = -1;
};

namespace {
thread_local DWORD g_lastError = 0;
}

DWORD GetLastError() { return g_lastError; }
void SetLastError(DWORD error) { g_lastError = error; }

namespace os {
std::string LockFolder()
{
    const char* dir = std::getenv("XDG_RUNTIME_DIR");
    if (dir && *dir)
        return dir;
    return "/tmp";
}
} // namespace os

HANDLE CreateMutexA(void*, BOOL, const char* name)
{
    std::string path = os::LockFolder() + "/" + (name ? name : "") + ".lock";
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        SetLastError(errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    auto* h = new MutexHandle;
    h->fd = fd;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        SetLastError(ERROR_ALREADY_EXISTS); // another copy holds it; keep our handle open like Windows
    else
        SetLastError(ERROR_SUCCESS);
    return h;
}

void CloseHandle(HANDLE h)
{
    if (!h)
        return;
    if (h->fd >= 0)
        ::close(h->fd);
    delete h;
}
