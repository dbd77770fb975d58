#include "app/selfDriving.h"

#include "core/input.h"
#include "core/platform.h"
#include "race/game.h"

// The arrow keys in DriveKeys' order.
static const int arrowCodes[4] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN};

void SelfDriving::steer(const Game& game) {
    // The autopilot's stuck and wrong-way timers run on the desktop's time between frames.
    int64_t now = platform().queryPerformanceCounter();
    double seconds = lastCounter ? (double)(now - lastCounter) / (double)platform().queryPerformanceFrequency() : 0.0;
    lastCounter = now;
    bool wasRacing = racing;
    racing = !game.waitingForStart && !game.raceOver && !game.hasFinished(0);
    if (racing && !wasRacing) pilot.reset();
    DriveKeys drive = {false, false, false, false};
    // A held race (countdown, pause menu) keeps its keys, and its clocks, still.
    bool still = game.paused || game.held;
    if (racing && !still) drive = pilot.decide(game.trucks[0], game.tracks[game.currentTrack], seconds);
    if (still) return;
    hold(0, drive.left);
    hold(1, drive.right);
    hold(2, drive.up);
    hold(3, drive.down);
}

void SelfDriving::hold(int slot, bool down) {
    if (held[slot] == down) return;
    // A full queue drops the change; the next frame tries again.
    if (platform().postMessage(down ? WM_KEYDOWN : WM_KEYUP, (uint64_t)arrowCodes[slot], 0)) held[slot] = down;
}
