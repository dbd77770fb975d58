#pragma once
// The race as a whole: it owns the world and everyone in it, measures each frame, handles the
// game's own keys and advances the world in up to six fixed sub-steps per frame.
#include <cstdint>

#include "app/timing.h"
#include "graphics/camera2D.h"

class Game {
public:
    Game();
    virtual ~Game();

    // Once at start-up, after the window and the textures exist.
    void load();
    // Once a frame: timing, input, then the sub-steps of the world.
    void update();
    // Once a frame, after update: the world through the camera, then the overlay.
    void draw();
    void handleInput();
    void handleKeys();
    void handleMouse();
    // Samples the counter and sets frameTime: 0.9 of the real interval, at most maxFrameTime.
    void updateTimer();

    // How many sub-steps a frame of frameTime seconds runs, and the length of each, written
    // back into frameTime.
    static int chooseSubSteps(double& frameTime);

    static constexpr double gameTimeScale = 0.9;   // game seconds per real second
    static constexpr double maxFrameTime = 0.1;    // seconds; a slow frame slows the game instead
    static constexpr float subStepLength = 0.01f;  // seconds; compared in single precision
    static const int maxSubSteps = 6;
    static const int maxTrucks = 5;

    int64_t lastCounter;       // counter at the previous frame
    Camera2D camera;           // follows truck 0
    FrameRateDisplay frameRate;
    // trucks[maxTrucks] go here.
    int truckCount;
    // players[maxTrucks] go here.
    int playerCount;
    // physics, tracks[2] and trackCount go here.
    int currentTrack;
    int positionOrder[maxTrucks];  // truck index at each race position, leader first
    bool waitingForStart;          // the title or results screen waits for Space
    bool raceOver;                 // truck 0 has completed lapsToRace laps
    // tileSet goes here.
    int lapsToRace;
    Stopwatch raceClock;           // real time since the race started
    float showFrameRate;           // flags kept as floats: nonzero shows the text
    float showInfo;

private:
    // Space on the title or results screen.
    void startRace();
    // One sub-step of the world, frameTime long.
    void subStep();
};
