// What the race shows: the world through the camera, then the title panel, the results table
// or the heads-up display in screen coordinates (origin bottom-left, 640 x 480).
#include <GL/gl.h>

#include <cstdio>
#include <cstring>

#include "core/assert.h"
#include "core/timing.h"
#include "graphics/font.h"
#include "graphics/rect.h"
#include "graphics/text.h"
#include "race/game.h"
#include "race/player.h"

// Results row colours by place, leader first.
static const float placeColours[Game::maxTrucks][3] = {
    {1.0f, 0.2f, 0.2f}, {0.8f, 0.2f, 0.4f}, {0.6f, 0.2f, 0.6f}, {0.4f, 0.2f, 0.8f}, {0.2f, 0.2f, 1.0f},
};
static const int resultsFirstRowY = 350;
static const int resultsRowSpacing = 45;

// The title text's left edge centres its widest line at the generated font's widths; the panel
// leaves a 20-unit margin round the text's cells (y 198 to 454).
static const int titleTextX = 140;
static const int titleTextY = 422;
static const float titlePanel[4] = {120, 178, 520, 470};
// The course's records continue the title's lines on a panel just under it.
static const int recordsFirstY = 158;
static const float recordsPanel[4] = {120, 106, 520, 178};

void Game::draw() {
    // Two people racing: a view each over the whole window; the boards before and after are the
    // picture's, as ever.
    if (humanCount > 1 && !waitingForStart && !help.isOpen()) {
        drawViews();
        if (paused) drawPaused();
        return;
    }
    glClear(GL_COLOR_BUFFER_BIT);
    glPushMatrix();
    Camera2D& camera = views[0].camera;
    camera.setPosition(trucks[0].getX(), trucks[0].getY());
    camera.apply();
    TD_ASSERT(currentTrack >= 0 && currentTrack < maxTracks);
    tracks[currentTrack].draw();
    // In index order, so higher-numbered trucks cover lower-numbered ones.
    for (int i = 0; i < trucksInUse(); i++) trucks[i].draw();
    // Over the world, under the overlays.
    history.drawGhost(*this);
    glPopMatrix();

    // The help stands in for the screen's own overlay, whose text would show through its veils.
    if (help.isOpen()) {
        help.draw();
        return;
    }
    if (waitingForStart) {
        // A screen above the race that holds the start draws its own boards instead.
        if (startHeld) return;
        if (raceOver) {
            drawResults();
        } else {
            drawTitle();
        }
        drawStartPrompt();
    } else {
        drawHud();
        drawCues();
        if (paused) drawPaused();
        if (replayShow != noReplay) {
            drawRect(panelShade, 514, 398, 636, 432);
            drawReplayMark(526, 404);
        }
        // A replay that ends mid-race (the race was quit) says the same as one that ends on
        // its results, beside the speed rather than over the truck.
        if (replayShow == replayEnded) {
            drawRect(panelShade, 290, 4, 630, 54);
            textFont.setColour(1, 1, 1);
            printText(302, 16, "SPACE replays, Esc quits\n");
        }
    }
}

// The game's name and how to play, over a darkened panel.
void Game::drawTitle() {
    drawRect(panelShade, titlePanel[0], titlePanel[1], titlePanel[2], titlePanel[3]);
    textFont.setColour(1, 1, 1);
    // One call: the empty second line sets the help apart from the name.
    printText(titleTextX, titleTextY,
              "TRAILER DASH\n\nUp drives, Down brakes\nArrows steer, P pause, R recover\nThe trailer needs room:\n"
              "brake before a bend\nand turn in early\nE editor, H/F1 help, Esc quits\n");
    drawTitleRecords();
    glColor3f(1, 1, 1);
}

// One record's line, "Best lap  00:14:25 Ada", in the panel's text colour: greyed and said to
// be unverified when its replay did not drive to it again. A holder's name too long for the panel
// is cut, with a full stop, until the line fits inside it.
static void drawRecordLine(int y, const char* head, float seconds, const char* by, bool failed) {
    // The records' text keeps the same margin on the panel's right as on its left.
    const int textRight = (int)recordsPanel[2] - (titleTextX - (int)recordsPanel[0]);
    char time[raceTimeTextSize];
    formatRaceTime(seconds, time);
    int whole = (int)strlen(by);
    char line[128];
    for (int keep = whole;; keep--) {
        bool cut = keep < whole;
        snprintf(line, sizeof line, "%s%s%s%.*s%s%s", head, time, keep ? " " : "", keep, by, cut && keep ? "." : "",
                 failed ? " unverified" : "");
        if (keep == 0 || titleTextX + textWidth(line) <= textRight) break;
    }
    textFont.setColour(failed ? 0.6f : 1.0f, failed ? 0.6f : 1.0f, failed ? 0.6f : 0.0f);
    printText(titleTextX, y, "%s", line);
}

