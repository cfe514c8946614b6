// flock-based named mutex.
#include "platform/os/InstanceLock.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
struct MutexObject : os::KernelObject
{
    explicit MutexObject(int f) : fd(f) {}
    ~MutexObject() override { ::close(fd); }
    int fd;
};
} // namespace

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
    auto* mutex = new MutexObject(fd);
    // A named mutex exists while any copy holds a handle to it. Every holder keeps a shared lock;
    // only the first copy can take the lock exclusively, and it then shares it too, so a copy
    // started after the first has ended still finds the marker of the second.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        ::flock(fd, LOCK_SH);
        SetLastError(ERROR_SUCCESS);
    } else {
        ::flock(fd, LOCK_SH | LOCK_NB); // held by another copy: the handle is valid all the same
        SetLastError(ERROR_ALREADY_EXISTS);
    }
    return static_cast<os::KernelObject*>(mutex);
}
