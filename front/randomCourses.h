#pragma once
// The title's random courses, each proved before it is offered: from a fresh seed, courses are
// generated and raced by the prover a slice at a time, a seed that fails is dropped for the next,
// and the first proved course waits until it is taken.
#include <cstdint>

#include "track/course.h"

class CourseProver;

// Seeds tried from one fresh seed before giving up on it.
const int maxProofSeeds = 100;

class RandomCourses {
public:
    RandomCourses() = default;
    // Starts over from seed, dropping what was under way or ready.
    void start(uint64_t seed);
    // Works on by at most frames frames of proof with prover; true when a course is ready.
    bool work(CourseProver& prover, int frames);
    // Hands over the ready course; false, out untouched, when none is.
    bool take(Course& out);

    bool busy = false;    // seeds are being tried
    bool ready = false;   // a proved course waits
    bool gaveUp = false;  // maxProofSeeds seeds in a row failed
    uint64_t firstSeed = 0;
    uint64_t seed = 0;  // the one being tried, or the ready course's
    int rejected = 0;   // seeds dropped since firstSeed

private:
    bool proving = false;  // the prover holds seed's course
    Course course;
};