// The current course's best lap and race, when it has any.
void Game::drawTitleRecords() {
    float lap = history.bestLap(*this);
    float race = history.bestRace(*this);
    if (lap <= 0.0f && race <= 0.0f) return;
    drawRect(panelShade, recordsPanel[0], recordsPanel[1], recordsPanel[2], recordsPanel[3]);
    if (lap > 0.0f)
        drawRecordLine(recordsFirstY, "Best lap  ", lap, history.lapHolder(*this), history.lapProof(*this) == proofFailed);
    if (race > 0.0f)
        drawRecordLine(recordsFirstY - 32, "Best race ", race, history.raceHolder(*this),
                       history.raceProof(*this) == proofFailed);
    textFont.setColour(1, 1, 1);
}

void Game::drawStartPrompt() {
    drawRect(panelShade, 160, 10, 440, 60);
    textFont.setColour(1, 1, 1);
    // A replay's Space is its own: nothing while it plays, the race again at its end.
    if (replayShow == replayPlaying)
        drawReplayMark(268, 22);
    else if (replayShow == replayEnded)
        printText(168, 22, "SPACE replays, Esc quits\n");
    else
        printText(196, 22, "Press SPACE to start\n");
    glColor3f(1, 1, 1);
}

// "REPLAY" in red, so a recorded race is never taken for one being driven.
void Game::drawReplayMark(int x, int y) {
    textFont.setColour(1, 0.3f, 0.3f);
    printText(x, y, "REPLAY");
    textFont.setColour(1, 1, 1);
}

// Everything shown is the user's truck.
void Game::drawHud() {
    const Truck& t = trucks[0];
    char time[raceTimeTextSize];

    drawHudBacking();
    textFont.setColour(1, 1, 0);
    printText(10, 440, "Total  Time");
    textFont.setColour(1, 1, 1);
    raceClock.formatElapsed(time);
    printText(10, 415, "%s", time);

    textFont.setColour(1, 1, 0);
    printText(10, 390, "Lap  Time");
    textFont.setColour(1, 1, 1);
    if (t.getLapCount() == 0) {
        formatRaceTime(t.getLapTime(), time);
        printText(10, 365, "%s", time);
    } else {
        // Best, last, current.
        formatRaceTime(t.getBestLapTime(), time);
        printText(10, 365, "%s", time);
        formatRaceTime(t.getLastLapTime(), time);
        printText(10, 340, "%s", time);
        formatRaceTime(t.getLapTime(), time);
        printText(10, 315, "%s", time);
        drawLapLabels();
    }

    textFont.setColour(1, 1, 0);
    printText(250, 440, "Position");
    textFont.setColour(1, 1, 1);
    printText(250, 415, "%d/%d\n", t.getRacePosition(), truckCount);

    textFont.setColour(1, 1, 0);
    printText(370, 440, "Lap");
    textFont.setColour(1, 1, 1);
    printText(370, 415, "%d/%d\n", t.getLapCount() + 1, lapsToRace);

    if (showFrameRate != 0.0f) frameRate.draw();
    if (showInfo != 0.0f) {
        printText(300, 40, "Info");
        printText(300, 10, "TruckPos %2.0f %2.0f", t.getX(), t.getY());
    }

    drawSpeedAndPower(t);
}

// The bottom-left corner of a HUD: the truck's speed and engine power, labelled in green.
void Game::drawSpeedAndPower(const Truck& t) {
    textFont.setColour(0, 1, 0);
    printText(10, 40, "Speed");
    printText(110, 40, "Power");
    textFont.setColour(1, 1, 1);
    printText(10, 10, "%2.0f", t.getSpeed() / 8);
    printText(110, 10, "%2.0f", t.getPower() * 30);
}

// One row per finished player in ranking order; an unfinished place stays blank.
void Game::drawResults() {
    drawRect(panelShade, 130, 100, 470, 450);
    textFont.setColour(1, 1, 1);
    printText(230, 400, "RACE RESULTS\n");
    // The table has one row per truck; more players than that have no row to go in.
    for (int p = 0; p < playersInUse(); p++) {
        int index = positionOrder[p];
        if (index < 0 || index >= maxTrucks) continue;
        const Player* player = players[index];
        if (!player || !player->isFinished()) continue;
        int y = resultsFirstRowY - resultsRowSpacing * p;
        drawResultsRowBacking(y, isHuman(index));
        textFont.setColour(placeColours[p][0], placeColours[p][1], placeColours[p][2]);
        printText(160, y, "%d", p + 1);
        printText(210, y, "%10.10s", player->getName());
        char time[raceTimeTextSize];
        formatRaceTime(player->getTime(), time);
        printText(370, y, "%s", time);
    }
    drawNewRecordMark();
    textFont.setColour(1, 1, 1);
    glColor3f(1, 1, 1);
}

// Under the table: what the user's race just beat.
void Game::drawNewRecordMark() {
    int beaten = history.lastBeaten;
    if (!beaten) return;
    textFont.setColour(1, 1, 0);
    const char* what = beaten == (newLapRecord | newRaceRecord) ? "New records: race and lap"
                       : beaten == newRaceRecord                ? "New record: race time"
                                                                : "New record: best lap";
    printText(160, 115, "%s", what);
}
