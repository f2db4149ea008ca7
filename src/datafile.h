// The game's data files: opening them safely (only regular files, never waiting on a pipe,
// never reading more of a file than a valid one of its kind can hold), replacing one whole,
// and the lock that copies of the game share while they replace one.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <cstdio>

// Every operation here that can fail gives the reason as its result: 0 when it did not fail,
// else the errno value of the call that failed, taken at once, or DATAFILE_NOT_REGULAR. So
// nothing done afterwards (closing a file, printing a line) can change what is reported.
constexpr int DATAFILE_NOT_REGULAR = -1;
// A reason in words, as messages print it.
const char* datafile_reason(int error);

// What a reader gives one word of a file (a score line is read as one), the blanks before it
// included: a word keeps at most 31 characters, and as much again is room for blanks. Readers
// stop after as many of these as a valid file has words.
constexpr size_t DATAFILE_WORD_BYTES = 64;

// Opens `path` for reading into *fd when it is a regular file, without blocking on a pipe;
// its status (length, permission bits) goes to *info. ENOENT: there is no file.
int datafile_open_fd(const char* path, int* fd, struct stat* info);
// The first `limit` bytes of the regular file `path` (at least 1) as the stream *file, which
// ends there; the caller closes it.
int datafile_open(const char* path, size_t limit, FILE** file);

// Writes a file's whole contents to `file`: 0, or the errno value of the write that failed.
using t_datafile_writer = int (*)(FILE* file);
// How replacing a file ended: `error` as above; `unreadable` when the call that failed was
// reading the file there, which is never replaced then.
struct t_datafile_replaced {
    int error;
    bool unreadable;
};
// Names a replacement tries for its temporary file before giving up.
constexpr int DATAFILE_TEMP_ATTEMPTS = 16;
// Replaces `path` whole, so that a crash or a full disk midway never loses the old file: what
// `write` writes goes to a temporary file of this process's own beside it, "PATH.PID.N.tmp",
// created exclusively (never through a link, stepping past names that exist), synced, renamed
// over `path`, and the folder synced. The new file keeps the permission bits of the old one; a
// first one gets 0666 less the umask. On failure the temporary file is gone and `path` as it was.
t_datafile_replaced datafile_replace(const char* path, t_datafile_writer write);

// How long datafile_lock waits for another holder of the lock.
constexpr int DATAFILE_LOCK_WAIT_MS = 1000;
// Takes the lock that copies of the game hold on `path` while they read and replace it, waiting
// up to DATAFILE_LOCK_WAIT_MS for another holder: 0 with *lock held; else *lock is -1 and the
// reason is EWOULDBLOCK when another holder kept it all that time, or why no lock can be had
// here (a read-only folder, a file system without locks).
int datafile_lock(const char* path, int* lock);
// Releases a lock datafile_lock took; -1, no lock, is left alone. Every datafile_lock, held or
// not, is paired with one datafile_unlock: the platform's storage waits and stores between them.
void datafile_unlock(int lock);
