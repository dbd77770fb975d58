#pragma once
// Proving a course drivable: the four computer trucks race it headlessly on a game of the
// prover's own, and each must finish its laps within a time the course's length allows; a
// truck that is stuck or lost runs out of it. The proof runs a slice of frames at a time, so the
// game on screen can go on between slices; the shared state (platform, keys, mouse, clock
// values) is put back after every slice.
#include <cstdint>

#include "core/input.h"
#include "core/platform.h"
#include "track/course.h"

class Game;

// Simulated time allowed per tile per lap, and for the start: about three times what the slowest
// computer truck takes, so only a truck that is stuck or lost runs out of it.
const double proofSecondsPerTileLap = 3.0;
const double proofStartAllowanceSeconds = 30.0;
// The proving race's frames: 60 a second, as the headless runner's.
const double proofFrameSeconds = 1.0 / 60.0;

enum ProofState { courseUnproved, courseProving, courseProved, courseRefused };

// What the game asks of a prover; tests hand in their own.
class CourseProver {
public:
    virtual ~CourseProver() = default;
    // Starts proving course, dropping any proof under way.
    virtual void begin(const Course& course) = 0;
    // Runs the proof on by at most frames frames; running until it is decided.
    virtual ProofState advance(int frames) = 0;
};

// The proof by racing.
class RaceProver : public CourseProver {
public:
    // With game given, proves on it (the headless runner's own); otherwise makes one on first
    // use, which must happen with the data folder the working one.
    explicit RaceProver(Game* game = nullptr);
    ~RaceProver() override;
    RaceProver(const RaceProver&) = delete;
    RaceProver& operator=(const RaceProver&) = delete;

    void begin(const Course& course) override;
    ProofState advance(int frames) override;
    // The whole proof at once.
    bool prove(const Course& course);

    ProofState state;
    int tiles;              // the loop's length in tiles
    double allowedSeconds;  // simulated time the computer trucks have
    long long frames;       // frames raced since the start
    // The computer trucks' completed laps: the best, the sum and how many.
    double bestLap, lapSum;
    int laps;

private:
    void setUp();
    // One frame of the race, then what it decided.
    ProofState step();
    void noteLaps();

    Game* game;
    bool ownsGame;
    Course course;
    bool started;  // the race was set up on the prover's game
    int lapsSeen[8];
    // The prover's own shared state, swapped in for a slice.
    ScriptedPlatform clock;
    Keys ownKeys;
    Mouse ownMouse;
    double ownFrameTime;
    int64_t ownNow, ownFrequency;
};
