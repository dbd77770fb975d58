#include "tools/runner/raceRunner.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "app/dataFolder.h"
#include "app/headlessContext.h"
#include "core/input.h"
#include "front/championship.h"
#include "front/courseChoice.h"
#include "front/quickRace.h"
#include "front/recordProof.h"
#include "front/timeAttack.h"
#include "app/mainLoop.h"
#include "graphics/texture.h"
#include "race/game.h"
#include "race/secondPlayer.h"
#include "records/replay.h"
#include "records/storage.h"
#include "tools/runner/championshipRun.h"
#include "tools/runner/frameCapture.h"
#include "tools/runner/stopSignals.h"
#include "track/courseFile.h"
#include "track/courseLibrary.h"

static const int screenWidth = 640;
static const int screenHeight = 480;

RaceRunner::RaceRunner(const RunnerOptions& o, FILE* output)
    : options(o), out(output), trace(nullptr), game(nullptr), loop(nullptr), record(), frameCounts(0), frame(0), held{},
      drawNext(false), replay(nullptr), outputFailed(false), choice(nullptr), championship(nullptr),
      plan(nullptr), library(nullptr), timeAttack(nullptr), prover(nullptr), quickReplay(nullptr) {
    clock.frequency = runnerClockFrequency;
    clock.counter = 0;
    clock.echoToStderr = true;
    // Rounded, and never zero, so that every frame moves the clock.
    frameCounts = (int64_t)std::llround(options.frameSeconds * (double)runnerClockFrequency);
    if (frameCounts < 1) frameCounts = 1;
}

RaceRunner::~RaceRunner() {
    shutDown();
    delete replay;
    delete plan;
}

// path made absolute against the working folder, which the runner leaves for the data folder.
static bool absolutePath(const char* path, char* out, size_t size) {
    if (path[0] == '/') return snprintf(out, size, "%s", path) < (int)size;
    char cwd[PATH_MAX];
    return getcwd(cwd, sizeof cwd) && snprintf(out, size, "%s/%s", cwd, path) < (int)size;
}

