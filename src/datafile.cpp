// Data files: regular files only, opened without blocking and read up to a bound; replaced
// whole through a synced temporary copy, under a lock shared by copies of the game.
#include "datafile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "storage.h"

namespace {

constexpr size_t PATH_SIZE = 4096;
constexpr int LOCK_POLL_MS = 20;

// Copies at most `limit` bytes of `fd` into `copy`; 0, or the errno value of the failed call.
int copy_bounded(int fd, size_t limit, FILE* copy) {
    char chunk[4096];
    while (limit > 0) {
        const ssize_t got = read(fd, chunk, limit < sizeof chunk ? limit : sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return errno;
        if (got == 0) return 0;
        if (fwrite(chunk, 1, static_cast<size_t>(got), copy) != static_cast<size_t>(got))
            return errno;
        limit -= static_cast<size_t>(got);
    }
    return 0;
}

// The permission bits a replacement gets: those of the file there, or, with none there, what a
// new file gets under the umask. 0, or why the file there cannot be read.
int kept_mode(const char* path, mode_t* mode) {
    int fd = -1;
    struct stat info {};
    const int error = datafile_open_fd(path, &fd, &info);
    if (error == ENOENT) {
        const mode_t mask = umask(0);
        umask(mask);
        *mode = 0666 & ~mask;
        return 0;
    }
    if (error != 0) return error;
    close(fd);
    *mode = info.st_mode & 07777;
    return 0;
}

// Creates this process's own temporary file beside `path` into *fd, its name in `temp`.
// O_EXCL refuses any name that exists, a link too, so another copy's file or a planted link
// is never written through; the pid keeps copies of the game apart and the counter steps past
// files a crashed save left.
int create_temp(const char* path, char* temp, size_t size, int* fd) {
    int error = EEXIST;
    for (int attempt = 0; attempt < DATAFILE_TEMP_ATTEMPTS && error == EEXIST; attempt++) {
        const long pid = getpid();
        if (snprintf(temp, size, "%s.%ld.%d.tmp", path, pid, attempt) >= static_cast<int>(size))
            return ENAMETOOLONG;
        *fd = open(temp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        error = *fd < 0 ? errno : 0;
    }
    return error;
}

// Gives `fd` the permission bits `mode` and what `write` writes, forced to disk, and closes it.
int fill_temp(int fd, mode_t mode, t_datafile_writer write) {
    FILE* file = fchmod(fd, mode) == 0 ? fdopen(fd, "w") : nullptr;
    if (file == nullptr) {
        const int error = errno;
        close(fd);
        return error;
    }
    int error = write(file);
    if (error == 0 && fflush(file) != 0) error = errno;
    if (error == 0 && fsync(fileno(file)) != 0) error = errno;
    if (fclose(file) != 0 && error == 0) error = errno;
    return error;
}

// Makes the rename itself durable; a failure here cannot undo it, so it is not reported.
void sync_folder(const char* path) {
    char folder[PATH_SIZE] = ".";
    const char* slash = strrchr(path, '/');
    if (slash != nullptr) {
        const size_t len = slash == path ? 1 : static_cast<size_t>(slash - path);
        if (len >= sizeof folder) return;
        memcpy(folder, path, len);
        folder[len] = '\0';
    }
    const int fd = open(folder, O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

// Polls for the lock on `fd` until DATAFILE_LOCK_WAIT_MS have passed, so that a holder that
// never lets go (a copy stopped while saving) cannot freeze this one.
int wait_for_lock(int fd) {
    for (int waited = 0;; waited += LOCK_POLL_MS) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) return 0;
        const int error = errno;
        if (error != EWOULDBLOCK || waited >= DATAFILE_LOCK_WAIT_MS) return error;
        std::this_thread::sleep_for(std::chrono::milliseconds(LOCK_POLL_MS));
    }
}

}  // namespace

const char* datafile_reason(int error) {
    return error == DATAFILE_NOT_REGULAR ? "not a regular file" : strerror(error);
}

int datafile_open_fd(const char* path, int* fd, struct stat* info) {
    // O_NONBLOCK: opening a pipe with no writer returns at once instead of waiting for one.
    *fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (*fd < 0) return errno;
    const int error = fstat(*fd, info) != 0     ? errno
                      : !S_ISREG(info->st_mode) ? DATAFILE_NOT_REGULAR
                                                : 0;
    if (error != 0) {
        close(*fd);
        *fd = -1;
    }
    return error;
}

int datafile_open(const char* path, size_t limit, FILE** file) {
    *file = nullptr;
    int fd = -1;
    struct stat info {};
    int error = datafile_open_fd(path, &fd, &info);
    if (error != 0) return error;
    // A stream over a buffer of its own, freed when the caller closes it; one byte more
    // than the limit, since a full buffer's last byte is overwritten by the terminating NUL.
    FILE* copy = fmemopen(nullptr, limit + 1, "w+");
    error = copy == nullptr ? errno : copy_bounded(fd, limit, copy);
    close(fd);
    if (error != 0) {
        if (copy != nullptr) fclose(copy);
        return error;
    }
    rewind(copy);
    *file = copy;
    return 0;
}

t_datafile_replaced datafile_replace(const char* path, t_datafile_writer write) {
    mode_t mode = 0;
    const int unreadable = kept_mode(path, &mode);
    if (unreadable != 0) return {unreadable, true};
    char temp[PATH_SIZE];
    int fd = -1;
    int error = create_temp(path, temp, sizeof temp, &fd);
    if (error != 0) return {error, false};
    error = fill_temp(fd, mode, write);
    if (error == 0 && rename(temp, path) != 0) error = errno;
    if (error != 0) {
        unlink(temp);
        return {error, false};
    }
    sync_folder(path);
    return {0, false};
}

// The lock is an flock on "PATH.lock" beside the file. The file itself cannot carry it, since
// each save replaces it and a copy opening the new file would not see a lock held on the old
// one. flock rather than fcntl: an fcntl lock would vanish when any descriptor of the file in
// this process closes. O_NONBLOCK: a pipe planted at the name cannot hold the save up.
int datafile_lock(const char* path, int* lock) {
    *lock = -1;
    storage_begin_replace();
    char name[PATH_SIZE];
    if (snprintf(name, sizeof name, "%s.lock", path) >= static_cast<int>(sizeof name))
        return ENAMETOOLONG;
    const int fd = open(name, O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return errno;
    const int error = wait_for_lock(fd);
    if (error != 0) {
        close(fd);
        return error;
    }
    *lock = fd;
    return 0;
}

void datafile_unlock(int lock) {
    if (lock >= 0) close(lock);
    storage_end_replace();
}
