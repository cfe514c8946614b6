// Process handles over /proc.
#include "platform/os/ProcessInfo.h"

#include "platform/os/ModulePath.h"

#include <climits>
#include <string>
#include <unistd.h>

namespace {
struct ProcessObject : os::KernelObject
{
    explicit ProcessObject(DWORD p) : pid(p) {}
    DWORD pid;
};
} // namespace

HANDLE OpenProcess(DWORD, BOOL, DWORD processId)
{
    if (processId == 0 || ::access(("/proc/" + std::to_string(processId)).c_str(), F_OK) != 0) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    return static_cast<os::KernelObject*>(new ProcessObject(processId));
}

DWORD GetModuleFileNameExA(HANDLE process, void*, char* buffer, DWORD size)
{
    auto* p = static_cast<ProcessObject*>(static_cast<os::KernelObject*>(process));
    if (!p || !buffer || size == 0)
        return 0;
    std::string path;
    if (p->pid == static_cast<DWORD>(::getpid())) {
        path = os::ExecutablePath(); // honours a test's override
    } else {
        char buf[PATH_MAX + 1];
        ssize_t n = ::readlink(("/proc/" + std::to_string(p->pid) + "/exe").c_str(), buf, PATH_MAX);
        if (n > 0)
            path.assign(buf, static_cast<std::size_t>(n));
    }
    return os::CopyPathToBuffer(path, buffer, size);
}
