// --generate: courses made from seeds, each raced by the four computer trucks before it is
// offered; the first that all of them finish in time is printed, and saved when asked.
#include <chrono>
#include <cinttypes>
#include <cstring>

#include "race/game.h"
#include "records/storage.h"
#include "tools/runner/raceRunner.h"
#include "track/courseFile.h"
#include "track/courseGenerator.h"
#include "track/courseShape.h"

// Seeds tried before --generate gives up.
static const int maxSeedsTried = 100;
// Simulated time allowed per tile per lap, and for the start: about three times what the slowest
// computer truck takes, so only a truck that is stuck or lost runs out of it.
static const double secondsPerTileLap = 3.0;
static const double startAllowanceSeconds = 30.0;
// Far outside every wall, in world units.
static const float parkedUnits = -4000.0f;

int RaceRunner::generate() {
    int rejected = 0;
    for (int tried = 0; tried < maxSeedsTried && !stopping(); tried++) {
        uint64_t seed = options.seed + (uint64_t)tried;
        auto started = std::chrono::steady_clock::now();
        Course made;
        ShapeReport report;
        if (!generateCourse(seed, made)) {
            fprintf(out, "Seed %" PRIu64 ": no course\n", seed);
            rejected++;
            continue;
        }
        TileCoord loop[maxLoopCells];
        int tiles = traceLoop(made, loop, report);
        raceOn(made);
        // The idle user's truck waits off the course: left on the grid it would stand in the
        // others' way as no player's truck does.
        game->trucks[0].setPosition(parkedUnits, parkedUnits);
        options.maxSeconds = startAllowanceSeconds + secondsPerTileLap * tiles * game->lapsToRace;
        bool proved = runRace(1);
        double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        if (!proved) {
            fprintf(out, "Seed %" PRIu64 ": not every computer truck finished in %.0f s; rejected\n\n", seed,
                    options.maxSeconds);
            rejected++;
            continue;
        }
        // Lap times of the computer trucks: the best and the mean.
        double best = 1e9, sum = 0;
        int laps = 0;
        for (int i = 1; i < record.truckCount; i++)
            for (int k = 0; k < record.trucks[i].lapsRecorded; k++) {
                double t = record.trucks[i].lapTimes[k];
                best = t < best ? t : best;
                sum += t;
                laps++;
            }
        fprintf(out, "Course \"%s\" (seed %" PRIu64 ", hash %016" PRIx64 ")\n", made.name, seed, courseHash(made));
        fprintf(out, "Length: %d tiles (%d units), %d checkpoints, %d waypoints, %d walls\n", tiles,
                tiles * tileSizeUnits, made.checkpointCount, made.waypointCount, made.wallCount);
        fprintf(out, "Computer laps: best %.2f s, mean %.2f s over %d laps\n", best, laps ? sum / laps : 0.0, laps);
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
    fprintf(stderr, "trailerdash-runner: no course proved from seed %" PRIu64 " in %d seeds\n", options.seed,
            maxSeedsTried);
    return 1;
}
