// The settings file: what the game writes reads back the same, a damaged or newer file keeps
// what can be read (and says what it skipped), and no key is ever bound twice.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "records/settings.h"
#include "tempFolder.h"

namespace {
// Parses text; what the reader said goes to said.
Settings read(const std::string& text, std::string* said = nullptr) {
    Settings s;
    FILE* err = tmpfile();
    s.parse(text.data(), (long)text.size(), err);
    if (said) {
        rewind(err);
        char buf[2048] = {};
        size_t n = fread(buf, 1, sizeof buf - 1, err);
        said->assign(buf, n);
    }
    fclose(err);
    return s;
}

const std::string header = "trailerdash settings 1\n";
}  // namespace

TEST(Settings, EveryValueChangedRoundTripsAndTheDefaultsAreTheClassicGame) {
    Settings d;
    EXPECT_STREQ("Player", d.name);
    EXPECT_EQ(settingsNormal, d.difficulty);
    EXPECT_EQ(6, d.laps);
    EXPECT_EQ(startAsk, d.start);
    EXPECT_TRUE(d.ghost);
    EXPECT_FALSE(d.assist);
    EXPECT_EQ(0x26, d.keys[keyAccelerate]);
    EXPECT_EQ(0x1B, d.keys[keyQuit]);

    Settings s;
    ASSERT_TRUE(s.setName("Ada  Lovelace"));
    s.difficulty = settingsHard;
    s.laps = 10;
    s.volume[volumeMaster] = 0;
    s.volume[volumeEngines] = 35;
    s.ghost = false;
    s.assist = true;
    s.start = startWindowed;
    // Swapping two keys goes through a free one; an unnamed key is written by number.
    ASSERT_TRUE(s.bindKey(keyAccelerate, 'K'));
    ASSERT_TRUE(s.bindKey(keyBrake, 0x26));
    ASSERT_TRUE(s.bindKey(keyPlayer2Left, 'J'));
    ASSERT_TRUE(s.bindKey(keyAccelerate, 0x28));
    ASSERT_TRUE(s.bindKey(keyHelp, 0x87));
    ASSERT_TRUE(s.bindKey(keyQuit, 0xBA));
    char text[maxSettingsFileSize];
    int n = s.format(text, sizeof text);
    ASSERT_GT(n, 0);
    EXPECT_NE(nullptr, strstr(text, "key help F24\n"));
    EXPECT_NE(nullptr, strstr(text, "key quit #186\n"));
    EXPECT_NE(nullptr, strstr(text, "key p2-left J\n"));
    std::string said;
    Settings back = read(std::string(text, (size_t)n), &said);
    EXPECT_EQ("", said);
    EXPECT_STREQ("Ada  Lovelace", back.name);
    EXPECT_EQ(settingsHard, back.difficulty);
    EXPECT_EQ(10, back.laps);
    EXPECT_EQ(0, memcmp(s.volume, back.volume, sizeof s.volume));
    EXPECT_EQ(0, memcmp(s.keys, back.keys, sizeof s.keys));
    EXPECT_FALSE(back.ghost);
    EXPECT_TRUE(back.assist);
    EXPECT_EQ(startWindowed, back.start);
    EXPECT_FALSE(back.readOnly);
}

TEST(Settings, AKeyBoundTwiceIsRefusedNamingItsHolder) {
    Settings s;
    const char* holder = nullptr;
    EXPECT_FALSE(s.bindKey(keyPause, 0x26, &holder));
    EXPECT_STREQ("accelerate", holder);
    EXPECT_EQ('P', s.keys[keyPause]);
    EXPECT_TRUE(s.bindKey(keyPause, 'P')) << "its own key again is no clash";
    EXPECT_FALSE(s.bindKey(keyPause, 0));
    EXPECT_FALSE(s.bindKey(keyPause, 256));
    EXPECT_FALSE(s.bindKey(keyActionCount, 'Q'));
}

// Each damaged case: the lines around the damage are still read, the damage is named.
TEST(Settings, DamagedFilesKeepWhatCanBeRead) {
    struct Case {
        const char* what;
        std::string text;
        int laps;           // what laps reads as afterwards
        int accelerateKey;  // and accelerate's key
        const char* said;   // a part of the message, "" for none
    };
    const Case cases[] = {
        {"laps out of range", header + "laps 11\nlaps 0\nlaps 3x\n", 6, 0x26, "line 2 cannot be read"},
        {"cut short", header + "laps 4\nlaps 1", 4, 0x26, "line 3 is cut short"},
        {"no version line", "laps 2\n", 2, 0x26, "no \"trailerdash settings\" line"},
        {"garbage and NUL", header + std::string("laps\0 9\n\x01\xff\nlaps 7\n", 18), 7, 0x26, "cannot be read"},
        {"key bound twice", header + "key accelerate W\nkey brake W\n", 6, 'W', "binds a key bound already"},
        {"unknown key name", header + "key accelerate Banana\nkey brake Space\n", 6, 0x26, "line 2 cannot be read"},
        {"a default taken", header + "key pause Up\n", 6, 0x26, "back to its default"},
        {"swapped in the file", header + "key pause Up\nkey accelerate P\n", 6, 'P', ""},
        {"very long line", header + std::string(300, 'x') + "\nlaps 5\r\n", 5, 0x26, "line 2 cannot be read"},
        {"bad name", header + "name  lead\nname \xc3\xa9\n", 6, 0x26, "line 2 cannot be read"},
    };
    for (const Case& c : cases) {
        std::string said;
        Settings s = read(c.text, &said);
        EXPECT_EQ(c.laps, s.laps) << c.what;
        EXPECT_EQ(c.accelerateKey, s.keys[keyAccelerate]) << c.what;
        EXPECT_FALSE(s.readOnly) << c.what;
        EXPECT_STREQ("Player", s.name) << c.what;
        if (c.said[0]) EXPECT_NE(std::string::npos, said.find(c.said)) << c.what << ": " << said;
        else EXPECT_EQ("", said) << c.what;
        for (int a = 0; a < keyActionCount; a++) EXPECT_EQ(-1, s.clashOf(a, s.keys[a])) << c.what;
    }
}