bool RaceRunner::start(FILE* err) {
    setPlatform(&clock);
    // A run that draws nothing needs no GL context nor pictures: making them costs more than
    // many races.
    bool drawn = options.drawEvery > 0 || options.screenshotFolder[0];
    if (drawn && !createHeadlessContext(screenWidth, screenHeight)) {
        fprintf(err, "trailerdash-runner: no offscreen GL context\n");
        return false;
    }
    // Files named on the command line are relative to where the runner was started, not to
    // the data folder it enters.
    if (options.tracePath[0]) {
        trace = fopen(options.tracePath, "w");
        if (!trace) {
            fprintf(err, "trailerdash-runner: cannot write %s\n", options.tracePath);
            return false;
        }
        fprintf(trace, "frame,truck,x,y,speed,cabHeading,trailerHeading,steerAngle,power,laps,lastCheckpoint\n");
    }
    if (options.screenshotFolder[0]) {
        char full[PATH_MAX];
        if (!realpath(options.screenshotFolder, full) || strlen(full) >= sizeof options.screenshotFolder) {
            fprintf(err, "trailerdash-runner: no folder %s\n", options.screenshotFolder);
            return false;
        }
        strcpy(options.screenshotFolder, full);
    }
    // --verify reads and finds its replay's course as --replay does.
    if (options.verifyPath[0]) strcpy(options.replayPath, options.verifyPath);
    if (options.replayPath[0]) {
        replay = new Replay();
        char why[160];
        if (!replay->load(options.replayPath, why, sizeof why)) {
            fprintf(err, "trailerdash-runner: cannot play %s: %s\n", options.replayPath, why);
            return false;
        }
        if (options.timeAttack && replay->setup.rivals != 0) {
            fprintf(err, "trailerdash-runner: cannot play %s with --time-attack: it is a race with computer trucks\n",
                    options.replayPath);
            return false;
        }
        // The game reads the frequency as it loads; the race is timed in the recorded counts.
        clock.frequency = replay->frequency;
        options.track = replay->course;
    }
    // Read before the runner enters the data folder, so the path is the one given.
    if (options.coursePath[0]) {
        char why[courseMessageSize];
        if (!loadCourseFile(options.coursePath, course, why, sizeof why)) {
            fprintf(err, "trailerdash-runner: %s\n", why);
            return false;
        }
        // A course file changes, the replay does not: its keys would drive another race.
        if (replay && replay->courseHash && courseHash(course) != replay->courseHash) {
            fprintf(err,
                    "trailerdash-runner: cannot play %s: it is a race on the course \"%s\", and %s is not that "
                    "course (it differs from it, or it was changed since)\n",
                    options.replayPath, replay->courseName, options.coursePath);
            return false;
        }
    }
    if (options.savePath[0]) {
        char full[PATH_MAX];
        if (!absolutePath(options.savePath, full, sizeof full) || strlen(full) >= sizeof options.savePath) {
            fprintf(err, "trailerdash-runner: cannot write %s\n", options.savePath);
            return false;
        }
        strcpy(options.savePath, full);
    }
    // Course files of a championship are named relative to where the runner was started.
    if (options.championship[0]) {
        plan = new ChampionshipProgress();
        if (!parseChampionshipList(options.championship, *plan, err)) return false;
    }
    char recordPath[PATH_MAX] = "";
    if (options.recordPath[0] && !absolutePath(options.recordPath, recordPath, sizeof recordPath)) {
        fprintf(err, "trailerdash-runner: cannot write %s\n", options.recordPath);
        return false;
    }
    bool found;
    if (options.dataFolder[0]) {
        const char* folders[1] = {options.dataFolder};
        found = enterDataFolderFrom(folders, 1);
    } else {
        found = enterDataFolder();
    }
    if (!found) {
        fprintf(err, "trailerdash-runner: no data folder\n");
        return false;
    }
    // A replay of a course file with no --course: its course is looked for among the game's own.
    bool courseFound = false;
    if (replay && replay->courseHash && !options.coursePath[0]) {
        char own[storagePathSize + 16];
        char folder[storagePathSize];
        bool hasOwn = storageFolder(folder, sizeof folder) && snprintf(own, sizeof own, "%s/courses", folder) < (int)sizeof own;
        CourseLibrary* library = new CourseLibrary();
        library->gather(shippedCoursesFolder, hasOwn ? own : nullptr, nullptr);
        int at = library->find(replay->courseHash);
        if (at >= 0) course = library->entry(at).course;
        delete library;
        if (at < 0) {
            fprintf(err,
                    "trailerdash-runner: cannot play %s: it is a race on the course \"%s\", which is missing or has "
                    "changed; give its file with --course FILE\n",
                    options.replayPath, replay->courseName);
            return false;
        }
        courseFound = true;
    }
    if (drawn)
        initTextures();
    else
        initTexturesUndrawn();
    game = new Game();
    loop = new MainLoop(*game);
    game->setLaps(options.laps);
    game->setDifficulty(options.difficulty);
    game->load();
    if (replay && replay->course >= game->trackCount) {
        fprintf(err, "trailerdash-runner: cannot play %s: it is a race on course %d, and there are %d\n",
                options.replayPath, replay->course, game->trackCount);
        return false;
    }
    if (options.coursePath[0] || courseFound) raceOn(course);
    // A replay races what it recorded: its laps, level and computer trucks.
    if (replay) {
        game->setLaps(replay->setup.laps);
        game->setDifficulty((Difficulty)replay->setup.level);
        if (replay->setup.rivals != Game::maxTrucks - 1) game->setRivals(replay->setup.rivals);
        game->setHumans(replay->setup.humans);
    }
    if (options.players > 1 && !replay) game->setHumans(options.players);
    if (recordPath[0]) game->history.alsoRecordTo(recordPath);
    char keepFolder[storagePathSize];
    if (options.keep && !replay) {
        if (!storageFolder(keepFolder, sizeof keepFolder)) {
            fprintf(err, "trailerdash-runner: no folder to keep records in\n");
            return false;
        }
        // Records are proved as the game proves them, on a game of the prover's own.
        prover = new RecordProver(choice ? &choice->library : nullptr);
        game->history.setProver(&RecordProver::proveForHistory, prover);
        game->history.keepIn(keepFolder, err);
    }
    if (options.track != game->currentTrack && options.track < game->trackCount) {
        game->currentTrack = options.track;
        game->resetRace();
    }
    if (options.choose > 0) {
        char own[storagePathSize + 16], folder[storagePathSize];
        bool hasOwn = storageFolder(folder, sizeof folder) && snprintf(own, sizeof own, "%s/courses", folder) < (int)sizeof own;
        choice = new CourseChoice();
        choice->gather(shippedCoursesFolder, hasOwn ? own : nullptr, err);
        loop->over = choice;
        for (int i = 0; i < options.choose; i++) choice->step(*game, 1);
        // A random course is raced once proved, as the title offers it.
        choice->settle(*game);
    }
    if (plan) {
        char own[storagePathSize + 16], folder[storagePathSize];
        bool hasOwn = storageFolder(folder, sizeof folder) && snprintf(own, sizeof own, "%s/courses", folder) < (int)sizeof own;
        library = new CourseLibrary();
        library->gather(shippedCoursesFolder, hasOwn ? own : nullptr, err);
        if (!championshipCoursesFound(*plan, *library, err)) return false;
        // Generated courses are raced by the computer trucks before the series, as the game does;
        // the prover's game is its own, so this run's starts as it would have.
        RaceProver prover;
        if (!Championship::proveRandomCourses(*plan, prover)) {
            fprintf(err, "trailerdash-runner: --championship: no drivable course in %d seeds\n", randomSeedAttempts);
            return false;
        }
        // The runner keeps nothing: no progress file.
        championship = new Championship();
        championship->setUp("", library);
        if (!championship->start(*game, *plan)) {
            fprintf(err, "trailerdash-runner: %s\n", championship->message);
            return false;
        }
        loop->over = championship;
    }
    if (options.timeAttack && !options.verifyPath[0]) {
        if (options.track != game->currentTrack && options.track < game->trackCount) {
            game->currentTrack = options.track;
            game->resetRace();
        }
        if (!prover) prover = new RecordProver(choice ? &choice->library : nullptr);
        if (options.coursePath[0] || courseFound) prover->extraCourse = &course;
        timeAttack = new TimeAttack();
        timeAttack->under = choice;
        loop->over = timeAttack;
        if (!replay) timeAttack->start(*game, prover);
    }
    // A quick race's replay holds its countdown and pause menu: they run again in the same frames.
    if (replay && replay->setup.countdown && !options.verifyPath[0] && !loop->over) {
        quickReplay = new QuickRaceReplay();
        quickReplay->reset();
        loop->over = quickReplay;
    }
    // The loop runs frames only for an active window, as the game's does.
    clock.postMessage(WM_ACTIVATE, makeWParam(WA_ACTIVE, 0), 0);
    return true;
}

