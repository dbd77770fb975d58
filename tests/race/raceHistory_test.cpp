// What the game keeps of a race: records only when beaten, the best race's replay beside the
// last one, a newer records file left alone, and an unwritable folder said once.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "raceFixture.h"

namespace {

std::string readText(const std::string& path) {
    std::ostringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

class RaceHistoryTest : public LoadedGameTest {
protected:
    void SetUp() override {
        LoadedGameTest::SetUp();
        char name[] = "/tmp/td-history-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        folder = name;
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
        LoadedGameTest::TearDown();
    }
    // A race of a few frames that the user finishes in raceSeconds with a best lap of lapSeconds.
    void race(float raceSeconds, float lapSeconds, int frames = 5) {
        keys.keyDown(VK_SPACE);
        frame();
        keys.keyUp(VK_SPACE);
        for (int i = 0; i < frames; i++) frame();
        game->players[0]->finished = true;
        game->players[0]->setTime(raceSeconds);
        game->trucks[0].bestLapTime = lapSeconds;
        frame();
        // Back on the results screen, as a finished race leaves it.
        game->raceOver = true;
        game->waitingForStart = true;
    }
    std::string folder;
};

}  // namespace

TEST_F(RaceHistoryTest, KeepsRecordsAndTheBestRaceOnlyWhenBeaten) {
    game->history.keepIn(folder.c_str(), stderr);
    race(100.0f, 15.0f);
    EXPECT_EQ(game->history.lastBeaten, newLapRecord | newRaceRecord);
    std::string records = readText(folder + "/records");
    EXPECT_NE(records.find("race 0 100"), std::string::npos) << records;

    // The next race (course 1 from the results) ends the first: its replay is both last and best.
    race(130.0f, 21.0f);
    std::string best0 = readText(folder + "/best-course0.replay");
    EXPECT_FALSE(best0.empty());
    EXPECT_EQ(best0, readText(folder + "/last.replay"));
    Replay replay;
    char why[128];
    ASSERT_TRUE(replay.load((folder + "/best-course0.replay").c_str(), why, sizeof why)) << why;
    EXPECT_EQ(replay.course, 0);
    EXPECT_EQ(replay.frameCount, 7);

    // Course 0 again, slower: the records and the best race stay, the last race is replaced.
    race(120.0f, 16.0f, 9);
    EXPECT_EQ(game->currentTrack, 0);
    EXPECT_EQ(game->history.lastBeaten, 0);
    game->history.stop();
    EXPECT_EQ(readText(folder + "/best-course0.replay"), best0);
    EXPECT_NE(readText(folder + "/last.replay"), best0);
    Records back;
    back.load((folder + "/records").c_str(), stderr);
    EXPECT_EQ(back.bestRace(0), 100.0f);
    EXPECT_EQ(back.bestLap(1), 21.0f);
    // The title reads them; the ghost of course 0's best race is ready for this race.
    EXPECT_TRUE(game->history.ghostLoaded);
}

TEST_F(RaceHistoryTest, ANewerFileIsNeverReplacedAndAnUnwritableFolderIsSaidOnce) {
    std::string newer = "trailerdash records 9\nsomething we cannot read\n";
    std::ofstream(folder + "/records") << newer;
    game->history.keepIn(folder.c_str(), nullptr);
    race(100.0f, 15.0f);
    EXPECT_EQ(game->history.lastBeaten, newLapRecord | newRaceRecord);
    EXPECT_EQ(readText(folder + "/records"), newer);
    EXPECT_EQ(game->history.records.bestRace(0), 100.0f) << "kept for this run";

    delete game;
    game = new Game();
    game->load();
    // A folder under a file can never be made.
    std::string blocked = folder + "/records/trailerdash";
    testing::internal::CaptureStderr();
    game->history.keepIn(blocked.c_str(), nullptr);
    race(100.0f, 15.0f);
    race(90.0f, 14.0f);
    game->history.stop();
    std::string said = testing::internal::GetCapturedStderr();
    printf("%s", said.c_str());
    EXPECT_EQ(said.find("cannot write"), said.rfind("cannot write")) << "said once";
    EXPECT_NE(said.find("cannot write"), std::string::npos);
    EXPECT_EQ(game->history.records.bestRace(0), 100.0f);
}

// Each kind of race keeps its own records: alone (time attack) in files of their own, the classic
// race's as always, and a race of other laps none at all; a lap record set in the best race stands
// on that race's file, one set in another race on a file of its own. A two-player race sets none
// (the records are one driver's against four computer trucks) but leaves its replay.
TEST_F(RaceHistoryTest, RecordsAreKeptPerKindOfRace) {
    struct Case {
        int rivals, laps, humans;
        float race, lap;
        const char* recordsFile;  // where the race's records go; null for none
        bool lapFile;             // a bestlap replay is there afterwards
    } cases[] = {
        {4, 6, 1, 100.0f, 15.0f, "records", false},
        {0, 6, 1, 90.0f, 14.0f, "alone-records", false},
        {0, 6, 1, 95.0f, 13.5f, "alone-records", true},  // the lap beaten, the race not
        {4, 3, 1, 40.0f, 12.0f, nullptr, true},          // the last one's stays
        {4, 6, 2, 80.0f, 10.0f, nullptr, true},          // faster than every record
    };
    game->history.keepIn(folder.c_str(), stderr);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rivals << " computer trucks, " << c.laps << " laps");
        ASSERT_TRUE(game->setRivals(c.rivals));
        ASSERT_TRUE(game->setLaps(c.laps));
        ASSERT_TRUE(game->setHumans(c.humans));
        // On the results of a race on course 1: Space moves on to course 0.
        game->currentTrack = 1;
        game->raceOver = true;
        std::string before = readText(folder + "/records") + readText(folder + "/alone-records");
        race(c.race, c.lap);
        game->history.stop();
        EXPECT_EQ(game->rivals(), c.rivals);
        std::string after = readText(folder + "/records") + readText(folder + "/alone-records");
        if (c.recordsFile) {
            std::string text = readText(folder + "/" + c.recordsFile);
            char lapLine[32];
            snprintf(lapLine, sizeof lapLine, "lap 0 %g", c.lap);
            EXPECT_NE(text.find(lapLine), std::string::npos) << text;
        } else {
            EXPECT_EQ(after, before);
            EXPECT_EQ(game->history.lastBeaten, 0);
        }
        EXPECT_EQ(!readText(folder + "/alone-bestlap-course0.replay").empty(), c.lapFile);
        Replay replay;
        char why[128];
        ASSERT_TRUE(replay.load((folder + "/last.replay").c_str(), why, sizeof why)) << why;
        EXPECT_EQ(replay.setup.rivals, c.rivals);
        EXPECT_EQ(replay.setup.laps, c.laps);
        EXPECT_EQ(replay.setup.humans, c.humans);
    }
    EXPECT_EQ(game->history.bestRace(*game), 100.0f) << "the classic race's record, not the alone one's";
}
