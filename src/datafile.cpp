// Data files: regular files only, opened without blocking and read up to a bound.
#include "datafile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Sets *why (when asked for) and gives the failure's result.
template <typename T>
T fail(T result, const char** why, const char* reason) {
    if (why != nullptr) *why = reason;
    return result;
}

// Copies at most `limit` bytes of `fd` into `copy`; false (errno set) on a read error.
bool copy_bounded(int fd, size_t limit, FILE* copy) {
    char chunk[4096];
    while (limit > 0) {
        const ssize_t got = read(fd, chunk, limit < sizeof chunk ? limit : sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        if (fwrite(chunk, 1, static_cast<size_t>(got), copy) != static_cast<size_t>(got))
            return false;
        limit -= static_cast<size_t>(got);
    }
    return true;
}

}  // namespace

int datafile_open_fd(const char* path, struct stat* info, const char** why) {
    // O_NONBLOCK: opening a pipe with no writer returns at once instead of waiting for one.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return fail(-1, why, strerror(errno));
    const bool found = fstat(fd, info) == 0;
    if (!found || !S_ISREG(info->st_mode)) {
        const int error = found ? EINVAL : errno;
        close(fd);
        errno = error;
        return fail(-1, why, found ? "not a regular file" : strerror(error));
    }
    return fd;
}

FILE* datafile_open(const char* path, size_t limit, const char** why) {
    struct stat info {};
    const int fd = datafile_open_fd(path, &info, why);
    if (fd < 0) return nullptr;
    // A stream over a buffer of its own, freed when the caller closes it; one byte more
    // than the limit, since a full buffer's last byte is overwritten by the terminating NUL.
    FILE* copy = fmemopen(nullptr, limit + 1, "w+");
    const bool copied = copy != nullptr && copy_bounded(fd, limit, copy);
    const int error = errno;
    close(fd);
    if (!copied) {
        if (copy != nullptr) fclose(copy);
        errno = error;
        return fail<FILE*>(nullptr, why, strerror(error));
    }
    rewind(copy);
    return copy;
}
