#include "front/menu.h"

#include <GL/gl.h>

#include "core/input.h"
#include "core/platform.h"
#include "front/frontScreens.h"
#include "graphics/rect.h"
#include "graphics/text.h"
#include "race/game.h"

// One line a way to play: a mode still being built has a null action until it lands.
const MenuEntry mainMenuEntries[] = {
    {"Quick race", [](FrontScreens& f, Game& g) { f.startQuickRace(g); }},
    {"Championship", [](FrontScreens& f, Game& g) { f.openChampionship(g); }},
    {"Time attack", [](FrontScreens& f, Game&) { f.askForTimeAttack(); }},
    {"Two players", [](FrontScreens& f, Game& g) { f.startQuickRace(g, 2); }},
    {"Course editor", [](FrontScreens& f, Game&) { f.askForEditor(); }},
    {"Options", [](FrontScreens& f, Game&) { f.openOptions(); }},
    {"Quit", [](FrontScreens&, Game&) { platform().postQuitMessage(0); }},
};
const int mainMenuCount = (int)(sizeof mainMenuEntries / sizeof mainMenuEntries[0]);

int MenuList::stepped(int at, int count, int by) {
    if (count <= 0) return 0;
    return ((at + by) % count + count) % count;
}

MenuMove MenuList::handle(int count) {
    if (keys.wasPressed(VK_UP)) selected = stepped(selected, count, -1);
    if (keys.wasPressed(VK_DOWN)) selected = stepped(selected, count, 1);
    if (selected >= count) selected = 0;
    if (keys.wasPressed(VK_RETURN) || keys.wasPressed(VK_SPACE)) return menuChosen;
    if (keys.wasPressed(VK_ESCAPE)) return menuBack;
    return menuStay;
}

// The panel's box and rows at 640x480: wide enough for the longest label and its value.
static const float panelLeft = 120, panelRight = 520, panelTop = 462;
// drawRect's shade for black at opacity 0.9.
static const float menuPanelShade = -0.6f;

void drawMenuBacking(float left, float bottom, float right, float top) {
    drawRect(Game::panelShade, 0, 0, 640, 480);
    // Twice: the title's white text would still show through one.
    drawRect(menuPanelShade, left, bottom, right, top);
    drawRect(menuPanelShade, left, bottom, right, top);
}
static const int rowX = 160, valueX = 370, titleY = 422;
static const int firstRowY = 370, rowSpacing = 40;

void drawMenuPanel(const char* title, const MenuRow* rows, int count, int selected, const char* hint) {
    float bottom = (float)(firstRowY - rowSpacing * count - 40);
    drawMenuBacking(panelLeft, bottom, panelRight, panelTop);
    textFont.setColour(1, 1, 1);
    printText(rowX, titleY, "%s", title);
    for (int i = 0; i < count; i++) {
        int y = firstRowY - rowSpacing * i;
        if (i == selected) drawRect(-Game::panelShade * 0.3f, panelLeft + 10, (float)y - 5, panelRight - 10, (float)y + 33);
        if (rows[i].dimmed)
            textFont.setColour(0.55f, 0.55f, 0.55f);
        else if (i == selected)
            textFont.setColour(1, 1, 0);
        else
            textFont.setColour(1, 1, 1);
        printText(rowX, y, "%s", rows[i].label);
        if (rows[i].value) printText(valueX, y, "%s", rows[i].value);
    }
    if (hint) {
        textFont.setColour(0.85f, 0.85f, 0.85f);
        printText(rowX, (int)bottom + 8, "%s", hint);
    }
    textFont.setColour(1, 1, 1);
    glColor3f(1, 1, 1);
}
