#pragma once
// The second human of a two-player race: drives truck 1 from its own four keys (W A S D unless
// rebound), so the arrow keys of player one never reach it.
#include "race/player.h"

// The four keys one human drives with, as virtual-key codes.
struct DrivingKeys {
    int left, right, up, down;
};

// Player two's own keys, the left half of the keyboard.
constexpr DrivingKeys secondPlayerKeys = {'A', 'D', 'W', 'S'};

class PlayerSecondUser : public Player {
public:
    PlayerSecondUser();
    ~PlayerSecondUser() override;
    // The same rules as player one's keys: Right wins over Left, Down's throttle over Up's.
    void control() override;

    DrivingKeys drivingKeys = secondPlayerKeys;
};
