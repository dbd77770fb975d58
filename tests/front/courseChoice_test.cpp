// The title's choice of course: Left and Right wrap round the list, the race gets the course,
// and the title's records are the chosen course's own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "front/courseChoice.h"
#include "front/courseProof.h"
#include "race/raceHistory.h"
#include "tests/race/raceFixture.h"
#include "track/courseFile.h"
#include "track/courseGenerator.h"

// Refuses the first courses it is handed, proves the rest at once; notes every course's name.
class RefusingProver : public CourseProver {
public:
    explicit RefusingProver(int refusals) : refusals(refusals) {}
    void begin(const Course& course) override { names.push_back(course.name); }
    ProofState advance(int) override { return (int)names.size() <= refusals ? courseRefused : courseProved; }
    int refusals;
    std::vector<std::string> names;
};

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
    // Random courses proved at once: this is about the list, not the proof.
    RefusingProver instant(0);
    choice.prover = &instant;
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
        {VK_RIGHT, 1, 1, 2},    {VK_RIGHT, 2, 0, 1}, {VK_LEFT, 1, 1, 2}, {VK_LEFT, 0, 0, 2},
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

TEST_F(CourseChoiceTest, ARandomCourseIsOfferedOnlyOnceProvedAndAFailingSeedIsSkipped) {
    if (HasFatalFailure() || IsSkipped()) return;
    choice.gather(nullptr, nullptr, stderr);
    RefusingProver prover(1);
    choice.prover = &prover;
    // Left from the first built-in course is the random entry: the proof starts, Space is held.
    keys.keyDown(VK_LEFT);
    platformScript.counter += 16667;
    runGameFrame(*game, nullptr, false, &choice);
    keys.keyUp(VK_LEFT);
    ASSERT_EQ(choice.library.entry(choice.chosen).source, randomSource);
    const uint64_t first = choice.randoms.firstSeed;
    // One frame may prove it (this prover is instant) but the first seed is refused, so it waits.
    for (int i = 0; i < 4 && choice.waitingForRandom; i++) {
        platformScript.counter += 16667;
        runGameFrame(*game, nullptr, false, &choice);
    }
    ASSERT_FALSE(choice.waitingForRandom);
    ASSERT_GE(prover.names.size(), 2u);
    Course refused, offered;
    ASSERT_TRUE(generateCourse(first, refused));
    ASSERT_TRUE(generateCourse(first + 1, offered));
    printf("seeds %llu (refused) and %llu (offered): \"%s\", \"%s\"\n", (unsigned long long)first,
           (unsigned long long)first + 1, prover.names[0].c_str(), prover.names[1].c_str());
    EXPECT_EQ(prover.names[0], refused.name);
    EXPECT_EQ(prover.names[1], offered.name);
    EXPECT_EQ(choice.library.entry(choice.chosen).hash, courseHash(offered));
    EXPECT_EQ(courseKeyOf(*game).hash, courseHash(offered)) << "the race is on the proved course";
    EXPECT_FALSE(game->startHeld);

    // Off and back on: the next course was proved ahead and is offered at once.
    press(VK_RIGHT);
    press(VK_LEFT);
    EXPECT_FALSE(choice.waitingForRandom);
    EXPECT_EQ(courseKeyOf(*game).hash, choice.library.entry(choice.chosen).hash);
    EXPECT_NE(choice.library.entry(choice.chosen).hash, courseHash(offered));
}

// Space is held while the random course is proved: the race starts only on the proved course.
TEST_F(CourseChoiceTest, SpaceWaitsForTheProofAndARealProofRacesTheComputerTrucks) {
    if (HasFatalFailure() || IsSkipped()) return;
    choice.gather(nullptr, nullptr, stderr);
    press(VK_LEFT);
    ASSERT_EQ(choice.library.entry(choice.chosen).source, randomSource);
    int frames = 0;
    while (choice.waitingForRandom && frames < 200) {
        keys.keyDown(VK_SPACE);
        platformScript.counter += 16667;
        runGameFrame(*game, nullptr, false, &choice);
        frames++;
        if (choice.waitingForRandom) {
            ASSERT_TRUE(game->waitingForStart) << "Space started an unproved course";
        }
    }
    keys.keyUp(VK_SPACE);
    const RaceProver* race = dynamic_cast<const RaceProver*>(choice.prover);
    ASSERT_NE(race, nullptr);
    printf("proved in %d title frames: %lld race frames, %d laps, best %.2f s, rejected %d\n", frames, race->frames,
           race->laps, race->bestLap, choice.randoms.rejected);
    EXPECT_FALSE(choice.waitingForRandom);
    EXPECT_EQ(race->state, courseProved);
    EXPECT_EQ(race->laps, 4 * Game::classicLaps) << "all four computer trucks finished";
    EXPECT_EQ(courseKeyOf(*game).hash, choice.library.entry(choice.chosen).hash);
    // The game on screen kept its own clock and keys through the proof.
    EXPECT_EQ(&platform(), &platformScript);
    EXPECT_EQ(perfFrequency, platformScript.frequency);
}
