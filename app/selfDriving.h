#pragma once
// trailerdash --autopilot: the player's truck drives itself, through the same key messages a
// player's keys make (so its races are recorded and proved as any other). A demo for the curious,
// and how the system tests reach a race's end through the real window.
#include <cstdint>

#include "race/autopilot.h"

class Game;

class SelfDriving {
public:
    // Once a frame, before the race's: posts the arrow key changes the autopilot wants while the
    // player's truck races (not held by a countdown or a pause), and lets go of them otherwise.
    void steer(const Game& game);

private:
    // Posts the key's change when it differs from what is held.
    void hold(int slot, bool down);

    Autopilot pilot;
    bool racing = false;
    bool held[4] = {};
    int64_t lastCounter = 0;
};
