#pragma once
// A race started from the menu: the settings' laps, level, name and assist, a 3-2-1-go countdown
// with lights before the race clock runs, the player's name on the HUD and the results, and
// Escape for a pause menu. The classic race (title, Space) has none of this.
#include <cstdint>

#include "front/pauseMenu.h"
#include "race/gameFrame.h"

class Game;
struct Settings;

class QuickRace {
public:
    // What the pause menu's choice asks of the screens above.
    enum Leave { stay, toTitle };

    // Sets the race up from settings and starts the countdown; humans 2 races player two on
    // truck 1 (the menu's "Two players").
    void start(Game& game, const Settings& settings, int humans = 1);
    // The race again from the grid, countdown and all. A six-lap race without the assist sets
    // records and leaves its replay like the classic race (the replay carries the countdown);
    // other laps, and an assisted race (its replay could not steer as the assist did), do not.
    void restart(Game& game);
    // Back to the classic race's own set-up, on the title.
    void stop(Game& game);
    // One frame: the countdown's clock, Escape, the pause menu and the results' keys.
    Leave update(Game& game);
    void draw(const Game& game) const;
    // The light shown (0 none, 1 to 3 red, 4 green) after seconds of countdown.
    static int lightsAt(double seconds);
    // The pause menu or the countdown has the keys: the race must not see them.
    bool takesKeys() const { return pause.isOpen || counting; }

    bool active = false;
    bool counting = false;
    double countdown = 0;  // seconds since the countdown began
    int64_t lastCounter = 0;  // the game's counter at the last update: the countdown runs on its frames' steps
    bool assisted = false;
    PauseMenu pause;
    // Every light's beep so far, and every green light's: the sound hears the changes.
    uint32_t beeps = 0, goes = 0;
    char savedName[128] = {};  // the classic name, given back at the title

    static constexpr double lightSeconds = 1.0;  // between lights
    static constexpr double goShownSeconds = 1.0;
};

// A recorded quick race driven again: started in its first frame as the menu started it, with
// the countdown, the pause menu's holds and the race's keys hidden in the very frames they were.
class QuickRaceReplay : public ScreenOverRace {
public:
    // Before the replay's first frame (again after a jump back to the grid).
    void reset();
    void update(Game& game) override;
    void afterUpdate(Game& game) override;
    void draw(const Game& game) override { quick.draw(game); }
    bool takesEscape(const Game&) const override { return quick.active || escapeHeld; }

    QuickRace quick;

private:
    bool begun = false;
    bool hiding = false;
    bool escapeHeld = false;
    uint8_t hidden[256] = {};
};
