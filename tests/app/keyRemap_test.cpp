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
