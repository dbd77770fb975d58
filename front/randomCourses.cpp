#include "front/randomCourses.h"

#include "front/courseProof.h"
#include "track/courseGenerator.h"

void RandomCourses::start(uint64_t from) {
    firstSeed = seed = from;
    rejected = 0;
    busy = true;
    ready = false;
    gaveUp = false;
    proving = false;
}

bool RandomCourses::work(CourseProver& prover, int frames) {
    if (!busy) return ready;
    if (!proving) {
        if (!generateCourse(seed, course)) {
            // The next seed in the next slice: a slice stays one generation and one proof's part.
            seed++;
            rejected++;
            gaveUp = rejected >= maxProofSeeds;
            busy = !gaveUp;
            return false;
        }
        prover.begin(course);
        proving = true;
    }
    ProofState state = prover.advance(frames);
    if (state == courseProving) return false;
    proving = false;
    if (state == courseProved) {
        busy = false;
        ready = true;
        return true;
    }
    seed++;
    rejected++;
    gaveUp = rejected >= maxProofSeeds;
    busy = !gaveUp;
    return false;
}

bool RandomCourses::take(Course& out) {
    if (!ready) return false;
    out = course;
    ready = false;
    return true;
}
