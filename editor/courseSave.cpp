#include "editor/courseSave.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "records/storage.h"
#include "track/courseFile.h"

bool saveNameAllowed(const char* name) {
    size_t length = name ? strlen(name) : 0;
    if (length == 0 || length > (size_t)maxSaveNameChars) return false;
    for (size_t i = 0; i < length; i++) {
        char c = name[i];
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
        if (!plain) return false;
    }
    return true;
}

bool userCourseFolder(char* buffer, int size) {
    char base[storagePathSize];
    if (!storageFolder(base, sizeof base)) return false;
    int n = snprintf(buffer, (size_t)size, "%s/courses", base);
    return n > 0 && n < size;
}

bool saveCourseAs(const Course& course, const char* name, const char* folder, char* path, int pathSize, char* message,
                  size_t messageSize) {
    if (!saveNameAllowed(name)) {
        snprintf(message, messageSize, "a name is 1 to %d letters, digits, - or _", maxSaveNameChars);
        return false;
    }
    int n = snprintf(path, (size_t)pathSize, "%s/%s.course", folder, name);
    if (n <= 0 || n >= pathSize) {
        snprintf(message, messageSize, "the course folder's path is too long");
        return false;
    }
    if (!makeFolders(folder)) {
        snprintf(message, messageSize, "cannot make the folder %s", folder);
        return false;
    }
    Course named = course;
    snprintf(named.name, sizeof named.name, "%s", name);
    std::string text = writeCourseText(named);
    if (!writeFileAtomically(path, text.data(), text.size())) {
        snprintf(message, messageSize, "cannot write %s", path);
        return false;
    }
    snprintf(message, messageSize, "saved as %s.course", name);
    return true;
}
