// Whole-process start-up: from spawning korvax (headless, on the simulated offset card) to its
// main window's first paint, over several runs; prints every run and the median.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

long long NowEpochMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

// One run; returns the milliseconds to first paint, or -1.
long long RunOnce(const std::string& korvax, const std::string& png)
{
    int pipeFd[2];
    if (::pipe(pipeFd) != 0)
        return -1;
    const long long start = NowEpochMs();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(pipeFd[1], STDERR_FILENO);
        ::close(pipeFd[0]);
        ::setenv("KORVAX_REPORT_FIRST_PAINT", "1", 1);
        ::setenv("KORVAX_SIM_SCENARIO", "offset", 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::execl(korvax.c_str(), korvax.c_str(), "--screenshot", png.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(pipeFd[1]);
    std::string err;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(pipeFd[0], buf, sizeof(buf))) > 0)
        err.append(buf, static_cast<std::size_t>(n));
    ::close(pipeFd[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    const char* key = "first-paint-epoch-ms=";
    const auto pos = err.find(key);
    if (pos == std::string::npos)
        return -1;
    return std::atoll(err.c_str() + pos + std::strlen(key)) - start;
}

} // namespace

int main(int argc, char** argv)
{
    std::string self = argv[0];
    std::string dir = self.substr(0, self.rfind('/'));
    std::string korvax = argc > 1 ? argv[1] : dir + "/../korvax";
    const int runs = argc > 2 ? std::atoi(argv[2]) : 9;
    char tmpl[] = "/tmp/korvax-bench-XXXXXX";
    const char* tmp = ::mkdtemp(tmpl);
    if (!tmp)
        return 1;
    ::setenv("XDG_RUNTIME_DIR", tmp, 1);
    const std::string png = std::string(tmp) + "/shot.png";

    std::vector<long long> times;
    for (int i = 0; i < runs; ++i) {
        const long long ms = RunOnce(korvax, png);
        std::printf("run %d: %lld ms\n", i + 1, ms);
        if (ms >= 0)
            times.push_back(ms);
    }
    ::unlink(png.c_str());
    ::rmdir(tmp);
    if (times.empty()) {
        std::printf("no run reported its first paint\n");
        return 1;
    }
    std::sort(times.begin(), times.end());
    std::printf("first paint, median of %zu runs: %lld ms (target: under 250 ms)\n", times.size(),
                times[times.size() / 2]);
    return 0;
}
