// The championship over a loaded game: the race gets each course and the standings' grid, the
// places are taken when the player leaves the results, progress is saved after every race and
// offered again by a fresh start, a damaged progress file is refused without harm, and the end
// gives the title back as it was.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <sstream>
#include <vector>

#include "front/championship.h"
#include "front/courseProof.h"
#include "tests/race/raceFixture.h"
#include "tests/support/tempFolder.h"

class ChampionshipTest : public LoadedGameTest {
protected:
    // A key held for one frame and let go in the next, as the loop runs them.
    void press(int key) {
        keys.keyDown(key);
        step();
        keys.keyUp(key);
        step();
    }
    void step() {
        platformScript.counter += 16667;
        runGameFrame(*game, nullptr, false, screen);
    }
    // The race under way ends with the trucks ranked as order, winner first.
    void endRace(const std::vector<int>& order) {
        for (int p = 0; p < championshipTrucks; p++) setScore(game->trucks[order[p]], 4 - p, 0);
        game->raceOver = game->waitingForStart = true;
        step();
    }
    // The truck each grid slot holds, read off the trucks' places.
    std::vector<int> gridOnTrack() {
        std::vector<int> grid;
        for (int slot = 0; slot < Game::maxTrucks; slot++) {
            float x, y, heading;
            gridPlace(game->tracks[game->currentTrack].startGrid, slot, x, y, heading);
            for (int t = 0; t < Game::maxTrucks; t++)
                if (game->trucks[t].getX() == x && game->trucks[t].getY() == y) grid.push_back(t);
        }
        return grid;
    }
    static std::string read(const std::string& path) {
        std::ifstream f(path);
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }

    TempFolder folder{"td-championship"};
    Championship championship;
    Championship* screen = &championship;  // the one the frames hand the keys to
};

TEST_F(ChampionshipTest, RacesTheSeriesSavesItAndContinuesAfterAFreshStart) {
    if (HasFatalFailure() || IsSkipped()) return;
    const std::string path = folder.file("championship");
    championship.setUp(path.c_str(), nullptr);
    championship.open(*game);
    EXPECT_EQ(championship.chosen, Championship::allCourses);
    EXPECT_FALSE(championship.savedOffered);
    press(VK_RETURN);
    ASSERT_EQ(championship.stage, Championship::board);
    EXPECT_EQ(championship.progress.courseCount, 2);
    // Saved at once, so a quit in the first race still offers the series.
    EXPECT_EQ(read(path).rfind("trailerdash championship 1\ncourse builtin 0 Clockwork\n", 0), 0u) << read(path);
    EXPECT_EQ(gridOnTrack(), std::vector<int>({0, 1, 2, 3, 4}));

    // The board holds Space until its own press, which starts the race.
    EXPECT_TRUE(game->waitingForStart);
    press(VK_SPACE);
    EXPECT_EQ(championship.stage, Championship::racing);
    EXPECT_FALSE(game->waitingForStart);
    // A race left before its end (back to the title) is raced again from its board.
    game->waitingForStart = true;
    step();
    EXPECT_EQ(championship.stage, Championship::board);
    EXPECT_EQ(championship.progress.racesRun, 0);
    press(VK_SPACE);
    ASSERT_EQ(championship.stage, Championship::racing);
    endRace({3, 1, 4, 0, 2});
    ASSERT_EQ(championship.stage, Championship::results);
    press(VK_SPACE);
    ASSERT_EQ(championship.stage, Championship::board);
    EXPECT_TRUE(game->waitingForStart) << "the results' Space must not start the next race";
    EXPECT_NE(read(path).find("result 3 1 4 0 2\n"), std::string::npos) << read(path);
    // The leader at the back, the last truck on the front row; positions counted from the front.
    EXPECT_EQ(gridOnTrack(), std::vector<int>({3, 1, 4, 0, 2}));
    EXPECT_EQ(std::vector<int>(game->positionOrder, game->positionOrder + 5), std::vector<int>({2, 0, 4, 1, 3}));
    EXPECT_EQ(game->trackCount, 1);

    // Quit and start again: the series is offered and continues where it was, on the same grid.
    Championship again;
    again.setUp(path.c_str(), nullptr);
    game->setGridOrder(nullptr);
    game->trackCount = Game::maxTracks;
    game->resetRace();
    again.open(*game);
    ASSERT_TRUE(again.savedOffered);
    EXPECT_EQ(again.chosen, Championship::continueSaved);
    screen = &again;
    press(VK_RETURN);
    ASSERT_EQ(again.stage, Championship::board);
    EXPECT_EQ(again.progress.racesRun, 1);
    EXPECT_EQ(gridOnTrack(), std::vector<int>({3, 1, 4, 0, 2}));
    EXPECT_EQ(again.standings.points[3], 10);

    // The last race: the podium, then the title as the game had it and the file gone.
    press(VK_SPACE);
    ASSERT_EQ(again.stage, Championship::racing);
    endRace({1, 3, 0, 2, 4});
    press(VK_SPACE);
    ASSERT_EQ(again.stage, Championship::podium);
    // 1 and 3 level on 16 points, a win and a second each: 1 won the latest race.
    EXPECT_EQ(std::vector<int>(again.standings.order, again.standings.order + 5), std::vector<int>({1, 3, 0, 4, 2}));
    keys.keyDown(VK_SPACE);
    step();
    EXPECT_EQ(again.stage, Championship::leaving);
    step();
    EXPECT_TRUE(game->waitingForStart) << "the Space that closes the podium starts nothing";
    keys.keyUp(VK_SPACE);
    step();
    EXPECT_EQ(again.stage, Championship::off);
    EXPECT_FALSE(game->startHeld);
    EXPECT_FALSE(game->raceOver);
    EXPECT_EQ(game->trackCount, 2);
    EXPECT_EQ(gridOnTrack(), std::vector<int>({0, 1, 2, 3, 4}));
    EXPECT_EQ(std::vector<int>(game->positionOrder, game->positionOrder + 5), std::vector<int>({0, 1, 2, 3, 4}));
    EXPECT_TRUE(read(path).empty());
}

