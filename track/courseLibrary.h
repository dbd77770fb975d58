#pragma once
// The courses a player can choose from, in the order the title steps through them: the built-in
// ones, the ones shipped with the game, the player's own, and last a new random one. A file that
// cannot be read is left out with one message; one whose content is already listed is left out
// quietly (the shipped copies of the built-in courses among them).
#include <cstdint>
#include <cstdio>

#include "track/course.h"

enum CourseSource { builtInSource, shippedSource, playerSource, randomSource };

struct CourseEntry {
    CourseSource source;
    int builtIn;    // the built-in course's number; -1 for the rest
    Course course;  // empty for the random entry until one is made
    uint64_t hash;  // of course; 0 for the random entry
};

// Entries the list holds, the random one among them; files past it are left out, said once.
const int maxLibraryCourses = 64;
// The random entry's name on the title.
extern const char randomCourseName[];
// The shipped courses' folder inside the data folder, beside "images".
extern const char shippedCoursesFolder[];

class CourseLibrary {
public:
    CourseLibrary();
    // Lists the courses: the built-in ones, then every "*.course" file in shippedFolder and in
    // playerFolder (each folder in file-name order; either may be null or missing), then the
    // random entry. What is left out is said on err.
    void gather(const char* shippedFolder, const char* playerFolder, FILE* err);
    int count() const { return entryCount; }
    const CourseEntry& entry(int i) const;
    // The entry holding the course of hash, or -1; the random entry only once it has one.
    int find(uint64_t hash) const;
    // Makes the random entry's course from seed (the next seeds when one makes none); false when
    // none of them gives a course.
    bool makeRandom(uint64_t seed);
    // Makes course (proved elsewhere) the random entry's; false when the list has no random entry.
    bool setRandom(const Course& course);

private:
    void addFolder(const char* folder, CourseSource source, FILE* err);
    bool add(CourseSource source, int builtIn, const Course& course, FILE* err);

    CourseEntry entries[maxLibraryCourses];
    int entryCount;
    bool fullSaid;
};

// The built-in course with hash's content, or -1.
int builtInCourseWithHash(uint64_t hash);
