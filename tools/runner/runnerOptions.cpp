#include "tools/runner/runnerOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "race/game.h"

// Frames longer than the game's own clamp would only slow the world; shorter than a
// microsecond the race would take billions of frames.
static const double minFrameSeconds = 1e-6;
static const double maxFrameSeconds = 1.0;
static const int maxRaces = 1000;
// A day of simulated time bounds the frame counter far below its range.
static const double maxRaceSeconds = 86400.0;

RunnerOptions::RunnerOptions()
    : track(0), frameSeconds(1.0 / 60.0), races(1),
      idle(false), tracePath{}, dataFolder{}, screenshotFolder{}, recordPath{}, replayPath{}, drawEvery(1),
      maxSeconds(900.0), keep(false), trackGiven(false), coursePath{}, generate(false), seed(0), savePath{},
      choose(0), laps(Game::classicLaps), difficulty(Difficulty::normal), championship{}, timeAttack(false),
      verifyPath{}, players(1), help(false) {}

// A seed: the whole text decimal digits that fit 64 bits.
static bool parseSeed(const char* text, uint64_t& value) {
    if (!text || !*text || strlen(text) > 20) return false;
    for (const char* p = text; *p; p++)
        if (*p < '0' || *p > '9') return false;
    errno = 0;
    unsigned long long v = strtoull(text, nullptr, 10);
    if (errno != 0) return false;
    value = (uint64_t)v;
    return true;
}

// The whole text must be a finite number.
static bool parseDouble(const char* text, double& value) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    double v = strtod(text, &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(v)) return false;
    value = v;
    return true;
}

static bool parseInt(const char* text, int& value) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    long v = strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || v < -1000000 || v > 1000000) return false;
    value = (int)v;
    return true;
}

// Copies a path, refusing one that would be cut short.
static bool copyPath(char* dest, const char* text) {
    if (!text || !*text || strlen(text) >= (size_t)runnerPathSize) return false;
    strcpy(dest, text);
    return true;
}

bool parseRunnerOptions(int argc, const char* const* argv, RunnerOptions& options, FILE* err) {
    for (int i = 1; i < argc; i++) {
        const char* name = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool ok = true;
        bool takesValue = true;
        if (!strcmp(name, "--idle")) {
            options.idle = true;
            takesValue = false;
        } else if (!strcmp(name, "--keep")) {
            options.keep = true;
            takesValue = false;
        } else if (!strcmp(name, "--time-attack")) {
            options.timeAttack = true;
            takesValue = false;
        } else if (!strcmp(name, "--verify")) {
            ok = copyPath(options.verifyPath, value);
        } else if (!strcmp(name, "--help") || !strcmp(name, "-h")) {
            options.help = true;
            takesValue = false;
        } else if (!strcmp(name, "--track")) {
            ok = parseInt(value, options.track) && (options.track == 0 || options.track == 1);
            options.trackGiven = true;
        } else if (!strcmp(name, "--course")) {
            ok = copyPath(options.coursePath, value);
        } else if (!strcmp(name, "--generate")) {
            ok = parseSeed(value, options.seed);
            options.generate = true;
        } else if (!strcmp(name, "--save")) {
            ok = copyPath(options.savePath, value);
        } else if (!strcmp(name, "--players")) {
            ok = parseInt(value, options.players) && options.players >= 1 && options.players <= 2;
        } else if (!strcmp(name, "--laps")) {
            ok = parseInt(value, options.laps) && options.laps >= Game::minLaps && options.laps <= Game::maxLaps;
        } else if (!strcmp(name, "--difficulty")) {
            ok = difficultyFromName(value, options.difficulty);
        } else if (!strcmp(name, "--championship")) {
            ok = copyPath(options.championship, value);
        } else if (!strcmp(name, "--frame")) {
            ok = parseDouble(value, options.frameSeconds) && options.frameSeconds >= minFrameSeconds &&
                 options.frameSeconds <= maxFrameSeconds;
        } else if (!strcmp(name, "--races")) {
            ok = parseInt(value, options.races) && options.races >= 1 && options.races <= maxRaces;
        } else if (!strcmp(name, "--draw-every")) {
            ok = parseInt(value, options.drawEvery) && options.drawEvery >= 0;
        } else if (!strcmp(name, "--choose")) {
            ok = parseInt(value, options.choose) && options.choose >= 0 && options.choose <= maxRaces;
        } else if (!strcmp(name, "--max-seconds")) {
            ok = parseDouble(value, options.maxSeconds) && options.maxSeconds > 0 &&
                 options.maxSeconds <= maxRaceSeconds;
        } else if (!strcmp(name, "--trace")) {
            ok = copyPath(options.tracePath, value);
        } else if (!strcmp(name, "--data")) {
            ok = copyPath(options.dataFolder, value);
        } else if (!strcmp(name, "--screenshots")) {
            ok = copyPath(options.screenshotFolder, value);
        } else if (!strcmp(name, "--record")) {
            ok = copyPath(options.recordPath, value);
        } else if (!strcmp(name, "--replay")) {
            ok = copyPath(options.replayPath, value);
        } else {
            fprintf(err, "trailerdash-runner: unknown option \"%s\"\n", name);
            return false;
        }
        if (!ok) {
            if (value)
                fprintf(err, "trailerdash-runner: %s cannot take \"%s\"\n", name, value);
            else
                fprintf(err, "trailerdash-runner: %s needs a value\n", name);
            return false;
        }
        if (takesValue) i++;
    }
    // Records and replays name a built-in course by number; a course file has none yet.
    const char* clash = nullptr;
    if (options.coursePath[0] && options.trackGiven) clash = "--course and --track name two courses";
    if (options.coursePath[0] && options.keep) clash = "--keep keeps records of the built-in courses only";
    if (options.generate && (options.coursePath[0] || options.trackGiven || options.replayPath[0]))
        clash = "--generate races the course it makes, not another";
    if (options.savePath[0] && !options.generate) clash = "--save writes what --generate makes";
    if (options.generate && options.keep) clash = "--keep keeps records of the built-in courses only";
    // Records and course proving are of the classic race; a replay carries its laps and level.
    bool classic = options.laps == Game::classicLaps && options.difficulty == Difficulty::normal;
    if (!classic && (options.keep || options.generate))
        clash = "--laps and --difficulty race without --keep or --generate";
    if (!classic && options.replayPath[0]) clash = "a replay races the laps and level it recorded";
    if (options.timeAttack && options.generate) clash = "--generate proves a course with the computer trucks";
    if (options.verifyPath[0] && (options.replayPath[0] || options.recordPath[0] || options.generate ||
                                  options.keep || options.timeAttack || !classic))
        clash = "--verify drives one replay again and races nothing else";
    // A championship race ends when the user's truck finishes, and its grid is the standings'.
    if (options.championship[0] &&
        (options.idle || options.coursePath[0] || options.trackGiven || options.choose || options.generate ||
         options.replayPath[0] || options.recordPath[0] || options.keep || options.races != 1))
        clash = "--championship races its own courses with the autopilot; it takes --trace, --laps, --difficulty, "
                "--screenshots, --draw-every, --frame, --max-seconds and --data";
    // A replay races the humans it recorded. A championship race and time attack end on player
    // one's finish and time attack is one truck alone; --generate proves a course with computer
    // trucks only: none of them has a player two.
    if (options.players > 1 && (options.replayPath[0] || options.verifyPath[0]))
        clash = "a replay races the players it recorded";
    if (options.players > 1 && (options.championship[0] || options.timeAttack || options.generate))
        clash = "--players 2 races without --championship, --time-attack or --generate";
    if (clash) {
        fprintf(err, "trailerdash-runner: %s\n", clash);
        return false;
    }
    return true;
}

