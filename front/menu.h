#pragma once
// The menu: a small table of entries, each opening a way to play. An entry whose way is not built
// yet has no action and is shown dimmed as "coming soon". Up and Down move (wrapping), Return,
// Space or a pad's A choose, Escape or a pad's B goes back.
#include "graphics/font.h"

class Game;
class FrontScreens;

struct MenuEntry {
    const char* label;
    void (*choose)(FrontScreens& front, Game& game);  // null: coming soon
};

// What one frame's keys did to a list.
enum MenuMove { menuStay, menuChosen, menuBack };

class MenuList {
public:
    // Reads this frame's presses; moves the selection over count entries.
    MenuMove handle(int count);
    // The entry by entries from selected, wrapping at both ends.
    static int stepped(int selected, int count, int by);

    int selected = 0;
};

// The game's entries, in the order shown.
extern const MenuEntry mainMenuEntries[];
extern const int mainMenuCount;

// A titled panel of rows in the game's style, the selected row framed in yellow; a row with
// dimmed set is grey with note beside it. hint goes under the rows.
struct MenuRow {
    const char* label;
    const char* value;  // right of the label; may be null
    bool dimmed;
};
// The veil over the whole picture and the near-opaque panel a menu stands on, so the title's
// text under it does not show through.
void drawMenuBacking(float left, float bottom, float right, float top);
void drawMenuPanel(const char* title, const MenuRow* rows, int count, int selected, const char* hint);
