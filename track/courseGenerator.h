#pragma once
// Courses made from a number: the same seed gives the same course on every machine, by our own
// integer random numbers and integer geometry. Every course it gives has passed shapeCourse; it
// does not race them (the runner proves them drivable).
#include <cstdint>

#include "track/course.h"

// SplitMix64: small, fast, and the same sequence everywhere.
class CourseRandom {
public:
    explicit CourseRandom(uint64_t seed) : state(seed) {}
    uint64_t next();
    // 0 .. bound - 1, without the bias of a plain modulo; bound above 0.
    int below(int bound);

private:
    uint64_t state;
};

// Generates the course of a seed, named after it. False only when no attempt from the seed made
// a loop, which the attempts' number makes rare; the runner then moves to the next seed.
bool generateCourse(uint64_t seed, Course& out);