void RaceRunner::raceOn(const Course& c) {
    game->waitingForStart = true;
    game->raceOver = false;
    game->currentTrack = 0;
    game->useCourse(0, c);
    // One track: the results' Space wraps back to it.
    game->trackCount = 1;
}

void RaceRunner::shutDown() {
    if (game) {
        // The race under way goes to --record's file.
        game->history.stop();
        if (quickReplay) quickReplay->quick.stop(*game);
        releaseTextures();
        delete loop;
        delete game;
        delete choice;
        delete championship;
        delete library;
        championship = nullptr;
        library = nullptr;
        delete timeAttack;
        delete prover;
        delete quickReplay;
        quickReplay = nullptr;
        loop = nullptr;
        game = nullptr;
        choice = nullptr;
        timeAttack = nullptr;
        prover = nullptr;
    }
    if (trace) {
        fclose(trace);
        trace = nullptr;
    }
    destroyHeadlessContext();
    // Keys held at the end must not leak into a later run in the same process.
    keys = Keys();
    setPlatform(nullptr);
}

void RaceRunner::setKey(int code, bool down) {
    if (held[code] == down) return;
    held[code] = down;
    clock.postMessage(down ? WM_KEYDOWN : WM_KEYUP, (uint64_t)code, 0);
}

void RaceRunner::runFrame(const bool* wanted) {
    // Most frames change no key; only a change is worth a pass over all of them.
    if (memcmp(held, wanted, sizeof held) != 0)
        for (int code = 0; code < 256; code++) setKey(code, wanted[code]);
    // Frame k samples the counter at (k + 1) frame lengths, so even the first lasts one length.
    clock.counter = (int64_t)(frame + 1) * frameCounts;
    drainAndRunFrame();
}

