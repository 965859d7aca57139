/* Preloaded into a program (LD_PRELOAD), makes one folder behave like a full
 * or a read-only filesystem for that program alone, whoever runs it (root's
 * permission checks do not matter here, as on a real read-only mount):
 *
 *   GRIDSMITH_FAULT_DIR       the folder, an absolute path
 *   GRIDSMITH_FAULT_SPACE     bytes the folder's files may still grow by, in
 *                             all: a write beyond them writes what fits and
 *                             then fails with ENOSPC
 *   GRIDSMITH_FAULT_READONLY  when set, opening a file there for writing,
 *                             renaming into or out of it and removing from
 *                             it fail with EROFS
 *
 * It sees the calls a program makes through the C library's exported
 * functions (open, write, rename, unlink), not stdio's internal writes. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

#define MAX_FDS 4096

static unsigned char watched[MAX_FDS]; /* file descriptors open for writing in the folder */
static long long space = -1;           /* what is left; -1 before the first look */

static const char* Folder(void) { return getenv("GRIDSMITH_FAULT_DIR"); }
static int ReadOnly(void) { return getenv("GRIDSMITH_FAULT_READONLY") != NULL; }

static long long Space(void) {
    if (space < 0) {
        const char* text = getenv("GRIDSMITH_FAULT_SPACE");
        space = text ? atoll(text) : LLONG_MAX;
    }
    return space;
}

/* Whether `path` (relative to `dirfd` or the working folder) lies in the folder. */
static int InFolder(int dirfd, const char* path) {
    const char* folder = Folder();
    char absolute[PATH_MAX * 2];
    if (!folder || !path) return 0;
    if (path[0] == '/') {
        strncpy(absolute, path, sizeof absolute - 1);
        absolute[sizeof absolute - 1] = 0;
    } else {
        char base[PATH_MAX], link[64];
        ssize_t length;
        if (dirfd == AT_FDCWD) {
            if (!getcwd(base, sizeof base)) return 0;
            length = (ssize_t)strlen(base);
        } else {
            snprintf(link, sizeof link, "/proc/self/fd/%d", dirfd);
            length = readlink(link, base, sizeof base - 1);
            if (length < 0) return 0;
        }
        base[length] = 0;
        snprintf(absolute, sizeof absolute, "%s/%s", base, path);
    }
    const size_t n = strlen(folder);
    return strncmp(absolute, folder, n) == 0 && (absolute[n] == '/' || absolute[n] == 0);
}

static int Writes(int flags) { return (flags & O_ACCMODE) != O_RDONLY || (flags & O_CREAT); }

static int Opened(int fd, int dirfd, const char* path, int flags) {
    if (fd >= 0 && fd < MAX_FDS) watched[fd] = Writes(flags) && InFolder(dirfd, path);
    return fd;
}

typedef int (*OpenAtCall)(int, const char*, int, ...);

static int OpenAt(const char* name, int dirfd, const char* path, int flags, mode_t mode) {
    if (ReadOnly() && Writes(flags) && InFolder(dirfd, path)) {
        errno = EROFS;
        return -1;
    }
    OpenAtCall real = (OpenAtCall)dlsym(RTLD_NEXT, name);
    return Opened(real(dirfd, path, flags, mode), dirfd, path, flags);
}

static mode_t ModeArgument(int flags, va_list arguments) {
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(arguments, mode_t) : 0;
}

#define OPEN_AT(NAME)                                                    \
    int NAME(int dirfd, const char* path, int flags, ...) {              \
        va_list arguments;                                               \
        va_start(arguments, flags);                                      \
        const mode_t mode = ModeArgument(flags, arguments);              \
        va_end(arguments);                                               \
        return OpenAt(#NAME, dirfd, path, flags, mode);                  \
    }
#define OPEN(NAME, AT)                                                   \
    int NAME(const char* path, int flags, ...) {                         \
        va_list arguments;                                               \
        va_start(arguments, flags);                                      \
        const mode_t mode = ModeArgument(flags, arguments);              \
        va_end(arguments);                                               \
        return OpenAt(#AT, AT_FDCWD, path, flags, mode);                 \
    }
OPEN_AT(openat)
OPEN_AT(openat64)
OPEN(open, openat)
OPEN(open64, openat64)

ssize_t write(int fd, const void* data, size_t size) {
    static ssize_t (*real)(int, const void*, size_t);
    if (!real) real = (ssize_t(*)(int, const void*, size_t))dlsym(RTLD_NEXT, "write");
    if (fd >= 0 && fd < MAX_FDS && watched[fd]) {
        if (Space() == 0 && size > 0) {
            errno = ENOSPC;
            return -1;
        }
        if ((long long)size > Space()) size = (size_t)Space();
        const ssize_t written = real(fd, data, size);
        if (written > 0) space -= written;
        return written;
    }
    return real(fd, data, size);
}

int close(int fd) {
    static int (*real)(int);
    if (!real) real = (int (*)(int))dlsym(RTLD_NEXT, "close");
    if (fd >= 0 && fd < MAX_FDS) watched[fd] = 0;
    return real(fd);
}

int rename(const char* from, const char* to) {
    static int (*real)(const char*, const char*);
    if (!real) real = (int (*)(const char*, const char*))dlsym(RTLD_NEXT, "rename");
    if (ReadOnly() && (InFolder(AT_FDCWD, from) || InFolder(AT_FDCWD, to))) {
        errno = EROFS;
        return -1;
    }
    return real(from, to);
}

int unlink(const char* path) {
    static int (*real)(const char*);
    if (!real) real = (int (*)(const char*))dlsym(RTLD_NEXT, "unlink");
    if (ReadOnly() && InFolder(AT_FDCWD, path)) {
        errno = EROFS;
        return -1;
    }
    return real(path);
}
