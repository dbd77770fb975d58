// The editor's place in the loop: E on the title hands it the frames, the mouse's events lay
// road as they come, Escape leaves it without the title quitting on the same key, and M typed
// into a course's name is a letter, not the mute key.
#include "shellFixture.h"

#include "app/screenSwitch.h"
#include "app/soundDevice.h"

namespace {

class ScreenSwitchTest : public ShellTest {
protected:
    ScreenSwitchTest() : screens(game) {}
    void SetUp() override {
        ShellTest::SetUp();
        loop.screens = &screens;
        soundMuted = false;
        frame();
    }
    void TearDown() override {
        soundMuted = false;
        typingText = false;
        ShellTest::TearDown();
    }
    // A key down for two frames, then up for one.
    void press(int code) {
        send(WM_KEYDOWN, (uint64_t)code);
        frame();
        frame();
        send(WM_KEYUP, (uint64_t)code, (int64_t)3 << 30);
        frame();
    }
    // Window pixels (y down) of the middle of a grid cell, packed as mouse messages carry them.
    static int64_t cellPoint(int x, int y) {
        int px = editorGridLeft + x * editorCellPixels + editorCellPixels / 2;
        int py = 479 - (editorGridBottom + y * editorCellPixels + editorCellPixels / 2);
        return (int64_t)((unsigned)py << 16 | (unsigned)px);
    }
    ScreenSwitch screens;
};

TEST_F(ScreenSwitchTest, ETakesTheTitleToTheEditorAndEscapeBringsItBackWithoutQuitting) {
    press('E');
    ASSERT_EQ(screens.shown(), ScreenSwitch::editor);
    // Escape held over many frames: one trip back to the title, and the title never sees it.
    send(WM_KEYDOWN, VK_ESCAPE);
    for (int i = 0; i < 5; i++) frame();
    EXPECT_EQ(screens.shown(), ScreenSwitch::race);
    EXPECT_FALSE(loop.done);
    EXPECT_EQ(platformScript.pendingMessages(), 0) << "no quit was asked for";
    send(WM_KEYUP, VK_ESCAPE, (int64_t)3 << 30);
    frame();
    // A new press at the title quits, as it always did.
    send(WM_KEYDOWN, VK_ESCAPE);
    frame();
    EXPECT_TRUE(loop.done);
}

TEST_F(ScreenSwitchTest, EOnlyOnTheTitle) {
    game.waitingForStart = false;  // a race under way
    press('E');
    EXPECT_EQ(screens.shown(), ScreenSwitch::race);
}

TEST_F(ScreenSwitchTest, MouseEventsLayEveryCellOfADragBetweenFrames) {
    press('E');
    // The whole drag arrives between two frames, as on a starved machine.
    platformScript.postMessage(WM_LBUTTONDOWN, 0, cellPoint(0, 7));
    const TileCoord path[] = {{1, 7}, {2, 7}, {2, 6}, {2, 5}, {1, 5}, {0, 5}, {0, 6}};
    for (TileCoord c : path) platformScript.postMessage(WM_MOUSEMOVE, 0, cellPoint(c.x, c.y));
    platformScript.postMessage(WM_LBUTTONUP, 0, cellPoint(0, 6));
    while (platformScript.pendingMessages() > 0) loop.pass();
    frame();
    const EditorScreen& e = screens.editorScreen;
    for (TileCoord c : path) EXPECT_TRUE(e.edit.roadAt(c.x, c.y)) << c.x << ", " << c.y;
    EXPECT_TRUE(e.edit.roadAt(0, 7));
    EXPECT_FALSE(e.edit.roadAt(1, 6)) << "the middle stays ground";
    EXPECT_EQ(e.edit.undoCount(), 1) << "one drag, one change";
}

TEST_F(ScreenSwitchTest, MTypedIntoANameDoesNotMute) {
    press('M');
    EXPECT_TRUE(soundMuted) << "M mutes on the title";
    press('M');
    press('E');
    // A whole loop, its line, then S for the name prompt.
    platformScript.postMessage(WM_LBUTTONDOWN, 0, cellPoint(0, 7));
    const TileCoord rim[] = {{4, 7}, {4, 5}, {0, 5}, {0, 7}};
    for (TileCoord c : rim) platformScript.postMessage(WM_MOUSEMOVE, 0, cellPoint(c.x, c.y));
    platformScript.postMessage(WM_LBUTTONUP, 0, cellPoint(0, 7));
    platformScript.postMessage(WM_MOUSEMOVE, 0, cellPoint(3, 7));
    while (platformScript.pendingMessages() > 0) loop.pass();
    press('F');
    ASSERT_TRUE(screens.editorScreen.edit.valid()) << screens.editorScreen.edit.report().message;
    press('S');
    ASSERT_TRUE(screens.editorScreen.naming);
    press('M');
    EXPECT_FALSE(soundMuted);
    EXPECT_STREQ(screens.editorScreen.name, "m");
}

}  // namespace
