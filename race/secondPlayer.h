#pragma once
// The second human of a two-player race: drives truck 1 from its own four codes, which the keys
// bound to them (W A S D unless rebound) and the second gamepad send, so the arrow keys of player
// one never reach it.
#include "core/input.h"
#include "race/player.h"

// The four keys one human drives with, as virtual-key codes.
struct DrivingKeys {
    int left, right, up, down;
};

// Player two's own codes (the keyboard's left half turns into them as the player bound it).
constexpr DrivingKeys secondPlayerKeys = {VK_PLAYER2_LEFT, VK_PLAYER2_RIGHT, VK_PLAYER2_UP, VK_PLAYER2_DOWN};

class PlayerSecondUser : public Player {
public:
    PlayerSecondUser();
    ~PlayerSecondUser() override;
    // The same rules as player one's keys: Right wins over Left, Down's throttle over Up's.
    void control() override;

    DrivingKeys drivingKeys = secondPlayerKeys;
};
