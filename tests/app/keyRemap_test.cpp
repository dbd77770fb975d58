// The player's bindings as the race sees them: a rebound key drives, the old one does nothing.
#include <gtest/gtest.h>

#include "app/keyMap.h"
#include "core/input.h"
#include "records/settings.h"

TEST(KeyRemap, AReboundKeyDrivesAndTheOldOneDoesNothing) {
    int codes[keyActionCount];
    for (int a = 0; a < keyActionCount; a++) codes[a] = keyActionCode(a);
    struct Case {
        int action, bound;
        int key, sees;
    } cases[] = {
        {keyAccelerate, VK_UP, VK_UP, VK_UP},  // the defaults: every key of player one's is itself
        {keyAccelerate, VK_UP, 'K', 'K'},
        {keyAccelerate, 'K', 'K', VK_UP},      // K accelerates
        {keyAccelerate, 'K', VK_UP, -1},       // Up does nothing
        {keyQuit, 'Q', 'Q', VK_ESCAPE},
        {keyQuit, 'Q', VK_ESCAPE, -1},
        {keyLeft, VK_DOWN, VK_DOWN, VK_LEFT},  // Down steers left...
        // Player two's keys become their own codes; their old keys nothing.
        {keyPlayer2Accelerate, 'W', 'W', VK_PLAYER2_UP},
        {keyPlayer2Left, 'J', 'J', VK_PLAYER2_LEFT},
        {keyPlayer2Left, 'J', 'A', 'A'},  // A is still zoom in's, which a two-player race ignores
        {keyZoomIn, 'K', 'A', VK_PLAYER2_LEFT},
        {keyZoomIn, 'K', 'K', 'A'},
    };
    for (const Case& c : cases) {
        Settings s;
        s.keys[keyBrake] = 'X';  // ...once brake is elsewhere
        s.keys[c.action] = c.bound;
        KeyRemap remap;
        remap.build(s.keys, codes, keyActionCount);
        EXPECT_EQ(remap.apply(c.key), c.sees) << keyActionName(c.action) << " on " << c.bound << ", key " << c.key;
    }
}

// Through the loop: the keyboard is rebound while the race has the keys, a pad never is, and a
// menu reads the keyboard as it is.
#include "front/frontScreens.h"
#include "shellFixture.h"

using KeyRemapLoopTest = ShellTest;

TEST_F(KeyRemapLoopTest, TheLoopRebindsOnlyTheKeyboardAndOnlyOutsideTheMenus) {
    FrontScreens front;
    loop.front = &front;
    ASSERT_TRUE(front.settings.bindKey(keyAccelerate, 'K'));
    const int64_t keyboard = (int64_t)0x11 << 16, pad = 0;  // a scancode; a pad's messages have none
    struct Case {
        FrontScreens::Shown shown;
        int key;
        int64_t from;
        int down;  // the key the game sees held, -1 none
        int humans = 1;
    } cases[] = {
        {FrontScreens::title, 'K', keyboard, VK_UP}, {FrontScreens::title, VK_UP, keyboard, -1},
        {FrontScreens::title, VK_UP, pad, VK_UP},    {FrontScreens::menu, 'K', keyboard, 'K'},
        {FrontScreens::menu, VK_UP, keyboard, VK_UP},
        // Alone, A zooms in and W is itself; beside a friend they are player two's left and throttle.
        {FrontScreens::title, 'A', keyboard, 'A'},   {FrontScreens::title, 'W', keyboard, 'W'},
        {FrontScreens::title, 'A', keyboard, VK_PLAYER2_LEFT, 2},
        {FrontScreens::title, 'W', keyboard, VK_PLAYER2_UP, 2},
        {FrontScreens::title, VK_UP, keyboard, -1, 2},
        {FrontScreens::title, VK_PLAYER2_UP, pad, VK_PLAYER2_UP, 2},  // the second pad's own code
    };
    for (const Case& c : cases) {
        front.shown = c.shown;
        ASSERT_TRUE(game.setHumans(c.humans));
        keys = Keys();
        send(WM_KEYDOWN, (uint64_t)c.key, c.from);
        int held = -1;
        for (int k = 0; k < 256; k++)
            if (keys.isDown(k)) held = k;
        EXPECT_EQ(held, c.down) << "key " << c.key << " in screen " << c.shown;
        send(WM_KEYUP, (uint64_t)c.key, c.from | ((int64_t)3 << 30));
        for (int k = 0; k < 256; k++) EXPECT_FALSE(keys.isDown(k)) << "left down: " << k;
    }
    front.shown = FrontScreens::title;
    game.setHumans(1);
    // W held as player two's throttle while the race turns back into a one-player one, and let
    // go in a menu: player two's throttle comes up with it.
    keys = Keys();
    ASSERT_TRUE(game.setHumans(2));
    send(WM_KEYDOWN, 'W', keyboard);
    EXPECT_TRUE(keys.isDown(VK_PLAYER2_UP));
    game.setHumans(1);
    front.shown = FrontScreens::menu;
    send(WM_KEYUP, 'W', keyboard | ((int64_t)3 << 30));
    EXPECT_FALSE(keys.isDown(VK_PLAYER2_UP));
    front.shown = FrontScreens::title;
}