// A series of two people: chosen on the players line, raced with player two on truck 1, saved
// as such and continued as such after a fresh start; its end gives the title back to one player.
TEST_F(ChampionshipTest, ASeriesOfTwoPlayersIsRacedSavedAndContinuedAsTwo) {
    if (HasFatalFailure() || IsSkipped()) return;
    const std::string path = folder.file("championship");
    championship.setUp(path.c_str(), nullptr);
    championship.open(*game);
    press(VK_DOWN);
    press(VK_DOWN);
    ASSERT_EQ(championship.chosen, Championship::players);
    press(VK_RIGHT);
    EXPECT_EQ(championship.humans, 2);
    press(VK_UP);
    press(VK_UP);
    press(VK_RETURN);
    ASSERT_EQ(championship.stage, Championship::board);
    EXPECT_EQ(game->humans(), 2);
    EXPECT_EQ(read(path).rfind("trailerdash championship 1\nplayers 2\ncourse builtin 0", 0), 0u) << read(path);
    press(VK_SPACE);
    ASSERT_EQ(championship.stage, Championship::racing);
    endRace({1, 0, 2, 3, 4});
    press(VK_SPACE);
    ASSERT_EQ(championship.stage, Championship::board);

    // Quit and start again: the series continues with two people.
    game->setHumans(1);
    Championship again;
    again.setUp(path.c_str(), nullptr);
    again.open(*game);
    screen = &again;
    press(VK_RETURN);
    ASSERT_EQ(again.stage, Championship::board);
    EXPECT_EQ(again.progress.humans, 2);
    EXPECT_EQ(game->humans(), 2);
    again.close(*game);
    EXPECT_EQ(game->humans(), 1) << "the title's race is one player's";
}

TEST_F(ChampionshipTest, ADamagedProgressFileIsRefusedAndTheRecordsKept) {
    if (HasFatalFailure() || IsSkipped()) return;
    const std::string path = folder.file("championship");
    const std::string records = folder.file("records");
    const char* damaged[] = {
        "trailerdash championship 1\ncourse builtin 0 Clockwork\nresult 0 1 2 3\nend\n",
        "trailerdash championship 9\nend\n",
        "\x7f" "ELF\x01\x01",
        "trailerdash championship 1\ncourse builtin 7 Gone\nend\n",  // read, but no such course
    };
    for (const char* text : damaged) {
        std::ofstream(path, std::ios::binary) << text;
        std::ofstream(records) << "trailerdash records 1\nlap 0 12.5\n";
        Championship c;
        c.setUp(path.c_str(), nullptr);
        c.open(*game);
        if (c.savedOffered) {
            // A file that reads but names a course the game lacks is refused when continued.
            EXPECT_FALSE(c.resume(*game)) << text;
            EXPECT_NE(std::string(c.message).find("\"Gone\" is missing"), std::string::npos) << c.message;
        } else {
            EXPECT_NE(std::string(c.message).find("The saved championship "), std::string::npos) << text;
            EXPECT_EQ(c.chosen, Championship::allCourses);
            EXPECT_EQ(read(path), text) << "a refused file stays until a new series replaces it";
        }
        // A new series starts and replaces it; the records are not touched.
        ASSERT_TRUE(c.start(*game, Championship::planOfCourses(nullptr)));
        EXPECT_EQ(read(path).rfind("trailerdash championship 1\ncourse builtin 0 Clockwork\n", 0), 0u) << read(path);
        EXPECT_EQ(read(records), "trailerdash records 1\nlap 0 12.5\n");
    }
}

