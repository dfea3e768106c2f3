// Starts a start-up probe (bench/shown.cpp) and measures it from outside:
//   veldrix-bench-launch PROGRAM [ARGS...]
// prints one line
//   exec_to_main_ms <ms> exec_to_shown_ms <ms> maxrss_kib <KiB> cpu_ms <ms>
// where the times run from just before the fork to the stamps the probe
// prints, and the peak resident size and CPU time are those that wait4
// reports for the child. A probe that has not shown its window within 60 s is
// killed and the launch fails.
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace
{

long long monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

pid_t child = -1;

void onAlarm(int)
{
    if (child > 0)
        kill(child, SIGKILL);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    int fds[2];
    if (pipe(fds) != 0) {
        std::perror("pipe");
        return 1;
    }
    const long long start = monotonicNs();
    child = fork();
    if (child < 0) {
        std::perror("fork");
        return 1;
    }
    if (child == 0) {
        dup2(fds[1], STDOUT_FILENO);
        close(fds[0]);
        close(fds[1]);
        execv(argv[1], argv + 1);
        std::perror(argv[1]);
        _exit(127);
    }
    close(fds[1]);
    std::signal(SIGALRM, onAlarm);
    alarm(60);

    std::string out;
    char buffer[256];
    for (;;) {
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n > 0)
            out.append(buffer, static_cast<size_t>(n));
        else if (n == 0 || errno != EINTR)
            break;
    }
    close(fds[0]);

    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    alarm(0);

    long long mainNs = -1;
    long long shownNs = -1;
    if (const char *m = std::strstr(out.c_str(), "main "))
        mainNs = std::atoll(m + 5);
    if (const char *s = std::strstr(out.c_str(), "shown "))
        shownNs = std::atoll(s + 6);
    if (mainNs < 0 || shownNs < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s did not show its window (status %d)\n", argv[1], status);
        return 1;
    }
    const double cpuMs = usage.ru_utime.tv_sec * 1e3 + usage.ru_utime.tv_usec / 1e3 +
                         usage.ru_stime.tv_sec * 1e3 + usage.ru_stime.tv_usec / 1e3;
    std::printf("exec_to_main_ms %.2f exec_to_shown_ms %.2f maxrss_kib %ld cpu_ms %.1f\n",
                (mainNs - start) / 1e6, (shownNs - start) / 1e6, usage.ru_maxrss, cpuMs);
    return 0;
}
