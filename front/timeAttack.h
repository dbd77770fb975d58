#pragma once
// Time attack: the user's truck alone on a course (no computer trucks) against the ghost of the
// best race alone there, and the studio's ghost shipped with the game; a split against the best
// at every checkpoint, medal targets from the studio run, and from the results one key (Space)
// races the new ghost. start is the mode's one way in (the menu's "Time attack").
#include <cstdint>
#include <cstdio>

#include "front/pauseMenu.h"
#include "front/replayDrive.h"
#include "race/gameFrame.h"
#include "records/courseKey.h"
#include "vehicle/truck.h"

class Game;
class Replay;
class RecordProver;

// Medal targets over the studio's time: gold within 2 %, silver within 8 %, bronze within 15 %.
// The studio run is our autopilot's, a clean line with no mistakes; a player who matches it to
// 2 % over six laps has driven about as well as the game can be driven.
const float goldOverStudio = 1.02f;
const float silverOverStudio = 1.08f;
const float bronzeOverStudio = 1.15f;

enum Medal { noMedal, bronzeMedal, silverMedal, goldMedal };

struct MedalTargets {
    float gold, silver, bronze;  // seconds; 0 when the course has no studio run
};

// The targets of a course whose studio run took studioSeconds (none when 0 or less).
MedalTargets medalTargetsFor(float studioSeconds);
// The best medal a race time earns: at or under a target earns it.
Medal medalFor(float seconds, const MedalTargets& targets);
const char* medalName(Medal medal);
// Split k of a race against the same checkpoint of the reference: now minus reference, in seconds
// (negative is ahead). False when either has not reached it.
bool splitDelta(const SplitTimes& now, const SplitTimes& reference, int k, float& delta);

// How long a split stays on the HUD after its checkpoint, in race seconds.
const double splitShownSeconds = 4.0;

class TimeAttack : public ScreenOverRace {
public:
    TimeAttack();
    ~TimeAttack() override;
    TimeAttack(const TimeAttack&) = delete;
    TimeAttack& operator=(const TimeAttack&) = delete;

    // Races the game's current course alone: no computer trucks, the classic laps, the best race
    // alone there as the ghost (and its splits, driven again by prover when one is given), the
    // studio run from studioFolder. The game waits on its grid for Space.
    void start(Game& game, RecordProver* prover, const char* studioFolder = "studio");
    // Back to the classic race: the computer trucks return.
    void stop(Game& game);
    void update(Game& game) override;
    void draw(const Game& game) override;
    // The keys hidden for the pause menu come back; the screens beneath see every frame's end.
    void afterUpdate(Game& game) override;
    // While the mode is on Escape is its own (the pause menu, or back to the title).
    bool takesEscape(const Game& game) const override {
        return active || escapeHeld || (under && under->takesEscape(game));
    }

    bool active;
    ScreenOverRace* under;  // what the title shows when the mode is off (the course choice); not owned
    MedalTargets medals;
    float studioSeconds;  // 0 with no studio run
    float bestSeconds;    // the best race alone here, 0 with none
    SplitTimes best;      // its checkpoints (or the studio run's until there is a best)
    bool bestHasSplits;
    SplitTimes now;      // the race under way
    float lastSplit;     // the latest split against the reference
    double lastSplitAt;  // the race clock when it was taken, negative before the first
    float raceSeconds;   // the finished race's time, 0 until it finishes
    bool newBest;        // the finished race beat the best
    Medal medal;
    PauseMenu pause;  // Escape in the race

private:
    // Escape's or the pause menu's way back to the title: the classic race's grid.
    void leave(Game& game);
    // Escape and the pause menu's keys: true when they had this frame.
    bool pauseKeys(Game& game);

    void loadStudio(Game& game, const char* folder);
    void loadBest(Game& game);
    void drawStudioGhost(const Game& game);
    void drawSplit(const Game& game);
    void drawTargets() const;
    void drawResults(const Game& game) const;

    RecordProver* prover;
    Game* game;  // the game started in; not owned
    bool racing;
    Replay* studio;
    bool studioLoaded;
    SplitTimes studioSplits;
    bool studioHasSplits;
    int studioFrame;
    double studioClock;
    Truck studioTruck;  // drawn only
    char studioFolder[256];
    bool escapeHeld;  // an Escape the mode used, still down
    bool hiding;
    uint8_t hidden[256];  // the keys held back from the race this frame
};
