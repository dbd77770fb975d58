// A random championship's courses proved drivable before the series is offered, as the title's
// random course is: a generated course the four computer trucks cannot all finish is swapped for
// the next seed's.
#include <cstdio>

#include "front/championship.h"
#include "front/courseProof.h"
#include "track/courseGenerator.h"

// Frames of proof per call: a proof is decided within a few thousand.
static const int proofSliceFrames = 600;

// Generates seed's course and races it with prover; true when it is one to offer.
static bool provedCourse(uint64_t seed, CourseProver& prover, Course& course) {
    if (!generateCourse(seed, course)) return false;
    prover.begin(course);
    ProofState state;
    while ((state = prover.advance(proofSliceFrames)) == courseProving) {}
    return state == courseProved;
}

bool Championship::proveRandomCourses(ChampionshipProgress& plan, CourseProver& prover) {
    // A moved course keeps its seeds above the one before it, so no course comes twice.
    uint64_t nextFree = 0;
    bool anyBefore = false;
    for (int i = 0; i < plan.courseCount; i++) {
        ChampionshipCourse& c = plan.courses[i];
        if (c.kind != championshipRandom) continue;
        uint64_t seed = anyBefore && c.seed < nextFree ? nextFree : c.seed;
        Course course;
        int attempt = 0;
        while (attempt < randomSeedAttempts && !provedCourse(seed, prover, course)) {
            seed++;
            attempt++;
        }
        if (attempt == randomSeedAttempts) return false;
        c.seed = seed;
        snprintf(c.name, sizeof c.name, "%s", course.name[0] ? course.name : "Random");
        nextFree = seed + 1;
        anyBefore = true;
    }
    return true;
}
