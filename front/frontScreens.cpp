#include "front/frontScreens.h"

#include <cstring>

#include "core/input.h"
#include "graphics/font.h"
#include "graphics/text.h"
#include "race/game.h"

// The countdown keeps the race's keys, so a rebound accelerate held through it drives at the green.
bool FrontScreens::racingKeys() const { return shown == title && !quick.pause.isOpen && !championship.pause.isOpen; }

// A championship has Escape throughout: its boards' (it leaves the choice) and, in its races,
// the pause menu's.
bool FrontScreens::takesEscape(const Game&) const {
    return shown != title || quick.active || escapeHeld || championship.active();
}

void FrontScreens::openChampionship(Game& game) {
    shown = title;
    championship.open(game);
}

void FrontScreens::startQuickRace(Game& game, int humans) {
    shown = title;
    quick.start(game, settings, humans);
}

void FrontScreens::openOptions() {
    shown = options;
    optionsScreen.selected = 0;
    optionsScreen.message[0] = '\0';
}

void FrontScreens::leaveOptions() {
    shown = menu;
    namesRecords = true;
    if (settingsFile[0] && !settings.save(settingsFile))
        snprintf(optionsScreen.message, sizeof optionsScreen.message, "Settings not saved");
}

void FrontScreens::hideKeys(bool all) {
    memcpy(hidden, keys.down, sizeof hidden);
    hiding = true;
    if (all)
        memset(keys.down, 0, sizeof keys.down);
    else
        keys.down[VK_ESCAPE] = 0;
}

void FrontScreens::afterUpdate(Game&) {
    if (!hiding) return;
    memcpy(keys.down, hidden, sizeof hidden);
    hiding = false;
}

void FrontScreens::update(Game& game) {
    if (namesRecords) snprintf(game.history.holder, sizeof game.history.holder, "%s", settings.name);
    if (escapeHeld && !keys.isDown(VK_ESCAPE)) escapeHeld = false;
    // The help has the keys, Escape among them, wherever it is opened.
    if (game.help.isOpen()) return;
    bool escapePressed = keys.wasPressed(VK_ESCAPE);
    switch (shown) {
    case title:
        if (championship.active()) {
            if (escapePressed && championship.stage == Championship::choosing) {
                championship.stage = Championship::off;
                shown = menu;
            } else {
                bool hadKeys = championship.pause.isOpen;
                championship.update(game);
                if (hadKeys || championship.pause.isOpen) hideKeys(true);
            }
            break;
        }
        if (quick.active) {
            bool hadKeys = quick.takesKeys() || game.raceOver;
            if (quick.update(game) == QuickRace::toTitle) shown = title;
            hideKeys(hadKeys || quick.takesKeys());
            break;
        }
        if (CourseChoice::titleShown(game) && keys.wasPressed(Options::menuKey)) {
            shown = menu;
            menuList.selected = 0;
            hideKeys(true);
            break;
        }
        choice.update(game);
        break;
    case menu: {
        MenuMove move = menuList.handle(mainMenuCount);
        if (move == menuBack) shown = title;
        const MenuEntry& e = mainMenuEntries[menuList.selected];
        if (move == menuChosen && e.choose) e.choose(*this, game);
        hideKeys(true);
        break;
    }
    case options:
        if (optionsScreen.update(settings)) leaveOptions();
        hideKeys(true);
        break;
    }
    // An Escape a screen used must not end the program while it is still held.
    if (escapePressed && (shown != title || quick.active || hiding || championship.active())) escapeHeld = true;
    if (escapeHeld && !hiding) hideKeys(false);
}

void FrontScreens::draw(const Game& game) {
    switch (shown) {
    case title:
        if (championship.active()) {
            championship.draw(game);
        } else if (quick.active) {
            quick.draw(game);
        } else {
            choice.draw(game);
            // The title's hint for the menu, beside the game's name.
            if (CourseChoice::titleShown(game)) {
                textFont.setColour(1, 1, 0);
                printText(340, 422, "Return menu");
                textFont.setColour(1, 1, 1);
            }
        }
        break;
    case menu: {
        MenuRow rows[16];
        int count = mainMenuCount < 16 ? mainMenuCount : 16;
        for (int i = 0; i < count; i++)
            rows[i] = {mainMenuEntries[i].label, mainMenuEntries[i].choose ? nullptr : "coming soon", !mainMenuEntries[i].choose};
        drawMenuPanel("TRAILER DASH", rows, count, menuList.selected, "Return chooses, Esc back");
        break;
    }
    case options: optionsScreen.draw(settings); break;
    }
}
