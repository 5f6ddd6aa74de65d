// Load on the address service, on loopback only, bounded in count and time. It starts the
// service itself and reports, for each kind of misbehaving client, the service's peak memory
// and the slowest answer to a normal request made meanwhile (one every 100 ms):
//   endless body      20 clients announce 16 KiB and then send without end, for 4 s
//   2000 at once      2,000 connections each send a normal request together
//   500 slow          500 clients send their request one byte every 200 ms
//   out of files      the service may hold 40 descriptors; 85 idle connections: its CPU
//                     time while they are open, and normal requests once they have closed
//   service_load SERVICE_PROGRAM
// Exits 1 when peak memory reaches 64 MiB, a normal request takes 50 ms or more, a request is
// not answered, or the service spins (more than 20 % of a core) while out of descriptors.
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const std::string kRequest = "POST /ip.php HTTP/1.1\r\nHost: load\r\nContent-Length: 0\r\n\r\n";

double millisSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Service {
    pid_t pid = -1;
    int port = 0;
};

// Starts the service on 127.0.0.1 with a free port, allowed `files` descriptors.
Service start(const char *program, rlim_t files) {
    int out[2];
    if (pipe(out) != 0)
        return {};
    const pid_t pid = fork();
    if (pid == 0) {
        const rlimit limit{files, files};
        setrlimit(RLIMIT_NOFILE, &limit);
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execl(program, program, "--listen", "127.0.0.1", "--port", "0", nullptr);
        _exit(127);
    }
    close(out[1]);
    std::string line;
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n')
        line += c;
    close(out[0]);
    const auto colon = line.rfind(':');
    if (colon == std::string::npos)
        return {pid, 0};
    return {pid, std::atoi(line.c_str() + colon + 1)};
}

void stop(const Service &s) {
    if (s.pid > 0) {
        kill(s.pid, SIGTERM);
        waitpid(s.pid, nullptr, 0);
    }
}

long statusKiB(pid_t pid, const char *field) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    long value = 0;
    while (in >> key) {
        if (key == field) {
            in >> value;
            return value;
        }
        in.ignore(1 << 20, '\n');
    }
    return 0;
}

double cpuSeconds(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string skip;
    for (int i = 0; i < 13; ++i)
        in >> skip;
    long utime = 0, stime = 0;
    in >> utime >> stime;
    return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}

int connectTo(int port, bool blocking) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | (blocking ? 0 : SOCK_NONBLOCK), 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(uint16_t(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0 && errno != EINPROGRESS) {
        close(fd);
        return -1;
    }
    return fd;
}

