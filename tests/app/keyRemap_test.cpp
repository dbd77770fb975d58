// The player's bindings as the race sees them: a rebound key drives, the old one does nothing.
#include <gtest/gtest.h>

#include "app/keyMap.h"
#include "core/input.h"
#include "records/settings.h"

TEST(KeyRemap, AReboundKeyDrivesAndTheOldOneDoesNothing) {
    const Settings defaults;
    struct Case {
        int action, bound;
        int key, sees;
    } cases[] = {
        {keyAccelerate, VK_UP, VK_UP, VK_UP},  // the defaults: every key is itself
        {keyAccelerate, VK_UP, 'W', 'W'},
        {keyAccelerate, 'W', 'W', VK_UP},      // W accelerates
        {keyAccelerate, 'W', VK_UP, -1},       // Up does nothing
        {keyQuit, 'Q', 'Q', VK_ESCAPE},
        {keyQuit, 'Q', VK_ESCAPE, -1},
        {keyLeft, VK_DOWN, VK_DOWN, VK_LEFT},  // Down steers left...
    };
    for (const Case& c : cases) {
        Settings s;
        s.keys[keyBrake] = 'X';  // ...once brake is elsewhere
        s.keys[c.action] = c.bound;
        KeyRemap remap;
        remap.build(s.keys, defaults.keys, keyActionCount);
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
    ASSERT_TRUE(front.settings.bindKey(keyAccelerate, 'W'));
    const int64_t keyboard = (int64_t)0x11 << 16, pad = 0;  // a scancode; a pad's messages have none
    struct Case {
        FrontScreens::Shown shown;
        int key;
        int64_t from;
        int down;  // the key the game sees held, -1 none
    } cases[] = {
        {FrontScreens::title, 'W', keyboard, VK_UP}, {FrontScreens::title, VK_UP, keyboard, -1},
        {FrontScreens::title, VK_UP, pad, VK_UP},    {FrontScreens::menu, 'W', keyboard, 'W'},
        {FrontScreens::menu, VK_UP, keyboard, VK_UP},
    };
    for (const Case& c : cases) {
        front.shown = c.shown;
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
}
