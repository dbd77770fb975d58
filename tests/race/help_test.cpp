// The help overlay names every key of the README's key table and every gamepad button, its rows
// fit the 640x480 picture, and opening and closing it pauses, resumes and keeps Escape from quitting.
#include "raceFixture.h"

#include <fstream>
#include <set>
#include <sstream>

#include "graphics/font.h"
#include "race/help.h"

namespace {

// Adds the words of a cell to words: "Left, Right" holds Left and Right. Only the capitalised
// ones when asked: the lower-case words of the README's cells describe the mouse.
void addWords(std::string cell, std::set<std::string>& words, bool capitalised = false) {
    for (char& c : cell) c = c == ',' || c == '/' ? ' ' : c;
    std::istringstream in(cell);
    for (std::string w; in >> w;)
        if (!capitalised || (w[0] >= 'A' && w[0] <= 'Z')) words.insert(w);
}

TEST(HelpLines, NameEveryKeyOfTheReadmeAndEveryGamepadButton) {
    std::set<std::string> keys, pad, wanted;
    for (int i = 0; i < helpLineCount; i++) {
        addWords(helpLines[i].keys, keys);
        addWords(helpLines[i].pad, pad);
    }
    std::ifstream readme(TD_SOURCE_DIR "/README.md");
    bool inTable = false;
    for (std::string line; std::getline(readme, line);) {
        if (line.rfind("| Key | Does |", 0) == 0) inTable = true;
        if (inTable && line.rfind('|', 0) != 0) break;
        if (inTable) addWords(line.substr(1, line.find('|', 1) - 1), wanted, true);
    }
    wanted.erase("Key");
    printf("the README's key table names %zu keys\n", wanted.size());
    ASSERT_GE(wanted.size(), 15u) << "the key table was not found in the README";
    // The help's own keys and the recover key, whether or not the README has them yet.
    for (const char* k : {"R", "H", "F1"}) wanted.insert(k);
    for (const std::string& k : wanted) EXPECT_TRUE(keys.count(k)) << "the help does not name the key " << k;
    // Every button the gamepads send (app/gamepad.cpp), and Y for recover.
    for (const char* b : {"A", "B", "Back", "Y", "LB", "RB", "D-pad", "stick", "Start"})
        EXPECT_TRUE(pad.count(b)) << "the help does not name the gamepad's " << b;
}

class HelpTest : public LoadedGameTest {
protected:
    // Held for a few frames, as a player's press is.
    void press(int key, int frames = 3) {
        keys.keyDown(key);
        for (int f = 0; f <= frames; f++) {
            if (f == frames) keys.keyUp(key);
            platformScript.counter += 16667;
            game->update();
            keys.endFrame();
        }
    }
    bool quitPosted() {
        WindowMessage msg;
        bool quit = false;
        while (platformScript.peekMessage(msg)) quit = quit || msg.message == WM_QUIT;
        return quit;
    }
};

TEST_F(HelpTest, EveryRowFitsItsColumnsOnThePanel) {
    // Pen advance of a text in the help's rows, as printText lays it out.
    auto width = [](const char* text) {
        float cell = (float)(int)(textFont.cellWidth * HelpLayout::rowScale);
        int dx = 0;
        for (const char* c = text; *c; c++) {
            const Glyph& g = textFont.glyphs[((unsigned char)*c + textFont.glyphBank - 32) & 0xFF];
            dx = (int)((float)dx + cell * g.texWidth * 16);
        }
        return dx;
    };
    const int starts[] = {HelpLayout::keysX, HelpLayout::padX, HelpLayout::doesX, HelpLayout::panelRight};
    int ends[3] = {};
    for (int i = 0; i < helpLineCount; i++) {
        const char* cells[] = {helpLines[i].keys, helpLines[i].pad, helpLines[i].does};
        for (int c = 0; c < 3; c++) {
            ends[c] = std::max(ends[c], starts[c] + width(cells[c]));
            EXPECT_LE(starts[c] + width(cells[c]), starts[c + 1] - 6) << cells[c];
        }
    }
    int lowest = HelpLayout::firstRowY - HelpLayout::rowStep * (helpLineCount - 1);
    printf("columns end at %d, %d and %d (next starts %d, %d, %d); last row at y %d\n", ends[0], ends[1], ends[2],
           starts[1], starts[2], starts[3], lowest);
    EXPECT_GE(lowest, HelpLayout::panelBottom + 4) << "every row on the panel";
    EXPECT_GE(HelpLayout::rowStep, (int)(textFont.cellHeight * HelpLayout::rowScale)) << "rows do not overlap";
}

// Opened on the title or in a race (running or paused by P), closed with H, F1 or Escape.
TEST_F(HelpTest, OpensPausesClosesAndResumesOnlyWhatItPaused) {
    struct Case {
        const char* name;
        bool racing, pausedFirst;
        int openKey, closeKey;
    };
    const Case cases[] = {
        {"title, H and H", false, false, 'H', 'H'},
        {"title, F1 and Escape", false, false, VK_F1, VK_ESCAPE},
        {"race, H and H", true, false, 'H', 'H'},
        {"race, F1 and Escape", true, false, VK_F1, VK_ESCAPE},
        {"race paused by P, H and Escape", true, true, 'H', VK_ESCAPE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        game->resetRace();
        game->waitingForStart = true;
        game->raceOver = false;
        if (c.racing) press(VK_SPACE);
        if (c.pausedFirst) press('P');
        ASSERT_EQ(game->paused, c.pausedFirst);

        press(c.openKey);
        EXPECT_TRUE(game->help.isOpen());
        EXPECT_EQ(game->paused, c.racing) << "a race under the help is paused";
        double clock = game->raceClock.elapsedSeconds();
        // The game's own keys wait: P does not resume under the help, nor Space start a race.
        press('P');
        press(VK_SPACE, 60);
        game->draw();
        EXPECT_TRUE(game->help.isOpen());
        EXPECT_EQ(game->paused, c.racing);
        EXPECT_EQ(game->waitingForStart, !c.racing);
        if (c.racing) {
            EXPECT_EQ(game->raceClock.elapsedSeconds(), clock) << "no race time passes under the help";
        }

        // Escape held on for many frames closes the help and quits nothing.
        press(c.closeKey, 30);
        EXPECT_FALSE(game->help.isOpen());
        EXPECT_EQ(game->paused, c.pausedFirst) << "closing resumes only a race the help paused";
        EXPECT_FALSE(quitPosted());
        // Once let go, Escape quits again.
        press(VK_ESCAPE);
        EXPECT_TRUE(quitPosted());
        game->paused = false;
    }
}

}  // namespace