void RaceRunner::drainAndRunFrame() {
    // The loop drains every waiting message, one per pass, before it runs a frame.
    for (int pass = 0; pass <= Platform::queueCapacity && clock.pendingMessages() > 0 && !loop->done; pass++)
        loop->pass();
    bool draw = options.drawEvery > 0 && frame % options.drawEvery == 0;
    // A run without a GL context draws nothing, whatever asked for a picture.
    bool drawn = options.drawEvery > 0 || options.screenshotFolder[0];
    loop->frame(drawn && (draw || drawNext));
    drawNext = false;
    frame++;
    writeTrace();
}

void RaceRunner::writeTrace() {
    if (!trace) return;
    for (int i = 0; i < game->truckCount; i++) {
        const Truck& t = game->trucks[i];
        fprintf(trace, "%lld,%d,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%d,%d\n", frame - 1, i, t.getX(), t.getY(),
                t.getSpeed(), t.cabHeading, t.trailerHeading, t.steerAngle, t.power, t.getLapCount(),
                t.getLastCheckpoint());
    }
    // A full disk shows only when stdio's buffer goes out, so every frame looks.
    if (ferror(trace)) outputFailure(options.tracePath);
}

void RaceRunner::outputFailure(const char* what) {
    if (!outputFailed) fprintf(stderr, "trailerdash-runner: cannot write %s: %s\n", what, strerror(errno));
    outputFailed = true;
}

bool RaceRunner::stopping() const { return outputFailed || stopSignal() != 0; }

bool RaceRunner::finishOutput() {
    if (trace) {
        bool written = !ferror(trace);
        if (fclose(trace) != 0 || !written) outputFailure(options.tracePath);
        trace = nullptr;
    }
    if (fflush(out) != 0 || ferror(out)) outputFailure("the results");
    return !outputFailed;
}

void RaceRunner::shoot(const char* what) {
    if (!options.screenshotFolder[0]) return;
    char path[runnerPathSize + 64];
    snprintf(path, sizeof path, "%s/course%d-%s.ppm", options.screenshotFolder, game->currentTrack, what);
    if (!captureFrame(path, screenWidth, screenHeight)) outputFailure(path);
}

// The missed-checkpoint cue as the user would see it after crossing the line too early, pointing
// back to the checkpoint just taken, and beside a second player their stuck hint. Only the
// picture is staged: the cues are cleared before the next frame and the race itself is left
// exactly as it was.
void RaceRunner::shootMissedCheckpoint() {
    double now = game->raceClock.elapsedSeconds();
    game->views[0].cue.until = now + Game::missedCueSeconds;
    game->views[0].cue.checkpoint = game->trucks[0].getLastCheckpoint();
    RecoverWatch secondRecovery = game->recovery[1];
    if (game->humans() > 1) game->recovery[1].hintUntil = now + Game::missedCueSeconds;
    game->draw();
    shoot("missed");
    game->views[0].cue.until = 0.0;
    game->views[0].cue.checkpoint = -1;
    game->recovery[1] = secondRecovery;
}

