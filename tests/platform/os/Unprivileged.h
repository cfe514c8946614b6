// Runs a piece of a test in a child process without root's right to ignore file modes, so
// "no write rights" can be tested the same way as root (CI) and as an ordinary user.
#pragma once

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace test {

// Returns the child's result (0 to 255), or -1 when it could not run or did not exit normally.
// The body must not use GoogleTest assertions: it runs in another process.
inline int RunUnprivileged(const std::function<int()>& body)
{
    pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(254);
        ::_exit(body() & 0xFF);
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

} // namespace test
