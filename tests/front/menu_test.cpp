// The menu, the Options and a Quick race, driven frame by frame with keys as the loop runs them.
#include <gtest/gtest.h>

#include <cstring>

#include "front/frontScreens.h"
#include "front/recordProof.h"
#include "records/replay.h"
#include "tempFolder.h"
#include "race/player.h"
#include "tests/race/raceFixture.h"

class MenuTest : public LoadedGameTest {
protected:
    void frame() {
        platformScript.counter += 16667;
        runGameFrame(*game, nullptr, false, &front);
    }
    // A key held for one frame and let go in the next.
    void press(int key) {
        keys.keyDown(key);
        frame();
        keys.keyUp(key);
        frame();
    }
    FrontScreens front;
};

TEST(MenuList, StepsWrapAtBothEnds) {
    struct Case {
        int at, count, by, want;
    } cases[] = {{0, 7, -1, 6}, {6, 7, 1, 0}, {3, 7, 1, 4}, {0, 1, 1, 0}, {0, 0, 1, 0}, {2, 7, -9, 0}};
    for (const Case& c : cases) EXPECT_EQ(MenuList::stepped(c.at, c.count, c.by), c.want) << c.at << " by " << c.by;
}

TEST(Options, ValuesStayInTheirRanges) {
    struct Case {
        int row, by, presses;
        int Settings::*field;
        int want;
    } cases[] = {
        {Options::rowLaps, -1, 9, &Settings::laps, 1},         {Options::rowLaps, 1, 9, &Settings::laps, 10},
        {Options::rowDifficulty, 1, 5, &Settings::difficulty, settingsHard},
        {Options::rowDifficulty, -1, 5, &Settings::difficulty, settingsEasy},
        {Options::rowStart, 1, 1, &Settings::start, startFullScreen}, {Options::rowStart, -1, 1, &Settings::start, startWindowed},
    };
    for (const Case& c : cases) {
        Settings s;
        for (int i = 0; i < c.presses; i++) Options::change(s, c.row, c.by);
        EXPECT_EQ(s.*c.field, c.want) << "row " << c.row;
    }
    Settings s;
    for (int i = 0; i < 3; i++) Options::change(s, Options::rowEngines, 1);
    EXPECT_EQ(s.volume[volumeEngines], 100);
    for (int i = 0; i < 13; i++) Options::change(s, Options::rowEngines, -1);
    EXPECT_EQ(s.volume[volumeEngines], 0);
}

TEST(Options, AKeyBoundTwiceOrTheMenuKeyIsRefused) {
    struct Case {
        int action, code;
        bool taken;
        const char* message;
    } cases[] = {
        {keyAccelerate, 'K', true, ""},
        {keyBrake, 'Z', false, "Z is already Zoom out"},
        {keyBrake, VK_UP, true, ""},  // Up is free once accelerate moved to K
        {keyBrake, VK_RETURN, false, "Return opens the menu"},
        {keyAccelerate, VK_UP, false, "Up is already Brake"},
        // Player two's keys: W is theirs; they may share only with the zoom keys, which a
        // two-player race does not use.
        {keyAccelerate, 'W', false, "W is already P2 accelerate"},
        {keyPlayer2Left, 'Z', true, ""},
        {keyPlayer2Right, VK_LEFT, false, "Left is already Steer left"},
        {keyPlayer2Brake, 'D', false, "D is already P2 steer right"},
        {keyZoomIn, 'D', true, ""},
    };
    Settings s;
    Options o;
    for (const Case& c : cases) {
        EXPECT_EQ(o.bind(s, c.action, c.code), c.taken) << c.code;
        EXPECT_STREQ(o.message, c.message);
    }
}

TEST(QuickRace, LightsComeOnOneASecondThenGreen) {
    struct Case {
        double seconds;
        int light;
    } cases[] = {{-1, 0}, {0, 1}, {0.99, 1}, {1.0, 2}, {2.5, 3}, {3.0, 4}, {60, 4}};
    for (const Case& c : cases) EXPECT_EQ(QuickRace::lightsAt(c.seconds), c.light) << c.seconds;
}

