// --generate: courses made from seeds, each raced by the four computer trucks before it is
// offered (front/courseProof, as the game proves its random courses); the first that all of
// them finish in time is printed, and saved when asked.
#include <chrono>
#include <cinttypes>
#include <cstring>

#include "front/courseProof.h"
#include "front/randomCourses.h"
#include "race/game.h"
#include "records/storage.h"
#include "tools/runner/raceRunner.h"
#include "tools/runner/stopSignals.h"
#include "track/courseFile.h"
#include "track/courseGenerator.h"

// Seeds tried before --generate gives up.
static const int maxSeedsTried = maxProofSeeds;
// Frames of a proof between looks at the stop signals.
static const int proofSliceFrames = 600;

int RaceRunner::generate() {
    int rejected = 0;
    RaceProver prover(game);
    for (int tried = 0; tried < maxSeedsTried && !stopping(); tried++) {
        uint64_t seed = options.seed + (uint64_t)tried;
        auto started = std::chrono::steady_clock::now();
        Course made;
        if (!generateCourse(seed, made)) {
            fprintf(out, "Seed %" PRIu64 ": no course\n", seed);
            rejected++;
            continue;
        }
        prover.begin(made);
        while (prover.advance(proofSliceFrames) == courseProving && !stopping()) {}
        // The runner's clock shows what was raced: the proofs' frames.
        clock.counter += prover.frames * frameCounts;
        if (prover.state == courseProving) break;
        double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        if (prover.state != courseProved) {
            fprintf(out, "Seed %" PRIu64 ": not every computer truck finished in %.0f s; rejected\n", seed,
                    prover.allowedSeconds);
            rejected++;
            continue;
        }
        int tiles = prover.tiles;
        fprintf(out, "Course \"%s\" (seed %" PRIu64 ", hash %016" PRIx64 ")\n", made.name, seed, courseHash(made));
        fprintf(out, "Length: %d tiles (%d units), %d checkpoints, %d waypoints, %d walls\n", tiles,
                tiles * tileSizeUnits, made.checkpointCount, made.waypointCount, made.wallCount);
        fprintf(out, "Computer laps: best %.2f s, mean %.2f s over %d laps\n", prover.bestLap,
                prover.laps ? prover.lapSum / prover.laps : 0.0, prover.laps);
        fprintf(out, "Raced: %.3f s in %lld frames\n", (double)prover.frames * proofFrameSeconds, prover.frames);
        fprintf(out, "Seeds rejected: %d\n", rejected);
        fprintf(out, "Generated and proved in %.3f s\n", wall);
        if (options.savePath[0]) {
            std::string text = writeCourseText(made);
            if (!writeFileAtomically(options.savePath, text.data(), text.size())) {
                fprintf(stderr, "trailerdash-runner: cannot write %s\n", options.savePath);
                finishOutput();
                return runnerOutputFailed;
            }
            fprintf(out, "Saved to %s\n", options.savePath);
        }
        return finishOutput() ? 0 : runnerOutputFailed;
    }
    finishOutput();
    if (stopSignal()) {
        fprintf(stderr, "trailerdash-runner: stopped by signal %d\n", stopSignal());
        return 128 + stopSignal();
    }
    fprintf(stderr, "trailerdash-runner: no course proved from seed %" PRIu64 " in %d seeds\n", options.seed,
            maxSeedsTried);
    return 1;
}