// Player two's keys: a file from before them reads them as their defaults, W S A D E; one that gave
// one of those keys to another action keeps it there, and player two's key moves to a spare one.
// Only player two's and the zoom keys share a key.
TEST(Settings, PlayerTwosKeysReadAsTheirDefaultsWhereTheFileHasNone) {
    struct Case {
        const char* what;
        std::string text;
        int accelerate, left, p2Accelerate, p2Left, p2Recover;
        const char* said;
    };
    const Case cases[] = {
        {"a file from before player two", header + "laps 4\nkey accelerate Up\n", 0x26, 0x25, 'W', 'A', 'E', ""},
        {"player one on W and A", header + "key accelerate W\nkey left A\nkey zoom-in Q\n", 'W', 'A', 'J', 'K', 'E',
         "p2-accelerate's own key is bound to another action; it is J"},
        {"player two rebound", header + "key p2-accelerate K\nkey p2-left Z\n", 0x26, 0x25, 'K', 'Z', 'E', ""},
        // A file from before player two's recovery, whose player gave E to the ghost.
        {"E taken", header + "key ghost E\nkey p2-accelerate W\n", 0x26, 0x25, 'W', 'A', 'J',
         "p2-recover's own key is bound to another action; it is J"},
        // As for any action: player one's left has lost its key, so every key is back to its default.
        {"player two on player one's key", header + "key p2-left Left\n", 0x26, 0x25, 'W', 'A', 'E',
         "back to its default"},
    };
    for (const Case& c : cases) {
        std::string said;
        Settings s = read(c.text, &said);
        printf("%s: accelerate %d, left %d, player two %d and %d\n", c.what, s.keys[keyAccelerate], s.keys[keyLeft],
               s.keys[keyPlayer2Accelerate], s.keys[keyPlayer2Left]);
        EXPECT_EQ(c.accelerate, s.keys[keyAccelerate]) << c.what;
        EXPECT_EQ(c.left, s.keys[keyLeft]) << c.what;
        EXPECT_EQ(c.p2Accelerate, s.keys[keyPlayer2Accelerate]) << c.what;
        EXPECT_EQ(c.p2Left, s.keys[keyPlayer2Left]) << c.what;
        EXPECT_EQ(c.p2Recover, s.keys[keyPlayer2Recover]) << c.what;
        if (c.said[0]) EXPECT_NE(std::string::npos, said.find(c.said)) << c.what << ": " << said;
        else EXPECT_EQ("", said) << c.what;
        for (int a = 0; a < keyActionCount; a++) EXPECT_EQ(-1, s.clashOf(a, s.keys[a])) << c.what;
    }
}

TEST(Settings, NewerOrTooLargeFileIsReadAsFarAsKnownAndNeverWritten) {
    TempFolder folder;
    std::string path = folder.file("config/trailerdash/settings");
    std::string said;
    Settings newer = read("trailerdash settings 2\nlaps 3\ncolour blue\n", &said);
    EXPECT_EQ(3, newer.laps);
    EXPECT_TRUE(newer.readOnly);
    EXPECT_NE(std::string::npos, said.find("newer version (2)"));
    EXPECT_EQ(std::string::npos, said.find("line 3")) << "a newer version's own lines are no damage";
    EXPECT_FALSE(newer.save(path.c_str()));

    Settings s;
    s.laps = 2;
    ASSERT_TRUE(s.save(path.c_str())) << "the folders are made";
    Settings back;
    back.load(path.c_str(), nullptr);
    EXPECT_EQ(2, back.laps);

    std::string big(maxSettingsFileSize + 10, '\n');
    big.replace(0, header.size() + 7, header + "laps 9\n");
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    fwrite(big.data(), 1, big.size(), f);
    fclose(f);
    Settings large;
    large.load(path.c_str(), nullptr);
    EXPECT_EQ(9, large.laps);
    EXPECT_TRUE(large.readOnly);
}

TEST(Settings, KeptUnderXdgConfigHomeElseDotConfig) {
    const char* oldConfig = getenv("XDG_CONFIG_HOME");
    std::string keep = oldConfig ? oldConfig : "";
    char path[256];
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    ASSERT_TRUE(settingsPath(path, sizeof path));
    EXPECT_STREQ("/cfg/trailerdash/settings", path);
    setenv("XDG_CONFIG_HOME", "relative", 1);
    ASSERT_TRUE(settingsPath(path, sizeof path));
    EXPECT_EQ(std::string(getenv("HOME")) + "/.config/trailerdash/settings", path);
    if (oldConfig) setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
    else unsetenv("XDG_CONFIG_HOME");
}