bool RaceRunner::runRace(int number) {
    bool wanted[256] = {};
    if (number == 1 && options.screenshotFolder[0]) {
        // The title as the game's first frame shows it, drawn without advancing anything.
        game->draw();
        if (loop->over) loop->over->draw(*game);
        shoot("title");
    }
    // Space for one frame starts the race: from the title, or from the results onto the next course.
    wanted[VK_SPACE] = true;
    runFrame(wanted);
    wanted[VK_SPACE] = false;
    autopilot.reset();
    secondPilot.reset();
    record.begin(number, game->currentTrack, *game);
    record.observe(*game, options.frameSeconds);
    bool shots = options.screenshotFolder[0] != 0;
    int shotStage = 0;
    while (!loop->done && !stopping()) {
        if (record.complete(options.idle)) break;
        if (record.simulatedSeconds >= options.maxSeconds) {
            record.timedOut = true;
            break;
        }
        DriveKeys drive = {false, false, false, false};
        if (!options.idle && !record.trucks[0].finished)
            drive = autopilot.decide(game->trucks[0], game->tracks[game->currentTrack], options.frameSeconds);
        wanted[VK_LEFT] = drive.left;
        wanted[VK_RIGHT] = drive.right;
        wanted[VK_UP] = drive.up;
        wanted[VK_DOWN] = drive.down;
        if (shots) {
            // Zoom in after the race view and back out by as long after the zoomed view.
            double t = record.simulatedSeconds;
            if (shotStage == 0 && t >= raceShotSeconds) {
                shoot("race");
                shotStage = 1;
            } else if (shotStage == 1 && t >= raceShotSeconds + zoomHoldSeconds) {
                shoot("zoom");
                shotStage = 2;
            } else if (shotStage == 2 && t >= raceShotSeconds + 2 * zoomHoldSeconds) {
                shotStage = 3;
            } else if (shotStage == 3 && t >= raceShotSeconds + 2 * zoomHoldSeconds + cueShotDelaySeconds) {
                shootMissedCheckpoint();
                shotStage = 4;
            }
            wanted['A'] = shotStage == 1;
            wanted['Z'] = shotStage == 2;
            // A shot reads the frame before it, which must have been drawn.
            drawNext = shotStage < 3;
        }
        // Player two is never idle: --idle leaves only player one without keys.
        if (game->humans() > 1) {
            DriveKeys second = {false, false, false, false};
            if (!record.trucks[1].finished)
                second = secondPilot.decide(game->trucks[1], game->tracks[game->currentTrack], options.frameSeconds);
            wanted[secondPlayerKeys.left] = second.left;
            wanted[secondPlayerKeys.right] = second.right;
            wanted[secondPlayerKeys.up] = second.up;
            wanted[secondPlayerKeys.down] = second.down;
        }
        runFrame(wanted);
        record.observe(*game, options.frameSeconds);
    }
    // Let go of everything so that nothing carries into the results or the next race.
    bool none[256] = {};
    if (!record.timedOut && !loop->done && !stopping()) {
        // The results are drawn for their picture, or as any drawn run shows them; a run that
        // draws nothing skips them too.
        drawNext = shots || options.drawEvery > 0;
        runFrame(none);
        record.observe(*game, options.frameSeconds);
        if (shots) shoot("results");
    }
    record.print(out);
    return !record.timedOut && record.complete(options.idle);
}

bool RaceRunner::runReplay() {
    // The keys held when the race started, as both this frame's and the last frame's state.
    for (int code = 0; code < 256; code++) keys.down[code] = keys.previous[code] = replay->isKeyHeld(code) ? 1 : 0;
    // Printed whatever happens next, even when not one frame runs.
    record.begin(1, game->currentTrack, *game);
    int64_t raceCounts = 0;
    for (int i = 0; i < replay->frameCount && !loop->done && !stopping(); i++) {
        const ReplayFrame& f = replay->frames[i];
        // The frame's messages, a queue's worth at a time, all handed over before it runs.
        int posted = 0;
        while (posted < f.messageCount && !loop->done) {
            while (posted < f.messageCount) {
                const ReplayMessage& m = replay->messages[f.firstMessage + posted];
                // The loader takes only input; nothing else may steer the run.
                if (isReplayInput(m.message) && !clock.postMessage(m.message, m.wParam, m.lParam)) break;
                posted++;
            }
            if (posted < f.messageCount)
                while (clock.pendingMessages() > 0 && !loop->done) loop->pass();
        }
        clock.counter += f.counterDelta;
        drainAndRunFrame();
        // The race's own record starts after the frame that started it, as runRace's does.
        if (i == 0) record.begin(1, game->currentTrack, *game);
        raceCounts += f.counterDelta;
        record.observe(*game, (double)raceCounts / (double)replay->frequency / (double)(record.frames + 1));
    }
    record.print(out);
    fprintf(out, "\n");
    return record.complete(false);
}

