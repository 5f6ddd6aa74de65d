// A disk that flushes slowly, for trying the tests on one: loaded before the C library
// (LD_PRELOAD), it makes every fsync and fdatasync of a file on a disk wait ZELVI_SLOW_SYNC_MS
// milliseconds (40 unless set) before it flushes; a file on memory (tmpfs) flushes at once, as
// it does. scripts/test-under-load.sh loads it when that variable is set.
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>
#include <linux/magic.h>
#include <sys/vfs.h>

namespace {

void waitAsTheDisk(int fd) {
    struct statfs fs {};
    if (fstatfs(fd, &fs) == 0 && fs.f_type == TMPFS_MAGIC)
        return;
    const char *set = std::getenv("ZELVI_SLOW_SYNC_MS");
    const long ms = set ? std::atol(set) : 40;
    if (ms <= 0)
        return;
    timespec pause{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&pause, &pause) != 0) {
    }
}

template <typename Call> Call next(const char *name) {
    return reinterpret_cast<Call>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" int fsync(int fd) {
    static const auto real = next<int (*)(int)>("fsync");
    waitAsTheDisk(fd);
    return real(fd);
}

extern "C" int fdatasync(int fd) {
    static const auto real = next<int (*)(int)>("fdatasync");
    waitAsTheDisk(fd);
    return real(fd);
}