TEST_F(MenuTest, OptionsThenQuickRaceRacesTheSettings) {
    if (HasFatalFailure() || IsSkipped()) return;
    press(VK_RETURN);
    ASSERT_EQ(front.shown, FrontScreens::menu);
    EXPECT_TRUE(front.takesEscape(*game));
    // Up twice from Quick race wraps to Quit, then Options.
    press(VK_UP);
    press(VK_UP);
    press(VK_RETURN);
    ASSERT_EQ(front.shown, FrontScreens::options);
    // The name: Return, then A (Shift held), d, a, Return.
    press(VK_RETURN);
    keys.keyDown(VK_SHIFT);
    press('A');
    keys.keyUp(VK_SHIFT);
    press('D');
    press('A');
    press(VK_RETURN);
    EXPECT_STREQ(front.settings.name, "Ada");
    press(VK_DOWN);
    press(VK_DOWN);
    for (int i = 0; i < 5; i++) press(VK_LEFT);
    EXPECT_EQ(front.settings.laps, 1);
    press(VK_ESCAPE);
    ASSERT_EQ(front.shown, FrontScreens::menu);
    // Options to Quick race: down past Quit, round to the first entry.
    press(VK_DOWN);
    press(VK_DOWN);
    press(VK_RETURN);
    ASSERT_TRUE(front.quick.active);
    EXPECT_EQ(game->lapsToRace, 1);
    // Kept as a replay with its countdown; one lap sets no record of six (the frame's end offers none).
    EXPECT_FALSE(game->history.offRecord);
    EXPECT_TRUE(game->history.countdownStart);
    EXPECT_STREQ(game->players[0]->getName(), "Ada");
    // The countdown holds the race still, its clock at zero, then lets it go.
    EXPECT_TRUE(game->held);
    for (int i = 0; i < 150; i++) frame();
    EXPECT_TRUE(game->held);
    EXPECT_LT(game->raceClock.elapsedSeconds(), 0.05);
    for (int i = 0; i < 100; i++) frame();
    EXPECT_FALSE(game->held);
    EXPECT_EQ(front.quick.beeps, 3u);
    EXPECT_EQ(front.quick.goes, 1u);
    // One lap ends the race: the results hold the name.
    game->trucks[0].lapCount = 1;
    frame();
    EXPECT_TRUE(game->raceOver);
    EXPECT_TRUE(game->players[0]->isFinished());
    // Space on the results races again, from the lights.
    press(VK_SPACE);
    EXPECT_FALSE(game->raceOver);
    EXPECT_TRUE(game->held);
    EXPECT_EQ(game->trucks[0].getLapCount(), 0);
    for (int i = 0; i < 250; i++) frame();
    // Escape opens the pause menu, and the program goes on.
    press(VK_ESCAPE);
    EXPECT_TRUE(front.quick.pause.isOpen);
    EXPECT_TRUE(game->held);
    // Back to the title: the classic race's laps and name again.
    press(VK_DOWN);
    press(VK_DOWN);
    press(VK_RETURN);
    EXPECT_FALSE(front.quick.active);
    EXPECT_EQ(game->lapsToRace, Game::classicLaps);
    EXPECT_FALSE(game->history.offRecord);
    EXPECT_STRNE(game->players[0]->getName(), "Ada");
}

// A quick race's replay holds the grid through the countdown and the pause menu in the very
// frames the race did: driven again headlessly, every pose is where it was. Frames of uneven
// length make the countdown's end fall where only the recorded steps put it, and P during the
// countdown must stay hidden from the race in the replay as it was in the race.
TEST_F(MenuTest, AQuickRacesReplayPlaysBackExactly) {
    if (HasFatalFailure() || IsSkipped()) return;
    TempFolder folder("td-quick");
    std::string path = folder.file("quick.replay");
    game->history.alsoRecordTo(path.c_str());
    int frames = 0;
    // The loop's frame, with its messages noted as the loop notes them.
    auto step = [&](int64_t counts) {
        platformScript.counter += counts;
        runGameFrame(*game, nullptr, false, &front);
        frames++;
    };
    auto send = [&](bool down, int key) {
        game->history.noteMessage(down ? WM_KEYDOWN : WM_KEYUP, (uint64_t)key, 0);
        if (down)
            keys.keyDown(key);
        else
            keys.keyUp(key);
    };
    auto tap = [&](int key) {
        send(true, key);
        step(16667);
        send(false, key);
        step(16667);
    };
    front.settings.laps = 2;
    front.settings.difficulty = settingsHard;
    tap(VK_RETURN);
    ASSERT_EQ(front.shown, FrontScreens::menu);
    tap(VK_RETURN);
    ASSERT_TRUE(front.quick.active);
    send(true, VK_UP);
    tap('P');
    for (int i = 0; i < 400; i++) {
        if (i == 250) send(true, VK_LEFT);
        if (i == 290) send(false, VK_LEFT);
        if (i == 320) tap(VK_ESCAPE);  // the pause menu ...
        if (i == 340) tap(VK_ESCAPE);  // ... and back to the race
        step(i % 3 ? 16667 : 21000);
    }
    EXPECT_FALSE(game->paused) << "P in the countdown reached the race";
    float movedX = game->trucks[0].getX(), movedY = game->trucks[0].getY();
    game->history.stop();

    auto replay = std::make_unique<Replay>();
    char why[128];
    ASSERT_TRUE(replay->load(path.c_str(), why, sizeof why)) << why;
    EXPECT_EQ(replay->setup.countdown, 1);
    EXPECT_EQ(replay->setup.laps, 2);
    EXPECT_EQ(replay->setup.level, (uint8_t)Difficulty::hard);
    RecordProver prover(nullptr);
    struct Case {
        const char* what;
        uint8_t countdown;
        bool reproduced;
    } cases[] = {{"as recorded", 1, true}, {"the countdown left out", 0, false}};
    for (const Case& c : cases) {
        replay->setup.countdown = c.countdown;
        auto drive = std::make_unique<ReplayDrive>();
        ASSERT_TRUE(prover.drive(*replay, *drive));
        const TruckPose& last = replay->frames[replay->frameCount - 1].pose;
        printf("%s: %d of %d frames run, first difference at %d; truck moved to (%.1f, %.1f)\n", c.what,
               drive->framesRun, replay->frameCount, drive->firstDifference, last.x, last.y);
        EXPECT_EQ(drive->reproduced, c.reproduced) << c.what << ", first difference at " << drive->firstDifference;
        EXPECT_EQ(drive->framesRun, replay->frameCount);
    }
    EXPECT_GE(replay->frameCount, frames - 2);
    const TruckPose& last = replay->frames[replay->frameCount - 1].pose;
    EXPECT_EQ(last.x, movedX);
    EXPECT_EQ(last.y, movedY);
}
