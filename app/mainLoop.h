#pragma once
// The program's top: start-up, the combined message and frame loop, shut-down, and the window
// procedure that turns window messages into key, mouse and activation state.
#include <cstdint>

#include "core/frameCap.h"
#include "core/platform.h"

class Game;
class ScreenOverRace;
class ScreenSwitch;
class TimeAttack;
class RecordProver;
class FrontScreens;
class SelfDriving;

// False while the window is minimised (or hidden): then the loop runs no frames.
extern bool windowActive;

// Records the message in keys, mouse or windowActive; 0 for every message it handles, and the
// default procedure's result for the rest.
int64_t windowProc(void* window, unsigned message, uint64_t wParam, int64_t lParam);
// F11, or Alt+Enter (a menu key message), first press only: switches the desktop full screen.
bool isFullScreenToggle(unsigned message, uint64_t wParam, int64_t lParam);
// The keys of the desktop around the game: the full-screen switch and M for mute. True when the
// message was one of them.
bool desktopKey(unsigned message, uint64_t wParam, int64_t lParam);
// A screen takes the letters as text (the editor's name prompt): M types there, it does not mute.
extern bool typingText;
// What a window does with a message it does not handle: nothing, result 0. Counts them.
int64_t defaultWindowProc(void* window, unsigned message, uint64_t wParam, int64_t lParam);
extern int unhandledMessageCount;

// The loop's state. A pass handles one waiting message or, when none waits and the window is
// active, runs one frame; tests drive it pass by pass.
// Every message the game or the headless runner hands to a window procedure goes through pass,
// and every frame they run through frame: the place to watch a run frame by frame (a replay
// recorder would take the messages pass dispatched since the last frame, and each frame's counter
// step, perfCounterNow after the frame minus game.lastCounter before it).
class MainLoop {
public:
    explicit MainLoop(Game& game);

    // One pass of the loop; does nothing once done.
    void pass();
    // The frame: Escape, then runGameFrame (mouse, game update and drawing, console, cursor,
    // flush, swap, key roll-over). draw false leaves out the drawing, for the headless runner.
    void frame(bool draw = true);
    // Passes until done.
    void run();
    // The code of the quit message that ended the loop; 0 when Escape or nothing ended it.
    int exitCode() const;

    Game& game;
    bool done;
    bool messageRetrieved;
    WindowMessage lastMessage;
    int framesRun;
    // Draws one frame in this many (the others update only); tests that check many frames' state,
    // not their pictures, skip most of the drawing, which is most of a frame's time.
    int drawEvery = 1;
    // Paces drawn frames when the swap does not wait for the display; off until set.
    FrameCap frameCap;
    // The screen over the race that every frame hands the keys and the picture to; none until set.
    ScreenOverRace* over = nullptr;
    // The editor and its test drives, when the game offers them (not while a replay plays).
    ScreenSwitch* screens = nullptr;
    // Time attack, which the menu starts, and the prover it drives best runs again with.
    TimeAttack* timeAttack = nullptr;
    RecordProver* prover = nullptr;
    // The menus and settings: the player's keys and volumes come from them; none until set.
    FrontScreens* front = nullptr;
    // The player's truck on the autopilot (--autopilot); none until set.
    SelfDriving* selfDriving = nullptr;

private:
    // A keyboard key's message as the player's bindings make it, while the race has the keys.
    void remapKey(WindowMessage& msg) const;
};

class ReplayPlatform;

// The whole run: the full-screen question, the window, the game, the loop and the shut-down.
// With a player (the platform in use), the game plays its replay and keeps nothing. Returns the
// process exit code.
// startTimeAttack opens time attack on the first course instead of the classic title;
// autopilot drives the player's truck in every race.
int runGame(ReplayPlatform* player = nullptr, bool startTimeAttack = false, bool autopilot = false);
