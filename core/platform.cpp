#include "core/platform.h"

#include <dirent.h>
#include <fnmatch.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>

Platform::Platform() : queueHead(0), queueCount(0) {}
Platform::~Platform() {}

bool Platform::peekMessage(WindowMessage& msg) {
    pumpEvents();
    if (queueCount == 0) return false;
    msg = queue[queueHead];
    queueHead = (queueHead + 1) % queueCapacity;
    queueCount--;
    return true;
}

bool Platform::postMessage(unsigned message, uint64_t wParam, int64_t lParam) {
    if (queueCount >= queueCapacity) return false;
    queue[(queueHead + queueCount) % queueCapacity] = WindowMessage{message, wParam, lParam};
    queueCount++;
    return true;
}

void Platform::postQuitMessage(int exitCode) {
    // The quit request must not be lost behind a flood of input: make room for it if needed.
    if (queueCount >= queueCapacity) {
        queueHead = (queueHead + 1) % queueCapacity;
        queueCount--;
    }
    postMessage(WM_QUIT, (uint64_t)(int64_t)exitCode, 0);
}

void Platform::sleepUntil(int64_t target) {
    int64_t perSecond = queryPerformanceFrequency();
    if (perSecond <= 0) return;
    // A wake-up comes late by the system's timer slack, never early: the loop looks again.
    for (int64_t left = target - queryPerformanceCounter(); left > 0; left = target - queryPerformanceCounter()) {
        double seconds = (double)left / (double)perSecond;
        timespec wait;
        wait.tv_sec = (time_t)seconds;
        wait.tv_nsec = (long)((seconds - (double)wait.tv_sec) * 1e9);
        if (wait.tv_sec == 0 && wait.tv_nsec == 0) wait.tv_nsec = 1;
        nanosleep(&wait, nullptr);
    }
}

bool Platform::changeDirectory(const char* path) { return path && chdir(path) == 0; }

int Platform::listFiles(const char* pattern, void (*onName)(const char*, void*), void* user, int maxNames) {
    if (!pattern || !*pattern) return -1;
    char folder[1024];
    const char* slash = strrchr(pattern, '/');
    const char* namePattern = slash ? slash + 1 : pattern;
    if (slash) {
        size_t n = (size_t)(slash - pattern);
        if (n >= sizeof folder) return -1;
        memcpy(folder, pattern, n);
        folder[n] = '\0';
        if (n == 0) strcpy(folder, "/");
    } else {
        strcpy(folder, ".");
    }
    DIR* dir = opendir(folder);
    if (!dir) return -1;
    int count = 0;
    while (count < maxNames) {
        dirent* entry = readdir(dir);
        if (!entry) break;
        if (fnmatch(namePattern, entry->d_name, FNM_PERIOD) != 0) continue;
        onName(entry->d_name, user);
        count++;
    }
    closedir(dir);
    return count;
}

ScriptedPlatform::ScriptedPlatform()
    : counter(0), frequency(1000000000), cursorX(0), cursorY(0), cursorShown(true), showCursorCalls(0), waitCalls(0),
      sleepCalls(0), yesNoAnswer(IDNO), echoToStderr(true) {}

int ScriptedPlatform::messageBox(const char* text, const char* caption, unsigned flags) {
    boxTexts.push_back(text ? text : "");
    boxCaptions.push_back(caption ? caption : "");
    if (echoToStderr)
        fprintf(stderr, "%s%s%s\n", caption && *caption ? caption : "", caption && *caption ? ": " : "",
                text ? text : "");
    return (flags & 0x0F) == MB_YESNO ? yesNoAnswer : IDOK;
}

void ScriptedPlatform::sleepUntil(int64_t target) {
    sleepCalls++;
    if (target > counter) counter = target;
}

static ScriptedPlatform defaultPlatform;
static Platform* currentPlatform = &defaultPlatform;

Platform& platform() { return *currentPlatform; }
void setPlatform(Platform* p) { currentPlatform = p ? p : &defaultPlatform; }
