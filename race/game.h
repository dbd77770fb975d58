#pragma once
// The race as a whole: it owns the world and everyone in it, measures each frame, handles the
// game's own keys and advances the world in up to six fixed sub-steps per frame.
#include <cstdint>

#include "core/timing.h"
#include "graphics/camera2D.h"
#include "physics/physics.h"
#include "race/driverStyle.h"
#include "race/help.h"
#include "race/raceHistory.h"
#include "race/view.h"
#include "vehicle/truck.h"
#include "track/track.h"
#include "track/trackTileSet.h"

class Player;
class PlayerAI;
struct Course;

// Getting one human's truck unstuck (recover.cpp): the race clock when the truck is set down,
// negative when not asked; how long it has crawled off the road or against something, and the
// hint's deadline.
struct RecoverWatch {
    double at = -1.0;
    double stuckSeconds = 0.0;
    double hintUntil = -1.0;
    bool hintGiven = false;
    double kicksSeen = 0.0;  // the truck's collision kicks summed up to the last frame
};

class Game {
public:
    Game();
    virtual ~Game();

    // Once at start-up, after the window and the textures exist, with the data folder (the
    // one holding "images") as the working directory.
    void load();
    // Puts every truck on the grid of the current track, resets the players and refills the world.
    void resetRace();
    // Builds the tile set and both courses.
    void buildTracks();
    // Races the course in the given track slot from the next race on (at once when it is the
    // current one); false for a slot the game does not have. After load.
    bool useCourse(int slot, const Course& course);
    // What to race, handed in from outside (raceRules.cpp): the laps, from minLaps to maxLaps
    // (false, unchanged, otherwise), and the computer drivers' level. Before load or between
    // races; the defaults are the classic race.
    bool setLaps(int laps);
    void setDifficulty(Difficulty level);
    // The grid of the next race on: truckAtSlot[s] is the truck on grid slot s (slot 0 at the
    // back, where truck 0 starts the classic race), and positions start in grid order, front
    // first. False, unchanged, unless every truck is named once; null gives the classic grid back.
    bool setGridOrder(const int* truckAtSlot);
    // How many computer trucks race beside the user's, 0 (alone, as in time attack) to 4 (the
    // classic race); false, unchanged, otherwise. After load, on the title or the results.
    bool setRivals(int count);
    int rivals() const { return trucksInUse() - 1; }
    // How many trucks people drive, handed in from the race's setup: 1 (truck 0, the classic
    // race) or 2 (trucks 0 and 1, player two on its own keys); every other truck is a computer
    // driver. False, unchanged, otherwise. On the title or the results (humans.cpp).
    bool setHumans(int count);
    int humans() const { return humanCount; }
    bool isHuman(int truck) const { return truck >= 0 && truck < humanCount; }
    // True once every human has done the race's laps: that ends the race.
    bool humansFinished() const;
    // Once a frame: timing, input, then the sub-steps of the world.
    void update();
    // Once a frame, after update: the world through the camera, then the overlay.
    void draw();
    void handleInput();
    void handleKeys();
    void handleMouse();
    // Samples the counter and sets frameTime: 0.9 of the real interval, at most maxFrameTime.
    void updateTimer();
    // Ranks the trucks by laps and checkpoints, leader first; ties keep their previous order.
    void updatePositions();
    // The overlays, drawn in screen coordinates after the world.
    void drawHud();
    void drawSpeedAndPower(const Truck& t);
    void drawResults();
    void drawTitle();
    void drawTitleRecords();
    void drawNewRecordMark();
    void drawStartPrompt();
    void drawReplayMark(int x, int y);
    // Fixes each finisher's place ahead of everyone still racing; part of updatePositions.
    void holdFinishOrder();
    bool hasFinished(int truck) const;
    // Takes the trucks of finished players out of the collision world, drawn faded from then on.
    void retireFinishers();
    void coastRetired();
    // P while racing: stops the world and holds every race clock until P again.
    void togglePause();
    void drawPaused();
    // The missed-checkpoint text and arrow: each human's cue watched once a frame, and the
    // classic picture's for the user's truck.
    void watchCheckpoints(int human);
    void drawCues();
    // A two-player race (viewDraw.cpp): a view per human laid over the whole drawable, each with
    // its own camera, heads-up display and missed-checkpoint cue.
    void drawViews();
    void drawView(int human, const ViewRect& rect);
    void drawViewHud(int human, float height);
    void drawViewCue(int human, float width, float height);
    // R (player two's E) while racing: the human's truck waits a moment where it is, then stands
    // on the road at its last checkpoint; a truck stuck for a while is told about its key once a
    // race (recover.cpp).
    void requestRecover(int human = 0);
    void watchRecover();
    void watchRecoverOf(int human);
    // The recovery's words for a human's cue line, or null when it has none to say.
    const char* recoverCueText(int human) const;
    bool drawRecoverCue();
    // Where the human's recovered truck is set down; false while every place there is taken.
    bool findRecoverSpot(int human, float& x, float& y, float& heading) const;
    // Veils behind the HUD's text cells and the results rows, and the frame on the user's row.
    void drawHudBacking();
    void drawResultsRowBacking(int rowY, bool usersRow);
    void drawLapLabels();

