#include "track/courseLibrary.h"

#include <dirent.h>

#include <cstdlib>
#include <cstring>

#include "track/courseFile.h"
#include "track/courseGenerator.h"
#include "track/courses.h"

const char randomCourseName[] = "a new random course";
const char shippedCoursesFolder[] = "courses";

// Course files a folder may hold before the rest are left unread.
static const int maxFolderFiles = 256;
static const char courseSuffix[] = ".course";
// Seeds tried after the first when the generator makes no course from it.
static const int randomSeedTries = 16;

CourseLibrary::CourseLibrary() : entryCount(0), fullSaid(false) {}

const CourseEntry& CourseLibrary::entry(int i) const {
    // Out of range is a caller's slip: it gets the first course rather than memory past the list.
    return entries[i >= 0 && i < entryCount ? i : 0];
}

int CourseLibrary::find(uint64_t hash) const {
    for (int i = 0; i < entryCount; i++)
        if (entries[i].hash == hash && hash != 0) return i;
    return -1;
}

bool CourseLibrary::add(CourseSource source, int builtIn, const Course& course, FILE* err) {
    // One place is kept for the random entry.
    if (entryCount >= maxLibraryCourses - 1) {
        if (!fullSaid && err)
            fprintf(err, "trailerdash: more than %d courses; the rest are left out\n", maxLibraryCourses - 1);
        fullSaid = true;
        return false;
    }
    uint64_t hash = courseHash(course);
    if (find(hash) >= 0) return false;
    CourseEntry& e = entries[entryCount++];
    e.source = source;
    e.builtIn = builtIn;
    e.course = course;
    e.hash = hash;
    return true;
}

static int compareNames(const void* a, const void* b) { return strcmp(*(char* const*)a, *(char* const*)b); }

static bool isCourseFileName(const char* name) {
    size_t n = strlen(name), s = strlen(courseSuffix);
    return name[0] != '.' && n > s && strcmp(name + n - s, courseSuffix) == 0;
}

void CourseLibrary::addFolder(const char* folder, CourseSource source, FILE* err) {
    if (!folder || !*folder) return;
    DIR* dir = opendir(folder);
    if (!dir) return;  // no such folder: no courses from it
    char* names[maxFolderFiles];
    int count = 0;
    while (struct dirent* d = readdir(dir)) {
        if (!isCourseFileName(d->d_name) || count >= maxFolderFiles) continue;
        names[count] = strdup(d->d_name);
        if (names[count]) count++;
    }
    closedir(dir);
    // File-name order, so the list is the same on every machine whatever the folder's order.
    qsort(names, (size_t)count, sizeof names[0], compareNames);
    for (int i = 0; i < count; i++) {
        char path[1024];
        char message[courseMessageSize];
        Course c;
        if (snprintf(path, sizeof path, "%s/%s", folder, names[i]) >= (int)sizeof path) {
            if (err) fprintf(err, "trailerdash: %s/%s: the path is too long; left out\n", folder, names[i]);
        } else if (!loadCourseFile(path, c, message, sizeof message)) {
            if (err) fprintf(err, "trailerdash: %s; left out\n", message);
        } else {
            add(source, -1, c, err);
        }
        free(names[i]);
    }
}

void CourseLibrary::gather(const char* shippedFolder, const char* playerFolder, FILE* err) {
    entryCount = 0;
    fullSaid = false;
    for (int i = 0; i < courseCount; i++) {
        Course c;
        if (builtInCourse(i, c)) add(builtInSource, i, c, err);
    }
    addFolder(shippedFolder, shippedSource, err);
    addFolder(playerFolder, playerSource, err);
    CourseEntry& r = entries[entryCount++];
    r.source = randomSource;
    r.builtIn = -1;
    r.course = Course();
    snprintf(r.course.name, sizeof r.course.name, "%s", randomCourseName);
    r.hash = 0;
}

bool CourseLibrary::makeRandom(uint64_t seed) {
    if (entryCount == 0 || entries[entryCount - 1].source != randomSource) return false;
    for (int i = 0; i <= randomSeedTries; i++) {
        Course c;
        if (generateCourse(seed + (uint64_t)i, c)) return setRandom(c);
    }
    return false;
}

bool CourseLibrary::setRandom(const Course& course) {
    if (entryCount == 0 || entries[entryCount - 1].source != randomSource) return false;
    CourseEntry& r = entries[entryCount - 1];
    r.course = course;
    r.hash = courseHash(course);
    return true;
}

int builtInCourseWithHash(uint64_t hash) {
    // Worked out once: the tables never change while the game runs.
    static uint64_t hashes[courseCount];
    static bool known = false;
    if (!known) {
        for (int i = 0; i < courseCount; i++) {
            Course c;
            hashes[i] = builtInCourse(i, c) ? courseHash(c) : 0;
        }
        known = true;
    }
    for (int i = 0; i < courseCount; i++)
        if (hashes[i] == hash && hash != 0) return i;
    return -1;
}
