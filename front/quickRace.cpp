#include "front/quickRace.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstring>

#include "core/input.h"
#include "core/platform.h"
#include "core/timing.h"
#include "graphics/font.h"
#include "graphics/rect.h"
#include "graphics/smoothShape.h"
#include "graphics/text.h"
#include "race/game.h"
#include "race/player.h"
#include "race/secondPlayer.h"
#include "records/settings.h"

static Difficulty levelOf(int settingsLevel) {
    return settingsLevel == settingsEasy ? Difficulty::easy : settingsLevel == settingsHard ? Difficulty::hard : Difficulty::normal;
}

void QuickRace::start(Game& game, const Settings& s, int humans) {
    Player* user = game.players[0];
    if (!active && user) snprintf(savedName, sizeof savedName, "%.*s", (int)sizeof savedName - 1, user->getName());
    active = true;
    // Before the name: a change of humans names both players afresh.
    game.setHumans(humans);
    game.setLaps(s.laps);
    game.setDifficulty(levelOf(s.difficulty));
    assisted = s.assist;
    if (user) {
        // Beside "Player 2" the default name reads as "Player 1"; a name of the player's own stays.
        static const Settings defaults;
        if (humans == 1 || strcmp(s.name, defaults.name) != 0) user->setName(s.name);
        static_cast<PlayerUser*>(user)->assist = s.assist;
        static_cast<PlayerUser*>(user)->brakeBeforeBends = s.assist && s.difficulty == settingsEasy;
    }
    if (game.history.ghostShown != s.ghost) game.history.toggleGhost();
    restart(game);
}

void QuickRace::restart(Game& game) {
    game.paused = false;
    game.resetRace();
    game.waitingForStart = true;
    // The race's records: only six laps count (the records hold six-lap times, and the frame's
    // end offers none for other laps); the replay knows the countdown, not the assist.
    game.history.offRecord = assisted;
    game.history.countdownStart = true;
    game.startRace();
    game.held = true;
    counting = true;
    pause.isOpen = false;
    countdown = 0;
    beeps++;  // the first red light
    // The counter the game read last frame: the countdown advances by the steps the frames
    // record, so a replay holds the grid for exactly the same frames.
    lastCounter = game.lastCounter;
}

void QuickRace::stop(Game& game) {
    active = counting = pause.isOpen = false;
    game.held = false;
    game.history.offRecord = false;
    game.history.countdownStart = false;
    assisted = false;
    game.paused = false;
    game.setLaps(Game::classicLaps);
    game.setDifficulty(Difficulty::normal);
    // The classic race is one player's, whatever was raced from the menu.
    game.setHumans(1);
    if (Player* user = game.players[0]) {
        if (savedName[0]) user->setName(savedName);
        static_cast<PlayerUser*>(user)->assist = false;
        static_cast<PlayerUser*>(user)->brakeBeforeBends = false;
    }
    game.resetRace();
    game.waitingForStart = true;
    game.raceOver = false;
}

int QuickRace::lightsAt(double seconds) {
    if (seconds < 0) return 0;
    int light = 1 + (int)(seconds / lightSeconds);
    return light > 4 ? 4 : light;
}

QuickRace::Leave QuickRace::update(Game& game) {
    if (!active) return stay;
    int64_t now = game.lastCounter;
    double step = perfFrequency > 0 ? (double)(now - lastCounter) / (double)perfFrequency : 0.0;
    lastCounter = now;
    if (pause.isOpen) {
        PauseMenu::Choice c = pause.update(game, counting);
        if (c == PauseMenu::restart) restart(game);
        if (c == PauseMenu::toTitle) {
            stop(game);
            return toTitle;
        }
        return stay;
    }
    if (game.raceOver) {
        // The results: Space races again with a countdown, Escape goes back to the title.
        if (keys.wasPressed(VK_SPACE) || keys.wasPressed(VK_RETURN)) restart(game);
        if (keys.wasPressed(VK_ESCAPE)) {
            stop(game);
            return toTitle;
        }
        return stay;
    }
    if (keys.wasPressed(VK_ESCAPE)) {
        pause.open(game);
        return stay;
    }
    if (counting) {
        int before = lightsAt(countdown);
        countdown += step * Game::gameTimeScale;
        int after = lightsAt(countdown);
        if (after != before) (after == 4 ? goes : beeps)++;
        if (after == 4) {
            counting = false;
            game.held = false;
            // Up held through the countdown puts the truck in gear as a fresh press would.
            if (keys.isDown(VK_UP)) game.trucks[0].selectGear(1);
            const PlayerSecondUser* two = game.humans() > 1 ? dynamic_cast<const PlayerSecondUser*>(game.players[1]) : nullptr;
            if (two && keys.isDown(two->drivingKeys.up)) game.trucks[1].selectGear(1);
        }
    } else {
        countdown += step * Game::gameTimeScale;
    }
    return stay;
}

