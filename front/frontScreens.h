#pragma once
// The screens above the race, as one: the title's course choice, Return for the menu, the
// Options and the ways to play the menu opens. While one of them has the keyboard the race sees
// no keys, and Escape is theirs rather than the program's end.
#include "front/championship.h"
#include <cstdint>

#include "front/courseChoice.h"
#include "front/menu.h"
#include "front/options.h"
#include "front/quickRace.h"
#include "race/gameFrame.h"
#include "records/settings.h"

class FrontScreens : public ScreenOverRace {
public:
    enum Shown { title, menu, options };

    void update(Game& game) override;
    void afterUpdate(Game& game) override;
    void draw(const Game& game) override;
    bool takesEscape(const Game& game) const override;

    // The race's keys are the rebound ones: false while a menu, the Options or the pause menu
    // reads the keyboard as it is.
    bool racingKeys() const;
    // The menu's entries.
    void startQuickRace(Game& game, int humans = 1);
    void openOptions();
    void openChampionship(Game& game);
    // The editor is the shell's to open: the menu closes and says it was asked for.
    void askForEditor() {
        shown = title;
        editorAsked = true;
    }
    bool editorAsked = false;
    // Time attack likewise: the shell holds it over these screens.
    void askForTimeAttack() {
        shown = title;
        timeAttackAsked = true;
    }
    bool timeAttackAsked = false;

    CourseChoice choice;
    Settings settings;
    // Where the settings are saved; empty keeps them for this run only.
    char settingsFile[512] = {};
    // The player has settings of their own (a file found, or Options left): their name goes
    // beside the records they set. Without, the records are kept as they always were.
    bool namesRecords = false;
    Shown shown = title;
    MenuList menuList;
    Options optionsScreen;
    QuickRace quick;
    Championship championship;

private:
    // Hides this frame's keys (all, or only Escape) from the race until afterUpdate.
    void hideKeys(bool all);
    void leaveOptions();

    uint8_t hidden[256] = {};
    bool hiding = false;
    bool escapeHeld = false;  // an Escape a screen used, still down
};