// A normal request; its time in milliseconds, or -1 when no 200 came within 3 s.
double probe(int port) {
    const auto start = Clock::now();
    const int fd = connectTo(port, true);
    if (fd < 0)
        return -1;
    timeval limit{3, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    std::string answer;
    if (write(fd, kRequest.data(), kRequest.size()) == ssize_t(kRequest.size())) {
        char buffer[512];
        ssize_t n;
        while ((n = read(fd, buffer, sizeof buffer)) > 0)
            answer.append(buffer, size_t(n));
    }
    close(fd);
    return answer.rfind("HTTP/1.1 200 ", 0) == 0 ? millisSince(start) : -1;
}

struct Result {
    double slowest = 0;
    int failed = 0;
};

// Runs `step` (the load, given each poll round) for `seconds`, probing every 100 ms.
template <typename Step> Result withProbes(int port, double seconds, Step &&step) {
    Result r;
    const auto start = Clock::now();
    auto nextProbe = start;
    while (millisSince(start) < seconds * 1000) {
        step();
        if (Clock::now() >= nextProbe) {
            const double t = probe(port);
            if (t < 0)
                ++r.failed;
            else if (t > r.slowest)
                r.slowest = t;
            nextProbe += std::chrono::milliseconds(100);
        }
    }
    return r;
}

bool report(const char *name, const Service &s, const Result &r, const std::string &extra = {},
            bool alsoOk = true) {
    const long peak = statusKiB(s.pid, "VmHWM:");
    const bool ok = peak < 64 * 1024 && r.slowest < 50 && r.failed == 0 && alsoOk;
    std::printf("%-14s peak %6.1f MiB  slowest normal request %6.2f ms  unanswered %d %s %s\n",
                name, peak / 1024.0, r.slowest, r.failed, extra.c_str(), ok ? "ok" : "FAIL");
    return ok;
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc != 2) {
        std::fputs("usage: service_load SERVICE_PROGRAM\n", stderr);
        return 2;
    }
    signal(SIGPIPE, SIG_IGN);
    rlimit own{8192, 8192};
    setrlimit(RLIMIT_NOFILE, &own);
    bool ok = true;

    { // endless body
        const Service s = start(argv[1], 8192);
        std::vector<int> clients;
        for (int i = 0; i < 20; ++i)
            clients.push_back(connectTo(s.port, false));
        const std::string head = "POST /ip.php HTTP/1.1\r\nContent-Length: 16384\r\n\r\n";
        const std::string chunk(65536, 'x');
        std::vector<bool> started(clients.size(), false);
        const Result r = withProbes(s.port, 4, [&] {
            for (std::size_t i = 0; i < clients.size(); ++i) {
                if (clients[i] < 0)
                    continue;
                const std::string &data = started[i] ? chunk : head;
                if (write(clients[i], data.data(), data.size()) > 0)
                    started[i] = true;
                else if (errno != EAGAIN) { // cut off: come back
                    close(clients[i]);
                    clients[i] = connectTo(s.port, false);
                    started[i] = false;
                }
            }
        });
        ok = report("endless body", s, r) && ok;
        for (const int fd : clients)
            close(fd);
        stop(s);
    }

    { // 2000 at once
        const Service s = start(argv[1], 8192);
        std::vector<pollfd> fds;
        for (int i = 0; i < 2000; ++i)
            fds.push_back({connectTo(s.port, false), POLLOUT, 0});
        std::vector<std::string> answers(fds.size());
        std::vector<bool> sent(fds.size(), false);
        int open = int(fds.size());
        const Result r = withProbes(s.port, 3, [&] {
            if (open == 0)
                return;
            poll(fds.data(), fds.size(), 10);
            for (std::size_t i = 0; i < fds.size(); ++i) {
                if (fds[i].fd < 0 || !fds[i].revents)
                    continue;
                if (!sent[i] && (fds[i].revents & POLLOUT)) {
                    sent[i] = write(fds[i].fd, kRequest.data(), kRequest.size()) > 0;
                    fds[i].events = POLLIN;
                    continue;
                }
                char buffer[512];
                const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
                if (n > 0) {
                    answers[i].append(buffer, size_t(n));
                } else if (n == 0 || errno != EAGAIN) {
                    close(fds[i].fd);
                    fds[i].fd = -1;
                    --open;
                }
            }
        });
        int answered = 0;
        for (const std::string &a : answers)
            answered += a.rfind("HTTP/1.1 200 ", 0) == 0 ? 1 : 0;
        const std::string extra = "(" + std::to_string(answered) + " of 2000 answered)";
        ok = report("2000 at once", s, r, extra, answered == 2000) && ok;
        for (const pollfd &p : fds)
            if (p.fd >= 0)
                close(p.fd);
        stop(s);
    }

    { // 500 slow
        const Service s = start(argv[1], 8192);
        std::vector<int> clients;
        for (int i = 0; i < 500; ++i)
            clients.push_back(connectTo(s.port, false));
        std::size_t sentBytes = 0;
        auto next = Clock::now();
        const Result r = withProbes(s.port, 3, [&] {
            if (Clock::now() < next)
                return;
            next += std::chrono::milliseconds(200);
            for (const int fd : clients)
                (void)!write(fd, kRequest.data() + sentBytes % kRequest.size(), 1);
            ++sentBytes;
        });
        ok = report("500 slow", s, r) && ok;
        for (const int fd : clients)
            close(fd);
        stop(s);
    }

    { // out of files
        const Service s = start(argv[1], 40);
        std::vector<int> idle;
        for (int i = 0; i < 85; ++i)
            idle.push_back(connectTo(s.port, false));
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        const double cpuBefore = cpuSeconds(s.pid);
        std::this_thread::sleep_for(std::chrono::seconds(2));
        const double busy = (cpuSeconds(s.pid) - cpuBefore) / 2 * 100;
        // The idle clients go away and the descriptors come back.
        for (int &fd : idle) {
            close(fd);
            fd = -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        Result r;
        for (int i = 0; i < 5; ++i) {
            const double t = probe(s.port);
            r.failed += t < 0 ? 1 : 0;
            r.slowest = std::max(r.slowest, t);
        }
        char extra[64];
        std::snprintf(extra, sizeof extra, "(CPU %.1f %% while out of files)", busy);
        ok = report("out of files", s, r, extra, busy < 20) && ok;
        stop(s);
    }
    return ok ? 0 : 1;
}
