// Starts a program and measures the time from its start until it prints its "shown after"
// line (the moment its window has first been painted), and its peak memory.
//   startup_timer PROGRAM [ARGS...]
// Prints "<microseconds> <peak KiB>"; exits 1 when the program never reports or fails.
// No shell, no Qt: the time measured is the program's own.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

long long nowMicroseconds() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000 + t.tv_nsec / 1000;
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc < 2) {
        std::fputs("usage: startup_timer PROGRAM [ARGS...]\n", stderr);
        return 2;
    }
    int out[2];
    if (pipe(out) != 0) {
        std::perror("pipe");
        return 2;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);

    const long long start = nowMicroseconds();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[1], &actions, nullptr, argv + 1, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        std::fprintf(stderr, "%s: %s\n", argv[1], std::strerror(spawned));
        return 2;
    }

    // The moment the report arrives is the moment the program wrote it.
    long long shown = -1;
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        text.append(buffer, static_cast<size_t>(n));
        if (shown < 0 && text.find("shown after") != std::string::npos)
            shown = nowMicroseconds();
    }
    close(out[0]);

    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    if (shown < 0) {
        std::fprintf(stderr, "%s did not report its window\n", argv[1]);
        return 1;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s did not end normally (wait status %d)\n", argv[1], status);
        return 1;
    }
    std::printf("%lld %ld\n", shown - start, usage.ru_maxrss);
    return 0;
}
