#include "records/storage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

bool storageFolder(char* buffer, int size) {
    const char* data = getenv("XDG_DATA_HOME");
    int n;
    // The base directory rules say a relative XDG_DATA_HOME is to be ignored.
    if (data && data[0] == '/') {
        n = snprintf(buffer, (size_t)size, "%s/trailerdash", data);
    } else {
        const char* home = getenv("HOME");
        if (!home || home[0] != '/') return false;
        n = snprintf(buffer, (size_t)size, "%s/.local/share/trailerdash", home);
    }
    return n > 0 && n < size;
}

bool makeFolders(const char* path) {
    char partial[storagePathSize];
    size_t length = strlen(path);
    if (length == 0 || length >= sizeof partial) return false;
    memcpy(partial, path, length + 1);
    // Each parent in turn; one that exists already is no failure.
    for (size_t i = 1; i <= length; i++) {
        if (partial[i] != '/' && partial[i] != '\0') continue;
        char kept = partial[i];
        partial[i] = '\0';
        if (mkdir(partial, 0755) != 0 && errno != EEXIST) return false;
        partial[i] = kept;
    }
    struct stat info;
    return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

bool writeTemporaryBeside(const char* path, const void* data, size_t size, char* tempPath, int tempSize) {
    // In the same folder, so that the rename cannot cross file systems.
    int n = snprintf(tempPath, (size_t)tempSize, "%s.XXXXXX", path);
    if (n <= 0 || n >= tempSize) return false;
    int fd = mkstemp(tempPath);
    if (fd < 0) return false;
    FILE* f = fdopen(fd, "wb");
    if (!f) {
        close(fd);
        unlink(tempPath);
        return false;
    }
    bool ok = size == 0 || fwrite(data, 1, size, f) == size;
    // The data must be on the disk before the rename makes it the file.
    ok = fflush(f) == 0 && ok;
    ok = fsync(fileno(f)) == 0 && ok;
    ok = fclose(f) == 0 && ok;
    if (!ok) unlink(tempPath);
    return ok;
}

bool replaceWithTemporary(const char* tempPath, const char* path) {
    if (rename(tempPath, path) == 0) return true;
    unlink(tempPath);
    return false;
}

bool writeFileAtomically(const char* path, const void* data, size_t size) {
    char temp[storagePathSize + 16];
    return writeTemporaryBeside(path, data, size, temp, sizeof temp) && replaceWithTemporary(temp, path);
}

long readWholeFile(const char* path, void* buffer, size_t capacity, bool& tooLong) {
    tooLong = false;
    FILE* f = fopen(path, "rb");
    if (!f) return -1;
    size_t n = fread(buffer, 1, capacity, f);
    // One byte more tells a file that fills the buffer exactly from one that overflows it.
    if (n == capacity && fgetc(f) != EOF) tooLong = true;
    fclose(f);
    return (long)n;
}