void printRunnerUsage(FILE* out) {
    fprintf(out,
            "usage: trailerdash-runner [options]\n"
            "  --track N          course of the first race, 0 or 1 (default 0)\n"
            "  --frame SECONDS    real length of every frame (default 1/60)\n"
            "  --races N          races in a row; the courses alternate (default 1)\n"
            "  --idle             the user's truck gets no keys\n"
            "  --players N        1, or 2: truck 1 is player two's, also on the autopilot (default 1)\n"
            "  --trace FILE       CSV of every truck after every frame\n"
            "  --draw-every N     draw one frame in N, 0 for none (default 1: every frame)\n"
            "  --max-seconds S    simulated time limit per race (default 900)\n"
            "  --choose N         Right pressed N times on the title: the course the game's list gives\n"
            "  --data DIR         folder that holds \"images\" (default: found as the game finds it)\n"
            "  --screenshots DIR  PPM pictures of the title, race, zoomed race and results\n"
            "  --record FILE      write the (last) race's replay to FILE\n"
            "  --replay FILE      play a replay instead of racing: its course, frames and keys\n"
            "  --keep             keep records and replays as the game does (XDG_DATA_HOME)\n"
            "  --course FILE      race a course file instead of the built-in courses (every race)\n"
            "  --generate SEED    make a course from SEED, prove it (the four computer trucks finish\n"
            "                     six laps in time) or try the next seed, and print its figures\n"
            "  --save FILE        write the course --generate proved to FILE\n"
            "  --laps N           laps of every race, 1 to 10 (default 6)\n"
            "  --difficulty L     the computer drivers: easy, normal or hard (default normal)\n"
            "  --championship COURSES  a championship over a comma list of built-in course numbers,\n"
            "                     course files and random:N (N generated courses; random:N:SEED);\n"
            "                     prints the standings after every race\n"
            "  --time-attack      the user's truck alone, with time attack's splits and ghosts\n"
            "  --verify FILE      drive a replay again headlessly and say whether it reproduces\n"
            "                     itself: exit 0 verified, 1 not, 2 unreadable or unplayable\n"
            "Exit code 0 when every truck that should finish did, 1 when one did not, 2 for bad use,\n"
            "3 when an output file could not be written; SIGINT or SIGTERM stops the run after the\n"
            "current frame, with the trace whole, and the exit code is 128 + the signal.\n");
}
