// A race driven here by a script, with uneven frames and a restless player, recorded as the game
// records every race, must come out the same through --replay, frame by frame.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/input.h"
#include "front/frontScreens.h"
#include "app/mainLoop.h"
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

// Records a scripted race on course: a few title frames, then the race; with two players, player
// two drives on their own codes beside player one.
void scriptedRace(int course, int players, const std::string& replayPath, const std::string& tracePath) {
    const char* args[] = {"runner",  "--track",     course ? "1" : "0", "--draw-every",    "50",
                          "--data",  TD_BINARY_DIR, "--trace",          tracePath.c_str(), "--record",
                          replayPath.c_str(), "--players", players == 2 ? "2" : "1"};
    RunnerOptions options;
    ASSERT_TRUE(parseRunnerOptions(13, args, options, stderr));
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
        // Player two: on the throttle from the start, steering in bursts of their own.
        if (players == 2 && r == 3) key(VK_PLAYER2_UP, true);
        if (players == 2 && r > 0 && r % 41 == 7) key(next(2) ? VK_PLAYER2_LEFT : VK_PLAYER2_RIGHT, true);
        if (players == 2 && r > 0 && r % 41 == 20) {
            key(VK_PLAYER2_LEFT, false);
            key(VK_PLAYER2_RIGHT, false);
        }
        if (players == 2 && r == 700) key(VK_PLAYER2_DOWN, true);
        if (players == 2 && r == 760) key(VK_PLAYER2_DOWN, false);
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

// Every truck of every frame in the trace, both humans' among them in a two-player race.
TEST(ReplayRun, AScriptedRaceComesBackExactlyOnBothCoursesWithOneOrTwoPlayers) {
    const struct {
        int course, players;
    } cases[] = {{0, 1}, {1, 1}, {0, 2}};
    for (const auto& c : cases) {
        int course = c.course;
        TempFolder folder("td-replay");
        std::string replay = folder.path + "/race.replay", original = folder.path + "/original.csv",
                    replayed = folder.path + "/replayed.csv";
        scriptedRace(course, c.players, replay, original);
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
            EXPECT_EQ(runner.replay->setup.humans, c.players);
            EXPECT_EQ(runner.game->humans(), c.players);
            if (c.players == 2) {
                // Player two's truck drove too, and stands where the recording's last frame says.
                const Truck& t = runner.game->trucks[1];
                const TruckPose& p = runner.replay->frames[runner.replay->frameCount - 1].second;
                printf("player two's truck at %.1f, %.1f; recorded %.1f, %.1f\n", t.getX(), t.getY(), p.x, p.y);
                EXPECT_EQ(t.getX(), p.x);
                EXPECT_EQ(t.getY(), p.y);
                EXPECT_EQ(t.cabHeading, p.cabHeading);
                const TruckPose& grid = runner.replay->frames[0].second;
                EXPECT_GT(std::hypot(p.x - grid.x, p.y - grid.y), 300.0);
            }
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

namespace {

std::vector<uint8_t> bytesOf(const Replay& r) {
    std::vector<uint8_t> bytes(r.encodedBound());
    bytes.resize(r.encode(bytes.data(), bytes.size()));
    return bytes;
}

// A replay on course 0 whose frames advance the counter by deltas, the first frame carrying message.
std::vector<uint8_t> replayOf(std::initializer_list<int64_t> deltas, uint32_t message = 0, uint64_t wParam = 0) {
    Replay r;
    r.begin(0, runnerClockFrequency, nullptr);
    if (message) r.addMessage(message, wParam, 0);
    for (int64_t d : deltas) r.addFrame(d, TruckPose{});
    return bytesOf(r);
}

// The bytes at `at` replaced by `with`, and the checksum made to match again.
std::vector<uint8_t> patched(std::vector<uint8_t> bytes, size_t at, std::vector<uint8_t> with) {
    bytes.erase(bytes.begin() + (long)at);
    bytes.insert(bytes.begin() + (long)at, with.begin(), with.end());
    uint32_t crc = crc32Of(bytes.data(), bytes.size() - 4);
    for (int i = 0; i < 4; i++) bytes[bytes.size() - 4 + i] = (uint8_t)(crc >> (8 * i));
    return bytes;
}

std::string contentsOf(FILE* f) {
    fflush(f);
    rewind(f);
    std::string text;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) text.append(chunk, n);
    return text;
}

}  // namespace

// Files made by hand to hurt the programs that play them, every one with a checksum that matches:
// refused with a reason before a frame runs, or played with every figure printed initialised.
TEST(ReplayRun, HostileReplaysAreRefusedOrPlayedSafely) {
    const std::vector<uint8_t> pastSixtyFourBits = {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x02};
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        bool emptiedAfterLoading;  // a frameless replay reaching the runner past the loader
        const char* said;          // on stderr when refused, in the results when played
        int exitCode;              // of a played one
    } cases[] = {
        {"no frames", replayOf({}), false, "holds no frames", 0},
        {"a minimised window", replayOf({16666667}, WM_ACTIVATE, makeWParam(WA_ACTIVE, 1)), false, "never records", 0},
        {"a quit", replayOf({16666667}, WM_QUIT, 7), false, "never records", 0},
        {"a close", replayOf({16666667}, WM_CLOSE), false, "never records", 0},
        // The first frame's counter delta, one varint byte at the header's end.
        {"a varint past 64 bits", patched(replayOf({0}), replayHeaderSize, pastSixtyFourBits), false,
         "do not match its header", 0},
        // The game clamps each step to [0, 0.1] s: 0.015 + 0 + 0.1 + 0.015 of game time.
        {"a counter stepping back and far ahead", replayOf({16666667, -5000000000LL, 1000000000000000000LL, 16666667}),
         false, "Simulated: 0.130 s in 4 frames", 1},
        {"frames gone after loading", replayOf({16666667}), true, "Simulated: 0.000 s in 0 frames", 1},
    };
    TempFolder folder("td-hostile");
    std::string path = folder.file("hostile.replay");
    for (const Case& c : cases) {
        std::ofstream(path, std::ios::binary).write((const char*)c.bytes.data(), (long)c.bytes.size());
        RunnerOptions options;
        snprintf(options.dataFolder, sizeof options.dataFolder, "%s", TD_BINARY_DIR);
        snprintf(options.replayPath, sizeof options.replayPath, "%s", path.c_str());
        options.drawEvery = 0;
        FILE* out = tmpfile();
        FILE* err = tmpfile();
        bool refused = strstr(c.said, "Simulated") == nullptr;
        {
            RaceRunner runner(options, out);
            bool started = runner.start(err);
            if (refused) {
                EXPECT_FALSE(started) << c.what;
            } else {
                ASSERT_TRUE(started) << c.what;
                if (c.emptiedAfterLoading) runner.replay->frameCount = 0;
                EXPECT_EQ(runner.runRaces(), c.exitCode) << c.what;
            }
        }
        std::string said = contentsOf(refused ? err : out);
        printf("%s: %s\n", c.what, said.substr(0, said.find('\n')).c_str());
        EXPECT_NE(said.find(c.said), std::string::npos) << c.what << ": " << said;
        if (!refused) {
            EXPECT_EQ(said.rfind("Race 1 on course 0\n", 0), 0u) << c.what << ": " << said;
        }
        fclose(out);
        fclose(err);
    }
}

// A quick race from the menu, recorded by the runner with the countdown and the pause menu in it,
// plays back through --replay to the same place; without its countdown it would not.
TEST(ReplayRun, AQuickRacesReplayPlaysToItsRecordedResult) {
    TempFolder folder("td-quick");
    std::string replay = folder.path + "/quick.replay";
    float wantX = 0, wantY = 0;
    {
        const char* args[] = {"runner", "--draw-every", "0", "--data", TD_BINARY_DIR, "--record", replay.c_str()};
        RunnerOptions options;
        ASSERT_TRUE(parseRunnerOptions(7, args, options, stderr));
        FILE* out = tmpfile();
        RaceRunner runner(options, out);
        ASSERT_TRUE(runner.start(stderr));
        FrontScreens front;
        front.settings.laps = 1;
        runner.loop->over = &front;
        auto key = [&runner](int code, bool down) {
            runner.clock.postMessage(down ? WM_KEYDOWN : WM_KEYUP, (uint64_t)code, 0);
        };
        // Frame by frame: the menu, Quick race, Up held through the countdown, a pause and a resume.
        struct Step {
            int frame, code;
            bool down;
        } script[] = {{1, VK_RETURN, true},  {2, VK_RETURN, false}, {4, VK_RETURN, true},  {5, VK_RETURN, false},
                      {6, VK_UP, true},      {260, VK_LEFT, true},  {300, VK_LEFT, false}, {330, VK_ESCAPE, true},
                      {331, VK_ESCAPE, false}, {350, VK_ESCAPE, true}, {351, VK_ESCAPE, false}};
        size_t next = 0;
        for (int i = 0; i < 450; i++) {
            while (next < sizeof script / sizeof script[0] && script[next].frame == i) {
                key(script[next].code, script[next].down);
                next++;
            }
            runner.clock.counter += (i % 3 ? 16667 : 21000) * (runnerClockFrequency / 1000000);
            runner.drainAndRunFrame();
            if (i == 5) {
                ASSERT_TRUE(front.quick.active) << "the menu did not start a quick race";
            }
        }
        wantX = runner.game->trucks[0].getX();
        wantY = runner.game->trucks[0].getY();
        front.quick.stop(*runner.game);
        runner.loop->over = nullptr;
        runner.shutDown();
        fclose(out);
    }
    const char* args[] = {"runner", "--replay", replay.c_str(), "--draw-every", "0", "--data", TD_BINARY_DIR};
    RunnerOptions options;
    ASSERT_TRUE(parseRunnerOptions(7, args, options, stderr));
    FILE* out = tmpfile();
    {
        RaceRunner runner(options, out);
        ASSERT_TRUE(runner.start(stderr));
        ASSERT_EQ(runner.replay->setup.countdown, 1);
        runner.runRaces();
        float gotX = runner.game->trucks[0].getX(), gotY = runner.game->trucks[0].getY();
        printf("quick race: %d frames; recorded truck at %.2f, %.2f, replayed at %.2f, %.2f\n",
               runner.replay->frameCount, wantX, wantY, gotX, gotY);
        EXPECT_GT(std::hypot(wantX - Game::gridStartX, wantY - Game::gridEvenY), 300.0) << "it went nowhere";
        // Exact replays: the same floats, no tolerance.
        EXPECT_EQ(gotX, wantX);
        EXPECT_EQ(gotY, wantY);
    }
    fclose(out);
}