bool RaceRunner::runChampionship() {
    bool allFinished = true;
    for (int r = 1; r <= plan->courseCount && !loop->done && !stopping(); r++) {
        if (!runRace(r)) allFinished = false;
        if (loop->done || stopping() || championship->stage != Championship::results) break;
        // Space on the race's own results: its places count, and the standings (or the podium) show.
        bool wanted[256] = {};
        wanted[VK_SPACE] = true;
        drawNext = true;
        runFrame(wanted);
        wanted[VK_SPACE] = false;
        drawNext = true;
        runFrame(wanted);
        printStandings(out, *game, *championship);
        fprintf(out, "\n");
        char what[32];
        snprintf(what, sizeof what, championship->stage == Championship::podium ? "podium" : "standings%d", r);
        shoot(what);
    }
    return allFinished && championship->stage == Championship::podium;
}

int RaceRunner::verify() {
    ReplayDrive* drive = new ReplayDrive();
    // The course a course file's replay names is already in track slot 0 (start found it).
    bool raced = driveWholeReplay(*game, *replay, replay->courseHash ? &course : nullptr, *drive);
    auto started = std::chrono::steady_clock::now();
    // Timed on a second drive, the first having warmed the caches as the game's own would be.
    ReplayDrive* again = new ReplayDrive();
    if (raced) driveWholeReplay(*game, *replay, replay->courseHash ? &course : nullptr, *again);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const ReplaySetup& s = replay->setup;
    // Player two's truck is one of the trucks beside player one's, not a computer's.
    fprintf(out, "Replay %s: %s, %d laps, %s, %d computer trucks%s, %d frames\n", options.replayPath,
            replay->courseHash ? replay->courseName : (replay->course == 0 ? "course 0" : "course 1"), s.laps,
            difficultyName((Difficulty)s.level), s.rivals - (s.humans - 1), s.humans > 1 ? ", two players" : "",
            replay->frameCount);
    if (replay->courseHash) fprintf(out, "Course hash %016llx\n", (unsigned long long)replay->courseHash);
    bool verified = raced && drive->reproduced && drive->finished;
    if (drive->finished) {
        char time[raceTimeTextSize], lap[raceTimeTextSize];
        formatRaceTime(drive->raceSeconds, time);
        formatRaceTime(drive->bestLapSeconds, lap);
        fprintf(out, "Race time %s (%.9g s), best lap %s (%.9g s)\n", time, drive->raceSeconds, lap,
                drive->bestLapSeconds);
    }
    fprintf(out, "Driven again in %.1f ms\n", seconds * 1000.0);
    if (verified)
        fprintf(out, "Verdict: verified\n");
    else if (!drive->reproduced)
        fprintf(out, "Verdict: not verified: frame %d does not reproduce the recording\n", drive->firstDifference);
    else
        fprintf(out, "Verdict: not verified: the user's truck does not finish\n");
    delete again;
    delete drive;
    return finishOutput() ? (verified ? 0 : 1) : runnerOutputFailed;
}

int RaceRunner::runRaces() {
    if (options.verifyPath[0]) return verify();
    bool allFinished = true;
    if (replay) allFinished = runReplay();
    if (championship) {
        allFinished = runChampionship();
        options.races = 0;
    }
    for (int r = 1; !replay && r <= options.races && !loop->done && !stopping(); r++) {
        if (!runRace(r)) allFinished = false;
        fprintf(out, "\n");
    }
    bool written = finishOutput();
    if (stopSignal()) {
        fprintf(stderr, "trailerdash-runner: stopped by signal %d after frame %lld\n", stopSignal(), frame - 1);
        return 128 + stopSignal();
    }
    if (!written) return runnerOutputFailed;
    return allFinished ? 0 : 1;
}
