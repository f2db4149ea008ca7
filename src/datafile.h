// Opening the game's data files safely: only regular files, never waiting on a pipe, and
// never reading more of a file than a valid one of its kind can hold.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <cstdio>

// Opens `path` for reading when it is a regular file, without blocking on a pipe; its status
// (length, permission bits) goes to *info. -1 when it cannot: errno is ENOENT for a file
// that is not there and EINVAL for one that is not a regular file, and *why (when given)
// says why in words.
int datafile_open_fd(const char* path, struct stat* info, const char** why);
// The first `limit` bytes of the regular file `path` (at least 1), as a stream that ends
// there; the caller closes it. Null as datafile_open_fd, or when the file cannot be read.
FILE* datafile_open(const char* path, size_t limit, const char** why);
