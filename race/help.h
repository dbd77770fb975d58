#pragma once
// The help overlay: every key and gamepad button the game answers to, on a panel over the
// screen. H or F1 opens it; H, F1 or Escape closes it. Opened during a race it pauses the race,
// and closing it resumes only a race that it paused itself.

class Game;

// One row of the help: the keys, the gamepad buttons that do the same ("" for none) and what
// they do.
struct HelpLine {
    const char* keys;
    const char* pad;
    const char* does;
};
extern const HelpLine helpLines[];
extern const int helpLineCount;

// Where the help's columns start and where its panel ends, in screen units (640 x 480).
struct HelpLayout {
    static constexpr int keysX = 80;
    static constexpr int padX = 230;
    static constexpr int doesX = 350;
    static constexpr int panelRight = 620;
    static constexpr int firstRowY = 386;  // the first row's cells; each next row lower by rowStep
    static constexpr int rowStep = 22;
    static constexpr int panelBottom = 8;
    // The rows' cells are this fraction of the font's own, so every key fits on one screen.
    static constexpr float rowScale = 0.7f;
};

class HelpOverlay {
public:
    HelpOverlay();
    // Once a frame, before the game's own keys. Opens or closes on H, F1 or Escape; true while
    // the overlay is open, when the game's other keys are left alone.
    bool handleKeys(Game& game);
    // True while Escape belongs to the overlay rather than quitting: while it is open, and while
    // the Escape that closed it is still held.
    bool takesEscape() const { return open || escapeHeld; }
    bool isOpen() const { return open; }
    // Over the world, in place of the screen's own overlay; nothing while closed.
    void draw() const;

private:
    void close(Game& game);

    bool open;
    bool pausedRace;  // opening the help paused the race, so closing it resumes the race
    bool escapeHeld;  // the Escape that closed the help is still down
};