// A light: an octagon with a soft rim, in screen coordinates.
static void drawLight(float x, float y, float radius, const float colour[4]) {
    float corners[8][2];
    for (int i = 0; i < 8; i++) {
        static const float unit[8][2] = {{1, 0}, {0.7071f, 0.7071f}, {0, 1}, {-0.7071f, 0.7071f},
                                         {-1, 0}, {-0.7071f, -0.7071f}, {0, -1}, {0.7071f, -0.7071f}};
        corners[i][0] = x + unit[i][0] * radius;
        corners[i][1] = y + unit[i][1] * radius;
    }
    glPushMatrix();
    glTranslatef(-320, -240, 0);  // screen coordinates, as drawRect uses
    fillSmoothConvex(corners, 8, 0.0f, 1.5f, colour);
    glPopMatrix();
}

// Three red lights, then all three green, over the grid.
static const float lightY = 300, lightRadius = 18, lightSpacing = 60, lightCentreX = 320;

void QuickRace::draw(const Game& game) const {
    if (!active) return;
    if (counting || countdown < 3 * lightSeconds + goShownSeconds) {
        int light = lightsAt(countdown);
        drawRect(Game::panelShade, lightCentreX - 100, lightY - 35, lightCentreX + 100, lightY + 35);
        for (int i = 0; i < 3; i++) {
            float x = lightCentreX + (float)(i - 1) * lightSpacing;
            static const float green[4] = {0.1f, 0.9f, 0.2f, 1}, red[4] = {0.95f, 0.1f, 0.1f, 1},
                               off[4] = {0.25f, 0.25f, 0.25f, 1};
            drawLight(x, lightY, lightRadius, light == 4 ? green : light > i ? red : off);
        }
        glColor3f(1, 1, 1);
        if (light == 4) {
            textFont.setColour(0.1f, 1, 0.2f);
            printText(296, 230, "GO");
        }
    }
    // The player's name under the position, where the classic HUD has nothing (two players'
    // views name their own).
    if (!game.waitingForStart && game.players[0] && game.humans() == 1) {
        drawRect(Game::panelShade, 244, 372, 430, 406);
        textFont.setColour(1, 1, 1);
        printText(250, 376, "%.12s", game.players[0]->getName());
    }
    pause.draw();
    textFont.setColour(1, 1, 1);
    glColor3f(1, 1, 1);
}

void QuickRaceReplay::reset() {
    quick = QuickRace();
    begun = hiding = escapeHeld = false;
}

void QuickRaceReplay::update(Game& game) {
    if (escapeHeld && !keys.isDown(VK_ESCAPE)) escapeHeld = false;
    bool escapePressed = keys.wasPressed(VK_ESCAPE);
    bool hadKeys = true;  // the menu's Return that started it was hidden too
    if (!begun) {
        begun = true;
        quick.active = true;
        quick.restart(game);
    } else if (quick.active) {
        hadKeys = quick.takesKeys() || game.raceOver;
        quick.update(game);
    } else {
        hadKeys = false;
    }
    // As the screens above the race hide them: all while the countdown, the pause menu or the
    // results have them, and an Escape they used until it is let go.
    if (hadKeys || quick.takesKeys()) {
        memcpy(hidden, keys.down, sizeof hidden);
        memset(keys.down, 0, sizeof keys.down);
        hiding = true;
    }
    if (escapePressed && (quick.active || hiding)) escapeHeld = true;
    if (escapeHeld && !hiding) {
        memcpy(hidden, keys.down, sizeof hidden);
        keys.down[VK_ESCAPE] = 0;
        hiding = true;
    }
}

void QuickRaceReplay::afterUpdate(Game&) {
    if (!hiding) return;
    memcpy(keys.down, hidden, sizeof hidden);
    hiding = false;
}
