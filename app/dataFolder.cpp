#include "app/dataFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "core/errorBox.h"
#include "core/platform.h"

#ifndef TD_INSTALL_DATA_DIR
#define TD_INSTALL_DATA_DIR "/usr/local/share/trailerdash"
#endif

static const int pathSize = 4096;

bool holdsImages(const char* folder) {
    if (!folder || !*folder) return false;
    char path[pathSize];
    if (snprintf(path, sizeof path, "%s/images", folder) >= (int)sizeof path) return false;
    struct stat info;
    return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

int findDataFolder(const char* const* folders, int count) {
    for (int i = 0; i < count; i++) {
        if (holdsImages(folders[i])) return i;
    }
    return -1;
}

bool executableFolder(char* buffer, int size) {
    if (size < 2) return false;
    ssize_t n = readlink("/proc/self/exe", buffer, (size_t)size - 1);
    if (n <= 0 || n >= size - 1) return false;
    buffer[n] = '\0';
    // Cut the program's own name off; what is left is its folder.
    for (ssize_t i = n - 1; i >= 0; i--) {
        if (buffer[i] == '/') {
            buffer[i > 0 ? i : 1] = '\0';
            return true;
        }
    }
    return false;
}

bool enterDataFolder() {
    char exeFolder[pathSize] = "";
    char besideExe[pathSize] = "";
    if (executableFolder(exeFolder, sizeof exeFolder)) {
        // An installed program lives in <prefix>/bin and its data in <prefix>/share/trailerdash.
        if (snprintf(besideExe, sizeof besideExe, "%s/../share/trailerdash", exeFolder) >= (int)sizeof besideExe)
            besideExe[0] = '\0';
    }
    const char* folders[] = {".", exeFolder, besideExe, TD_INSTALL_DATA_DIR};
    return enterDataFolderFrom(folders, (int)(sizeof folders / sizeof folders[0]));
}

bool enterDataFolderFrom(const char* const* folders, int count) {
    int found = findDataFolder(folders, count);
    if (found >= 0 && platform().changeDirectory(folders[found])) return true;

    // The box names every folder that was searched, the working one by its full path.
    char list[3000] = "";
    int used = 0;
    for (int i = 0; i < count && used < (int)sizeof list; i++) {
        const char* folder = folders[i] && *folders[i] ? folders[i] : nullptr;
        if (!folder) continue;
        char here[pathSize];
        if (strcmp(folder, ".") == 0 && getcwd(here, sizeof here)) folder = here;
        used += snprintf(list + used, sizeof list - (size_t)used, "%s\n", folder);
    }
    // The box's text is echoed on stderr as well, for a start from a terminal.
    errorBox(
        "The game's pictures were not found: there is no \"images\" folder in\n%s"
        "The game runs without them.",
        list);
    return false;
}