    // How many sub-steps a frame of frameTime seconds runs, and the length of each, written
    // back into frameTime.
    static int chooseSubSteps(double& frameTime);

    static constexpr double gameTimeScale = 0.9;   // game seconds per real second
    static constexpr double maxFrameTime = 0.1;    // seconds; a slow frame slows the game instead
    static constexpr float subStepLength = 0.01f;  // seconds; compared in single precision
    static constexpr int maxSubSteps = 6;
    static constexpr int maxTrucks = 5;
    static constexpr int maxTracks = 2;
    static constexpr int minLaps = 1;
    static constexpr int maxLaps = 10;
    static constexpr int classicLaps = 6;
    // Starting grid: three columns along x, two rows in y.
    static constexpr float gridStartX = 250.0f;
    static constexpr float gridColumnSpacing = 200.0f;
    static constexpr float gridEvenY = 1960.0f;
    static constexpr float gridOddY = 1880.0f;

    int64_t lastCounter;  // counter at the previous frame
    // Truck 0's view, and in a two-player race truck 1's: each human's camera and cue.
    static constexpr int maxHumans = 2;
    View views[maxHumans];
    Drawable drawable;        // the surface a two-player race lays its views over (view.h)
    FrameRateDisplay frameRate;
    Truck trucks[maxTrucks];  // truck i is driven by players[i]; truck 0 is the user's
    int truckCount;
    Player* players[maxTrucks];  // owned; created by load
    // Owned: whichever of player two and truck 1's computer driver is not racing (humans.cpp).
    Player* benched = nullptr;
    int humanCount = 1;
    int playerCount;
    Physics physics;
    Track tracks[maxTracks];
    int trackCount;  // tracks built
    int currentTrack;
    int positionOrder[maxTrucks];  // truck index at each race position, leader first
    bool waitingForStart;          // the title or results screen waits for Space
    bool raceOver;                 // truck 0 has completed lapsToRace laps
    TrackTileSet tileSet;
    int lapsToRace;
    Difficulty difficulty = Difficulty::normal;  // the computer drivers' level
    int gridOrder[maxTrucks] = {0, 1, 2, 3, 4};  // the truck on each grid slot (raceRules.cpp)
    bool gridHanded = false;                     // a grid other than the classic one was handed in
    // A screen above the race has Space: the title and the results start nothing while set.
    bool startHeld = false;
    Stopwatch raceClock;  // real time since the race started
    float showFrameRate;  // flags kept as floats: nonzero shows the text
    float showInfo;
    RaceHistory history;  // records, replays and the ghost
    HelpOverlay help;     // H or F1: every key and button (help.cpp)

    // Finishers keep the place they finished in (raceOrder.cpp).
    int finishOrder[maxTrucks];  // truck indices in the order they completed their laps
    int finishedCount;
    // Finished trucks out of the collision world (finishers.cpp).
    bool retired[maxTrucks];
    // P stops the race and its clocks (pause.cpp).
    bool paused;
    // A screen above the race holds it still (a countdown, a pause menu): clocks held as by P,
    // nothing drawn for it.
    bool held = false;
    // A recorded race played back: "REPLAY" while it plays, and at its end the keys that work.
    enum ReplayShow { noReplay, replayPlaying, replayEnded };
    ReplayShow replayShow = noReplay;

    static constexpr double missedCueSeconds = 2.0;
    // Recovery of each human's truck (recover.cpp); index 1 only in a two-player race.
    RecoverWatch recovery[maxHumans];
    // The key each human recovers with, as the hint names it: the front sets the bound ones.
    char recoverKeyName[maxHumans][16] = {"R", "E"};
    static constexpr double recoverDelaySeconds = 1.0;
    // Every backing panel and veil over the world: drawRect's shade for black at opacity 0.45.
    static constexpr float panelShade = -0.3f;

    // Space on the title or results screen; a screen above the race (a test drive, a quick race)
    // may start one too.
    void startRace();

private:
    // One sub-step of the world, frameTime long.
    void subStep();
    // Moves every race stopwatch on by counts, so a paused frame adds no race time.
    void holdClocks(int64_t counts);
    // The grid slot truck starts on (raceRules.cpp).
    int gridSlotOf(int truck) const;
    // The counts in use, never past the fixed arrays.
    int trucksInUse() const { return truckCount < 0 ? 0 : truckCount > maxTrucks ? maxTrucks : truckCount; }
    // The computer driver of truck i, racing or benched; null before load.
    PlayerAI* computerDriver(int i);
    int playersInUse() const { return playerCount < 0 ? 0 : playerCount > maxTrucks ? maxTrucks : playerCount; }
};
