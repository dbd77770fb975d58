#include "front/options.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstring>

#include "core/input.h"
#include "front/menu.h"
#include "graphics/font.h"
#include "graphics/rect.h"
#include "graphics/text.h"
#include "race/game.h"

static const int volumeStepPercent = 10;
static const char* const difficultyLabels[settingsDifficultyCount] = {"Easy", "Normal", "Hard"};
static const char* const startLabels[startScreenCount] = {"ask", "full screen", "windowed"};
static const char* const actionLabels[keyActionCount] = {
    "Accelerate", "Brake", "Steer left", "Steer right", "Start", "Pause", "Recover", "Ghost", "Sound off",
    "Help", "Zoom in", "Zoom out", "Frame rate", "Position", "Clear text", "Full screen", "Quit",
    "P2 accelerate", "P2 brake", "P2 steer left", "P2 steer right", "P2 recover",
};

static int clampTo(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

void Options::change(Settings& s, int row, int by) {
    switch (row) {
    case rowDifficulty: s.difficulty = clampTo(s.difficulty + by, 0, settingsDifficultyCount - 1); break;
    case rowLaps: s.laps = clampTo(s.laps + by, minSettingsLaps, maxSettingsLaps); break;
    case rowMaster:
    case rowEngines:
    case rowEffects: {
        int& v = s.volume[row - rowMaster];
        v = clampTo(v + by * volumeStepPercent, 0, maxVolumePercent);
        break;
    }
    case rowGhost: s.ghost = !s.ghost; break;
    case rowAssist: s.assist = !s.assist; break;
    case rowStart: s.start = ((s.start + by) % startScreenCount + startScreenCount) % startScreenCount; break;
    default: break;
    }
}

bool Options::bind(Settings& s, int action, int code) {
    char spelled[16];
    message[0] = '\0';
    if (code == menuKey) {
        snprintf(message, sizeof message, "Return opens the menu");
        return false;
    }
    const char* why = nullptr;
    if (s.bindKey(action, code, &why)) return true;
    int other = s.clashOf(action, code);
    snprintf(message, sizeof message, "%s is already %s", keyName(code, spelled, sizeof spelled),
             other >= 0 ? actionLabels[other] : "taken");
    return false;
}

// Letters (upper case with Shift), digits, space and a few marks; Backspace, Return, Escape.
void Options::type(Settings& s) {
    int length = (int)strlen(typed);
    if (keys.wasPressed(VK_RETURN)) {
        if (!s.setName(typed)) snprintf(message, sizeof message, "A name is 1 to %d letters", maxPlayerNameLength);
        typing = false;
        return;
    }
    if (keys.wasPressed(VK_ESCAPE)) {
        typing = false;
        return;
    }
    if (keys.wasPressed(VK_BACK) && length > 0) typed[--length] = '\0';
    bool shift = keys.isDown(VK_SHIFT);
    for (int code = 0; code < 256 && length < maxPlayerNameLength; code++) {
        if (!keys.wasPressed(code)) continue;
        char c = 0;
        if (code >= 'A' && code <= 'Z') c = shift ? (char)code : (char)(code - 'A' + 'a');
        if (code >= '0' && code <= '9') c = (char)code;
        if (code == VK_SPACE) c = ' ';
        if (code == VK_OEM_MINUS) c = shift ? '_' : '-';
        if (code == VK_OEM_PERIOD) c = '.';
        if (!c) continue;
        typed[length++] = c;
        typed[length] = '\0';
    }
}

bool Options::update(Settings& s) {
    if (typing) {
        type(s);
        return false;
    }
    if (waitingAction >= 0) {
        if (keys.wasPressed(VK_ESCAPE)) {
            waitingAction = -1;
            return false;
        }
        for (int code = 1; code < 256; code++) {
            if (!keys.wasPressed(code)) continue;
            bind(s, waitingAction, code);
            waitingAction = -1;
            break;
        }
        return false;
    }
    MenuList list{selected};
    MenuMove move = list.handle(rowCount);
    selected = list.selected;
    if (keys.wasPressed(VK_LEFT)) change(s, selected, -1);
    if (keys.wasPressed(VK_RIGHT)) change(s, selected, 1);
    if (move == menuBack) return true;
    if (move != menuChosen) return false;
    message[0] = '\0';
    if (selected == rowName) {
        typing = true;
        typed[0] = '\0';
    } else if (selected >= rowFirstKey && selected < rowFirstKey + keyActionCount) {
        waitingAction = selected - rowFirstKey;
    } else if (selected == rowResetKeys) {
        s.resetKeys();
    } else if (selected == rowBack) {
        return true;
    } else {
        change(s, selected, 1);
    }
    return false;
}

// Rows in smaller cells than the title's so a dozen fit; the list scrolls with the selection.
static const float optionsScale = 0.72f;
static const int shownRows = 12;
static const int optionsRowX = 150, optionsValueX = 360, optionsFirstY = 392, optionsSpacing = 26;
static const float optionsPanel[4] = {120, 40, 520, 462};

void Options::draw(const Settings& s) const {
    drawMenuBacking(optionsPanel[0], optionsPanel[1], optionsPanel[2], optionsPanel[3]);
    textFont.setColour(1, 1, 1);
    printText(optionsRowX, 424, "OPTIONS");
    float cellWidth = textFont.cellWidth, cellHeight = textFont.cellHeight;
    textFont.setCellSize((int)(cellWidth * optionsScale), (int)(cellHeight * optionsScale));
    int first = clampTo(selected - shownRows / 2, 0, rowCount - shownRows);
    for (int i = first; i < first + shownRows && i < rowCount; i++) {
        int y = optionsFirstY - optionsSpacing * (i - first);
        char value[48] = "";
        const char* label = "";
        switch (i) {
        case rowName:
            label = "Name";
            snprintf(value, sizeof value, "%s%s", typing ? typed : s.name, typing ? "_" : "");
            break;
        case rowDifficulty: label = "Difficulty"; snprintf(value, sizeof value, "%s", difficultyLabels[clampTo(s.difficulty, 0, 2)]); break;
        case rowLaps: label = "Laps"; snprintf(value, sizeof value, "%d", s.laps); break;
        case rowMaster: label = "Volume"; snprintf(value, sizeof value, "%d%%", s.volume[volumeMaster]); break;
        case rowEngines: label = "Engines"; snprintf(value, sizeof value, "%d%%", s.volume[volumeEngines]); break;
        case rowEffects: label = "Effects"; snprintf(value, sizeof value, "%d%%", s.volume[volumeEffects]); break;
        case rowGhost: label = "Ghost"; snprintf(value, sizeof value, "%s", s.ghost ? "on" : "off"); break;
        case rowAssist: label = "Steering assist"; snprintf(value, sizeof value, "%s", s.assist ? "on" : "off"); break;
        case rowStart: label = "Start"; snprintf(value, sizeof value, "%s", startLabels[clampTo(s.start, 0, 2)]); break;
        case rowResetKeys: label = "Reset keys"; break;
        case rowBack: label = "Back"; break;
        default:
            label = actionLabels[i - rowFirstKey];
            if (waitingAction == i - rowFirstKey)
                snprintf(value, sizeof value, "press a key");
            else {
                char spelled[16];
                snprintf(value, sizeof value, "%s", keyName(s.keys[i - rowFirstKey], spelled, sizeof spelled));
            }
        }
        if (i == selected) drawRect(-Game::panelShade * 0.3f, optionsPanel[0] + 10, (float)y - 3, optionsPanel[2] - 10, (float)y + 23);
        if (i == selected)
            textFont.setColour(1, 1, 0);
        else
            textFont.setColour(1, 1, 1);
        printText(optionsRowX, y, "%s", label);
        printText(optionsValueX, y, "%s", value);
    }
    textFont.setColour(1, 0.5f, 0.3f);
    if (message[0]) printText(optionsRowX, 76, "%s", message);
    textFont.setColour(0.85f, 0.85f, 0.85f);
    printText(optionsRowX, 50, "Left Right change, Return, Esc back");
    textFont.setCellSize((int)cellWidth, (int)cellHeight);
    textFont.setColour(1, 1, 1);
    glColor3f(1, 1, 1);
}