TEST_F(ChampionshipTest, TheRaceTakesOnlyAWholeGridOrder) {
    if (HasFatalFailure() || IsSkipped()) return;
    const int bad[][Game::maxTrucks] = {{0, 1, 2, 3, 3}, {0, 1, 2, 3, 5}, {-1, 1, 2, 3, 4}};
    for (const auto& order : bad) EXPECT_FALSE(game->setGridOrder(order));
    EXPECT_FALSE(game->gridHanded);
    const int reversed[Game::maxTrucks] = {4, 3, 2, 1, 0};
    ASSERT_TRUE(game->setGridOrder(reversed));
    game->resetRace();
    EXPECT_EQ(gridOnTrack(), std::vector<int>({4, 3, 2, 1, 0}));

    // A replay would play such a race back on the classic grid: it is not recorded, nor its times
    // kept; the classic grid's race is.
    game->history.keepIn(folder.path.c_str(), stderr);
    screen = nullptr;
    press(VK_SPACE);
    EXPECT_FALSE(game->waitingForStart);
    EXPECT_FALSE(game->history.recordingOn);
    ASSERT_TRUE(game->setGridOrder(nullptr));
    game->waitingForStart = true;
    game->resetRace();
    press(VK_SPACE);
    EXPECT_TRUE(game->history.recordingOn);
}

// Proves at once every course but those of the refused seeds; notes the seeds it was handed.
class SeedProver : public CourseProver {
public:
    explicit SeedProver(std::set<std::string> refused) : refused(std::move(refused)) {}
    void begin(const Course& course) override { seen.push_back(course.name); }
    ProofState advance(int) override { return refused.count(seen.back()) ? courseRefused : courseProved; }
    std::set<std::string> refused;
    std::vector<std::string> seen;
};

// A random series' generated courses are proved before it is offered: a refused one moves on to
// the next seed that proves, above the course before it, so no course comes twice; the built-in
// ones are left alone; a seed run that never proves refuses the series.
TEST(ChampionshipProof, ARefusedCourseGivesWayToTheNextProvedSeed) {
    struct Case {
        const char* what;
        std::vector<uint64_t> seeds;  // 0: a built-in course in that place
        std::set<uint64_t> refused;
        std::vector<uint64_t> expected;
        bool proved;
    } cases[] = {
        {"all prove", {100, 101, 102}, {}, {100, 101, 102}, true},
        {"the first refused pushes the rest on", {100, 101, 102}, {100}, {101, 102, 103}, true},
        {"a run of refusals", {100, 101}, {101, 102, 103}, {100, 104}, true},
        {"a built-in course between", {100, 0, 101}, {100}, {101, 0, 102}, true},
        {"nothing proves", {100}, {}, {}, false},
    };
    for (const Case& c : cases) {
        ChampionshipProgress plan;
        for (uint64_t seed : c.seeds) {
            ChampionshipCourse course = {};
            course.kind = seed ? championshipRandom : championshipBuiltIn;
            course.seed = seed;
            snprintf(course.name, sizeof course.name, "%s", seed ? "unproved" : "Doubleback");
            ASSERT_TRUE(plan.addCourse(course));
        }
        std::set<std::string> refused;
        for (uint64_t s : c.refused) refused.insert("Generated " + std::to_string(s));
        // "nothing proves": every seed the search could reach.
        if (!c.proved)
            for (uint64_t s = 100; s < 100 + randomSeedAttempts + 1; s++) refused.insert("Generated " + std::to_string(s));
        SeedProver prover(refused);
        EXPECT_EQ(Championship::proveRandomCourses(plan, prover), c.proved) << c.what;
        if (!c.proved) continue;
        for (size_t i = 0; i < c.expected.size(); i++) {
            EXPECT_EQ(plan.courses[i].seed, c.expected[i]) << c.what << ", race " << i;
            if (c.expected[i]) {
                EXPECT_EQ(std::string(plan.courses[i].name), "Generated " + std::to_string(c.expected[i])) << c.what;
            }
        }
    }
}
