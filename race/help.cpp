#include "race/help.h"

#include <GL/gl.h>

#include "core/input.h"
#include "graphics/font.h"
#include "graphics/rect.h"
#include "graphics/text.h"
#include "race/game.h"

// The README's key table, row for row, with the gamepad beside the keys it stands for.
// clang-format off
const HelpLine helpLines[] = {
    {"Space",          "A",            "start the race"},
    {"Return",         "Start",        "the menu, on the title"},
    {"Up",             "D-pad, stick", "accelerate"},
    {"Down",           "D-pad, stick", "brake, then reverse"},
    {"Left, Right",    "D-pad, stick", "steer"},
    {"R",              "Y",            "recover onto the road"},
    {"W, S, A, D, E",  "second pad",   "player two: drive, recover"},
    {"A, Z",           "LB, RB",       "zoom in, zoom out"},
    {"Right drag",     "",             "zoom: drag up or down"},
    {"P",              "",             "pause, resume"},
    {"G",              "",             "ghost of your best race"},
    {"M",              "",             "sound off, on"},
    {"F11, Alt+Enter", "",             "full screen, window"},
    {"F",              "",             "frame rate"},
    {"I",              "",             "truck position"},
    {"T",              "",             "clear the debug text"},
    {"H, F1",          "",             "this help"},
    {"Escape",         "B, Back",      "quit, or close this help"},
};
// clang-format on
const int helpLineCount = (int)(sizeof helpLines / sizeof helpLines[0]);

static const int titleX = 212;  // centres the title's 216 units
static const int titleY = 436;
static const int headsY = HelpLayout::firstRowY + 28;

HelpOverlay::HelpOverlay() : open(false), pausedRace(false), escapeHeld(false) {}

bool HelpOverlay::handleKeys(Game& game) {
    if (escapeHeld && !keys.isDown(VK_ESCAPE)) escapeHeld = false;
    bool toggle = keys.wasPressed('H') || keys.wasPressed(VK_F1);
    if (!open) {
        if (!toggle) return false;
        open = true;
        // Reading the keys must not cost the race any time.
        pausedRace = !game.waitingForStart && !game.paused;
        if (pausedRace) game.togglePause();
        return true;
    }
    if (keys.wasPressed(VK_ESCAPE)) {
        // Held on, the same Escape would quit in the next frame.
        escapeHeld = true;
        close(game);
    } else if (toggle) {
        close(game);
    }
    return true;
}

void HelpOverlay::close(Game& game) {
    open = false;
    // A race paused before the help was opened stays paused for its own P.
    if (pausedRace && game.paused) game.togglePause();
    pausedRace = false;
}

// Two veils over the picture, as the title's panel lies over the world, so the rows read on
// any ground; the keys yellow like the HUD's labels, the pad's buttons green.
void HelpOverlay::draw() const {
    if (!open) return;
    drawRect(Game::panelShade, 0, 0, 640, 480);
    drawRect(Game::panelShade, 20, (float)HelpLayout::panelBottom, (float)HelpLayout::panelRight, 472);
    textFont.setColour(1, 1, 1);
    printText(titleX, titleY, "KEYS AND BUTTONS");

    float cellWidth = textFont.cellWidth, cellHeight = textFont.cellHeight;
    textFont.setCellSize((int)(cellWidth * HelpLayout::rowScale), (int)(cellHeight * HelpLayout::rowScale));
    textFont.setColour(1, 1, 0);
    printText(HelpLayout::keysX, headsY, "Key");
    textFont.setColour(0, 1, 0);
    printText(HelpLayout::padX, headsY, "Gamepad");
    textFont.setColour(1, 1, 1);
    printText(HelpLayout::doesX, headsY, "Does");
    for (int i = 0; i < helpLineCount; i++) {
        int y = HelpLayout::firstRowY - HelpLayout::rowStep * i;
        textFont.setColour(1, 1, 0);
        printText(HelpLayout::keysX, y, "%s", helpLines[i].keys);
        textFont.setColour(0, 1, 0);
        printText(HelpLayout::padX, y, "%s", helpLines[i].pad);
        textFont.setColour(1, 1, 1);
        printText(HelpLayout::doesX, y, "%s", helpLines[i].does);
    }
    textFont.setCellSize((int)cellWidth, (int)cellHeight);
    textFont.setColour(1, 1, 1);
    glColor3f(1, 1, 1);
}
