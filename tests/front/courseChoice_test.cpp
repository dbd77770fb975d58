// The title's choice of course: Left and Right wrap round the list, the race gets the course,
// and the title's records are the chosen course's own.
#include <gtest/gtest.h>

#include "front/courseChoice.h"
#include "race/raceHistory.h"
#include "tests/race/raceFixture.h"

class CourseChoiceTest : public LoadedGameTest {
protected:
    // A key held for one frame and let go in the next, as the loop runs them.
    void press(int key) {
        keys.keyDown(key);
        platformScript.counter += 16667;
        runGameFrame(*game, nullptr, false, &choice);
        keys.keyUp(key);
        platformScript.counter += 16667;
        runGameFrame(*game, nullptr, false, &choice);
    }
    CourseChoice choice;
};

TEST_F(CourseChoiceTest, LeftAndRightWrapAndHandTheRaceTheCourse) {
    if (HasFatalFailure() || IsSkipped()) return;
    choice.gather(TD_SOURCE_DIR "/data/courses", nullptr, stderr);
    const int n = choice.library.count();
    // The built-in two, six generated ones (the shipped built-in copies are left out), random.
    ASSERT_EQ(n, 9);
    struct Step {
        int key;
        int chosen;
        int track;       // the game's current track slot
        int trackCount;  // 2: the built-in courses alternate; 1: the chosen course again and again
    } steps[] = {
        {VK_LEFT, n - 1, 0, 1},  // round to the random course
        {VK_RIGHT, 0, 0, 2},     // and back to the first built-in one
        {VK_RIGHT, 1, 1, 2},     {VK_RIGHT, 2, 0, 1}, {VK_LEFT, 1, 1, 2}, {VK_LEFT, 0, 0, 2},
    };
    for (const Step& s : steps) {
        press(s.key);
        ASSERT_EQ(choice.chosen, s.chosen);
        EXPECT_EQ(game->currentTrack, s.track) << s.chosen;
        EXPECT_EQ(game->trackCount, s.trackCount) << s.chosen;
        const CourseEntry& e = choice.library.entry(s.chosen);
        CourseKey key = courseKeyOf(*game);
        // A built-in course keeps its number; a course file is known by its content alone.
        EXPECT_EQ(key.hash, e.source == builtInSource ? 0u : e.hash) << s.chosen;
        EXPECT_EQ(key.index, e.source == builtInSource ? e.builtIn : 0);
        EXPECT_TRUE(game->waitingForStart);
    }

    // The title's records are the chosen course's, by hash for a course file.
    press(VK_RIGHT);
    press(VK_RIGHT);
    ASSERT_EQ(choice.chosen, 2);
    game->history.records.offer(0, 300.0f, 50.0f);
    game->history.records.offerFor(choice.library.entry(2).hash, 200.0f, 30.0f);
    EXPECT_EQ(game->history.bestLap(*game), 30.0f);
    press(VK_LEFT);
    press(VK_LEFT);
    EXPECT_EQ(game->history.bestLap(*game), 50.0f);

    // Once the race is under way the arrows steer and the choice stays.
    press(VK_RIGHT);
    press(VK_RIGHT);
    press(VK_SPACE);
    ASSERT_FALSE(game->waitingForStart);
    press(VK_RIGHT);
    EXPECT_EQ(choice.chosen, 2);
    EXPECT_EQ(courseKeyOf(*game).hash, choice.library.entry(2).hash);
}
