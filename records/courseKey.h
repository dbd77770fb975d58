#pragma once
// Which course a record or a replay belongs to: a built-in course by its number, or a course
// file by the hash of its content (never 0) and its name, so an edited course is another course.
#include <cstdint>

const int courseKeyNameSize = 64;

struct CourseKey {
    int index;      // the built-in course, or the track slot a course file was raced in
    uint64_t hash;  // 0 for a built-in course
    char name[courseKeyNameSize];
};
