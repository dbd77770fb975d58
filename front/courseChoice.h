#pragma once
// The title's choice of course: Left and Right step through the course list, the title shows
// the chosen one's name under the game's own lines, and the race is handed that course. Until
// Left or Right is pressed nothing is touched, so the game starts as it always has.
#include <cstdint>
#include <cstdio>

#include "front/randomCourses.h"
#include "race/gameFrame.h"
#include "track/courseLibrary.h"

class CourseProver;

// Frames of proof a title frame spends on the next random course: ahead of time (about a
// millisecond on the 2-core machine), and while the player waits on the random entry.
const int aheadProofFrames = 400;
const int waitingProofFrames = 2400;
// Shown for the random entry while its course is proved.
extern const char provingText[];

class CourseChoice : public ScreenOverRace {
public:
    CourseChoice();
    ~CourseChoice() override;
    CourseChoice(const CourseChoice&) = delete;
    CourseChoice& operator=(const CourseChoice&) = delete;
    // Lists the courses (CourseLibrary::gather); the choice starts on the first built-in one.
    void gather(const char* shippedFolder, const char* playerFolder, FILE* err);
    // Left and Right while the title is up; a change in the player's folder (a course saved by
    // the editor, or copied in) lists the courses again.
    void update(Game& game) override;
    // The chosen course's name over the title.
    void draw(const Game& game) override;
    // Moves the choice by step entries, wrapping at both ends, and hands its course to the game;
    // on the random entry, once its course is proved (the title holds Space until then).
    void step(Game& game, int step);
    // Finishes at once the proof the random entry waits on (the headless runner's --choose).
    void settle(Game& game);
    // The title is up and free: no race, results, replay or help on screen.
    static bool titleShown(const Game& game);

    CourseLibrary library;
    int chosen;
    int randomCount;  // random courses made so far; each gets a fresh seed
    // Proves the random courses; null until first needed, when a RaceProver of the choice's own
    // is made (tests hand in their own before that).
    CourseProver* prover;
    RandomCourses randoms;
    bool waitingForRandom;  // the random entry is chosen and its course is being proved

private:
    void handOver(Game& game, const CourseEntry& entry);
    // Proves the next random course by frames frames; offers it when the player waits on it.
    void proveRandom(Game& game, int frames);
    uint64_t freshSeed();
    // Lists the courses again, the choice staying on the same course where it is still listed.
    void regather(Game& game);

    int builtTracks;    // tracks the game built itself, -1 until the first choice
    bool slotReplaced;  // track slot 0 holds a course other than the first built-in one
    bool ownsProver;

    static const int folderPathSize = 1024;
    char shipped[folderPathSize];
    char player[folderPathSize];  // empty when the player has no folder
    FILE* messages;
    int64_t playerStamp;  // the player's folder's change time in nanoseconds; -1 when it is missing
};
