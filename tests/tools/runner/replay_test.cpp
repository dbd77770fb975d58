// A race driven here by a script, with uneven frames and a restless player, recorded as the game
// records every race, must come out the same through --replay, frame by frame.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/input.h"
#include "race/game.h"
#include "records/replay.h"
#include "tools/runner/raceRunner.h"

#include "tempFolder.h"

namespace {

std::string linesAfter(const std::string& path, int skip) {
    std::ifstream in(path);
    std::string line, header, rest;
    std::getline(in, header);
    for (int i = 0; i < skip && std::getline(in, line); i++) {}
    std::ostringstream s;
    s << header << "\n" << in.rdbuf();
    return s.str();
}

const int titleFrames = 7;
const int raceFrames = 1500;

// Records a scripted race on course: a few title frames, then the race.
void scriptedRace(int course, const std::string& replayPath, const std::string& tracePath) {
    const char* args[] = {"runner",          "--track",     course ? "1" : "0", "--draw-every",    "50",
                          "--data",          TD_BINARY_DIR, "--trace",          tracePath.c_str(), "--record",
                          replayPath.c_str()};
    RunnerOptions options;
    ASSERT_TRUE(parseRunnerOptions(11, args, options, stderr));
    FILE* out = tmpfile();
    RaceRunner runner(options, out);
    ASSERT_TRUE(runner.start(stderr));
    unsigned seed = 12345u + (unsigned)course;
    auto next = [&seed](unsigned range) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % range;
    };
    auto key = [&runner](int code, bool down) {
        runner.clock.postMessage(down ? WM_KEYDOWN : WM_KEYUP, (uint64_t)code, 0);
    };
    for (int i = 0; i < titleFrames + raceFrames; i++) {
        int r = i - titleFrames;
        // Left pressed on the title is held into the race; Space starts it, Up drives off.
        if (i == 2) key(VK_LEFT, true);
        if (r == 0) key(VK_SPACE, true);
        if (r == 1) {
            key(VK_SPACE, false);
            key(VK_UP, true);
        }
        // Steering in bursts, a lift now and then, zooming with the wheel and the right button.
        if (r > 0 && r % 37 == 0) key(next(2) ? VK_LEFT : VK_RIGHT, true);
        if (r > 0 && r % 37 == 15) {
            key(VK_LEFT, false);
            key(VK_RIGHT, false);
        }
        // A pause of a second: the paused frames are part of the race and of its replay.
        if (r == 500 || r == 560) key('P', true);
        if (r == 501 || r == 561) key('P', false);
        if (r > 0 && r % 230 == 100) key(VK_UP, false);
        if (r > 0 && r % 230 == 130) key(VK_UP, true);
        if (r % 97 == 5) runner.clock.postMessage(WM_MOUSEWHEEL, makeWParam(0, 120), 0);
        if (r % 300 == 40) runner.clock.postMessage(WM_RBUTTONDOWN, 0, 0);
        if (r % 300 == 80) runner.clock.postMessage(WM_RBUTTONUP, 0, 0);
        // Frames of 4 to 40 ms, and now and then one the game clamps.
        int64_t micros = r % 400 == 399 ? 250000 : 4000 + next(36000);
        runner.clock.counter += micros * (runnerClockFrequency / 1000000);
        if (r == 0) runner.frame = 0;  // the replay's trace counts from the frame Space starts
        runner.drainAndRunFrame();
    }
    runner.shutDown();
    fclose(out);
}

}  // namespace

TEST(ReplayRun, AScriptedRaceComesBackExactlyOnBothCourses) {
    for (int course = 0; course < 2; course++) {
        TempFolder folder("td-replay");
        std::string replay = folder.path + "/race.replay", original = folder.path + "/original.csv",
                    replayed = folder.path + "/replayed.csv";
        scriptedRace(course, replay, original);
        if (HasFatalFailure()) return;

        const char* args[] = {"runner", "--replay",    replay.c_str(), "--draw-every",  "0",
                              "--data", TD_BINARY_DIR, "--trace",      replayed.c_str()};
        RunnerOptions options;
        ASSERT_TRUE(parseRunnerOptions(9, args, options, stderr));
        FILE* out = tmpfile();
        {
            RaceRunner runner(options, out);
            ASSERT_TRUE(runner.start(stderr));
            EXPECT_EQ(runner.game->currentTrack, course);
            runner.runRaces();
            printf("course %d: %d frames, %d messages, %lld bytes; the user's truck at %.1f, %.1f\n", course,
                   runner.replay->frameCount, runner.replay->messageCount,
                   (long long)std::filesystem::file_size(replay), runner.game->trucks[0].getX(),
                   runner.game->trucks[0].getY());
            EXPECT_EQ(runner.replay->frameCount, raceFrames);
            // It went somewhere: the comparison below is not of trucks standing on the grid.
            EXPECT_GT(std::hypot(runner.game->trucks[0].getX() - Game::gridStartX,
                                 runner.game->trucks[0].getY() - Game::gridEvenY),
                      300.0);
        }
        fclose(out);
        std::string want = linesAfter(original, titleFrames * Game::maxTrucks);
        std::string got = linesAfter(replayed, 0);
        EXPECT_EQ(got.size(), want.size()) << "course " << course;
        EXPECT_TRUE(got == want) << "course " << course << ": the replayed race differs from the recorded one";
    }
}

// Refused before a single frame: a file with one byte changed, and a race on a course the game lacks.
TEST(ReplayRun, DamagedOrMismatchedReplaysAreNotPlayed) {
    TempFolder folder("td-replay");
    std::string path = folder.path + "/x.replay";
    Replay r;
    r.begin(5, runnerClockFrequency, nullptr);
    r.addFrame(16666667, TruckPose{});
    ASSERT_TRUE(r.save(path.c_str()));
    RunnerOptions options;
    snprintf(options.dataFolder, sizeof options.dataFolder, "%s", TD_BINARY_DIR);
    snprintf(options.replayPath, sizeof options.replayPath, "%s", path.c_str());
    {
        RaceRunner runner(options, stdout);
        EXPECT_FALSE(runner.start(stderr)) << "a race on course 5";
    }
    r.course = 0;
    ASSERT_TRUE(r.save(path.c_str()));
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(20);
    f.put('\x7f');
    f.close();
    {
        RaceRunner runner(options, stdout);
        EXPECT_FALSE(runner.start(stderr)) << "a flipped byte";
        EXPECT_EQ(runner.game, nullptr);
    }
}
