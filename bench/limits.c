// SPDX-License-Identifier: GPL-3.0-or-later
// What the system calls alone cost: the limit the program is measured against.
//   limits walk DIR           getdents64 and statx (size, birth, modification) at each folder's
//                             handle, a folder's files before its sub-folders, depth first
//   limits rename DIR PREFIX  every file of the tree (listed first, untimed) renamed with
//                             renameat2(RENAME_NOREPLACE) to PREFIX + its name, then statx'ed
//   limits names N RULE       the string work of a rule over N names: numbering, delete, insert,
//                             replace, case, namelist
// Prints the seconds taken and a count, tab-separated.
#define _GNU_SOURCE
#include <ctype.h>
#include <dirent.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

struct linux_dirent64 {
    uint64_t d_ino;
    int64_t d_off;
    unsigned short d_reclen;
    unsigned char d_type;
    char d_name[];
};

static double now(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

static long files;
static char** names;     // rename: the names to rename
static int* folderOf;    // rename: the folder of each name
static int* folderFds;   // rename: a handle on each folder
static long folders;
static long capacity, folderCapacity;

static void remember(int dirfd, const char* name)
{
    if (files == capacity) {
        capacity = capacity ? capacity * 2 : 65536;
        names = realloc(names, (size_t)capacity * sizeof *names);
        folderOf = realloc(folderOf, (size_t)capacity * sizeof *folderOf);
    }
    if (folders == 0 || folderFds[folders - 1] != dirfd) {
        if (folders == folderCapacity) {
            folderCapacity = folderCapacity ? folderCapacity * 2 : 1024;
            folderFds = realloc(folderFds, (size_t)folderCapacity * sizeof *folderFds);
        }
        folderFds[folders++] = dirfd;
    }
    names[files] = strdup(name);
    folderOf[files] = (int)folders - 1;
    ++files;
}

// Lists the folder open at fd: stats its files (or remembers them), then walks its sub-folders.
static void walk(int fd, int keep)
{
    static char buffer[1 << 17];
    char** subs = NULL;
    long nsubs = 0, subcap = 0;
    for (;;) {
        long n = syscall(SYS_getdents64, fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        for (long off = 0; off < n;) {
            struct linux_dirent64* e = (struct linux_dirent64*)(buffer + off);
            off += e->d_reclen;
            const char* name = e->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                continue;
            int isDir = e->d_type == DT_DIR;
            if (e->d_type == DT_UNKNOWN) {
                struct statx sx;
                if (statx(fd, name, AT_SYMLINK_NOFOLLOW, STATX_TYPE, &sx) != 0)
                    continue;
                isDir = S_ISDIR(sx.stx_mode);
            }
            if (isDir) {
                if (nsubs == subcap) {
                    subcap = subcap ? subcap * 2 : 16;
                    subs = realloc(subs, (size_t)subcap * sizeof *subs);
                }
                subs[nsubs++] = strdup(name);
            } else if (keep) {
                remember(fd, name);
            } else {
                struct statx sx;
                statx(fd, name, AT_STATX_SYNC_AS_STAT, STATX_SIZE | STATX_MTIME | STATX_BTIME, &sx);
                ++files;
            }
        }
    }
    for (long i = 0; i < nsubs; ++i) {
        const int child = openat(fd, subs[i], O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (child >= 0) {
            walk(child, keep);
            if (!keep)
                close(child);
        }
        free(subs[i]);
    }
    free(subs);
}

static double names_rule(long n, const char* rule)
{
    char out[512];
    unsigned long sink = 0;
    const double start = now();
    for (long i = 0; i < n; ++i) {
        char name[64];
        const int len = snprintf(name, sizeof name, "DSC_%ld.JPG", i);
        const char* dot = strrchr(name, '.');
        const int main = (int)(dot - name);
        int m = 0;
        if (!strcmp(rule, "numbering")) {
            m = snprintf(out, sizeof out, "IMG_%07ld%s", i + 1, dot);
        } else if (!strcmp(rule, "delete")) { // the first character goes, the rest is lowered
            for (int k = 1; k < main; ++k)
                out[m++] = (char)tolower((unsigned char)name[k]);
            m += snprintf(out + m, sizeof out - (size_t)m, "%s", dot);
        } else if (!strcmp(rule, "insert")) { // "trip-" at the front, the name lowered
            m = snprintf(out, sizeof out, "trip-");
            for (int k = 0; k < main; ++k)
                out[m++] = (char)tolower((unsigned char)name[k]);
            m += snprintf(out + m, sizeof out - (size_t)m, "%s", dot);
        } else if (!strcmp(rule, "replace")) { // "DSC" by "IMG"
            for (int k = 0; k < main;) {
                if (k + 3 <= main && !memcmp(name + k, "DSC", 3)) {
                    memcpy(out + m, "IMG", 3);
                    m += 3;
                    k += 3;
                } else {
                    out[m++] = name[k++];
                }
            }
            m += snprintf(out + m, sizeof out - (size_t)m, "%s", dot);
        } else if (!strcmp(rule, "case")) { // upper name, lower extension
            for (int k = 0; k < len; ++k)
                out[m++] = (char)(k < main ? toupper((unsigned char)name[k]) : tolower((unsigned char)name[k]));
        } else { // namelist: the next name of a list, with the file's extension
            m = snprintf(out, sizeof out, "name%ld%s", i, dot);
        }
        sink += (unsigned char)out[m - 1];
    }
    const double seconds = now() - start;
    if (sink == 1)
        puts("");
    return seconds;
}

int main(int argc, char** argv)
{
    if (argc >= 3 && !strcmp(argv[1], "walk")) {
        const double start = now();
        const int fd = open(argv[2], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return 1;
        walk(fd, 0);
        printf("%.6f\t%ld\n", now() - start, files);
        return 0;
    }
    if (argc >= 4 && !strcmp(argv[1], "rename")) {
        const int fd = open(argv[2], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return 1;
        walk(fd, 1);
        const size_t prefix = strlen(argv[3]);
        char to[512];
        long failed = 0;
        const double start = now();
        for (long i = 0; i < files; ++i) {
            const int dirfd = folderFds[folderOf[i]];
            memcpy(to, argv[3], prefix);
            strcpy(to + prefix, names[i]);
            struct statx sx;
            if (renameat2(dirfd, names[i], dirfd, to, RENAME_NOREPLACE) != 0 ||
                statx(dirfd, to, AT_SYMLINK_NOFOLLOW, STATX_TYPE, &sx) != 0)
                ++failed;
        }
        printf("%.6f\t%ld\n", now() - start, files - failed);
        return 0;
    }
    if (argc >= 4 && !strcmp(argv[1], "names")) {
        const long n = atol(argv[2]);
        printf("%.6f\t%ld\n", names_rule(n, argv[3]), n);
        return 0;
    }
    fprintf(stderr, "usage: limits walk DIR | rename DIR PREFIX | names N RULE\n");
    return 2;
}
