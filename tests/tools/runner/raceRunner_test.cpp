// Whole races through the runner in this process, on the generated pictures of this build.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "globalsGuard.h"
#include "race/game.h"
#include "race/player.h"
#include "tools/runner/raceRunner.h"

namespace {
// The runner's text output, read back once it is done.
struct Capture {
    FILE* file = tmpfile();
    ~Capture() { fclose(file); }
    std::string text() {
        fflush(file);
        std::string s;
        rewind(file);
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, file)) > 0) s.append(buf, n);
        return s;
    }
};

RunnerOptions optionsFor(int track) {
    RunnerOptions o;
    snprintf(o.dataFolder, sizeof o.dataFolder, "%s", TD_BINARY_DIR);
    o.track = track;
    o.drawEvery = 120;
    o.maxSeconds = 600;
    return o;
}

int countOf(const std::string& text, const std::string& word) {
    int n = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) n++;
    return n;
}
}  // namespace

// Both courses: every truck, the autopilot's included, does all six laps; two runs with the same
// options print the same table.
TEST(RaceRunner, EveryTruckFinishesBothCoursesTheSameWayTwice) {
    GlobalsGuard globals;
    for (int track = 0; track < 2; track++) {
        std::string first;
        for (int run = 0; run < 2; run++) {
            Capture out;
            RaceRunner runner(optionsFor(track), out.file);
            ASSERT_TRUE(runner.start(stderr));
            EXPECT_EQ(track, runner.game->currentTrack);
            EXPECT_EQ(0, runner.runRaces());
            for (int i = 0; i < runner.game->playerCount; i++) {
                EXPECT_TRUE(runner.game->players[i]->isFinished()) << "truck " << i;
                EXPECT_EQ(6, runner.record.trucks[i].lapsRecorded) << "truck " << i;
            }
            printf("course %d: %.1f s simulated, user %.2f s, %d recoveries\n", track, runner.record.simulatedSeconds,
                   runner.record.trucks[0].finishTime, runner.autopilot.recoveries);
            runner.shutDown();
            std::string text = out.text();
            for (const char* name : {"UserPlayer", "AIplayer1", "AIplayer2", "AIplayer3", "AIplayer4"})
                EXPECT_EQ(2, countOf(text, name)) << name << " in the table and the lap list\n" << text;
            EXPECT_EQ(0, countOf(text, "--:--:--")) << text;
            if (run == 0)
                first = text;
            else
                EXPECT_EQ(first, text);
        }
    }
}

// Every frame lasts exactly the frame length, the first included, and the race starts in frame 0.
TEST(RaceRunner, ClockAdvancesOneFrameLengthPerFrame) {
    GlobalsGuard globals;
    RunnerOptions o = optionsFor(0);
    o.frameSeconds = 0.02;
    o.maxSeconds = 2.0;
    Capture out;
    RaceRunner runner(o, out.file);
    ASSERT_TRUE(runner.start(stderr));
    EXPECT_EQ(1, runner.runRaces()) << "nobody finishes in 2 s: a failure";
    EXPECT_TRUE(runner.record.timedOut);
    EXPECT_NE(std::string::npos, out.text().find("Time limit reached"));
    long long frames = runner.frame;
    printf("frames %lld, counter %lld, race clock %.6f s\n", frames, (long long)runner.clock.counter,
           runner.game->raceClock.elapsedSeconds());
    EXPECT_EQ(frames * 20000000LL, runner.clock.counter);
    // Reset in frame 0, read after the last frame.
    EXPECT_NEAR((frames - 1) * 0.02, runner.game->raceClock.elapsedSeconds(), 1e-9);
    EXPECT_FALSE(runner.game->waitingForStart) << "Space in frame 0 started the race";
    EXPECT_GT(runner.game->trucks[0].getSpeed(), 0.0f) << "the autopilot drove";
}

// With --idle the user's truck stays on the grid while the computer trucks race; the trace has
// one line per truck per frame in its documented columns.
TEST(RaceRunner, IdleUserAndTrace) {
    GlobalsGuard globals;
    char tracePath[] = "/tmp/runnerTraceXXXXXX";
    int fd = mkstemp(tracePath);
    ASSERT_GE(fd, 0);
    RunnerOptions o = optionsFor(1);
    o.idle = true;
    o.drawEvery = 0;
    snprintf(o.tracePath, sizeof o.tracePath, "%s", tracePath);
    Capture out;
    RaceRunner runner(o, out.file);
    ASSERT_TRUE(runner.start(stderr));
    EXPECT_EQ(0, runner.runRaces()) << "the computer trucks all finish";
    EXPECT_FALSE(runner.game->players[0]->isFinished());
    EXPECT_EQ(0, runner.game->trucks[0].getLapCount());
    printf("idle user truck ends at (%.3f, %.3f)\n", runner.game->trucks[0].getX(), runner.game->trucks[0].getY());
    long long frames = runner.frame;
    runner.shutDown();

    FILE* trace = fdopen(fd, "r");
    ASSERT_TRUE(trace);
    char line[512];
    ASSERT_TRUE(fgets(line, sizeof line, trace));
    EXPECT_STREQ("frame,truck,x,y,speed,cabHeading,trailerHeading,steerAngle,power,laps,lastCheckpoint\n", line);
    ASSERT_TRUE(fgets(line, sizeof line, trace));
    EXPECT_STREQ("0,0,250,1960,0,-90,-90,0,0,0,0\n", line) << "the idle truck after frame 0";
    long long lines = 2;
    int maxLaps = 0;
    while (fgets(line, sizeof line, trace)) {
        lines++;
        long long f;
        int truck, laps, checkpoint;
        float v[7];
        ASSERT_EQ(11, sscanf(line, "%lld,%d,%g,%g,%g,%g,%g,%g,%g,%d,%d", &f, &truck, &v[0], &v[1], &v[2], &v[3], &v[4],
                             &v[5], &v[6], &laps, &checkpoint))
            << line;
        if (laps > maxLaps) maxLaps = laps;
    }
    fclose(trace);
    remove(tracePath);
    EXPECT_EQ(frames * 5 + 1, lines);
    EXPECT_GE(maxLaps, 6);
}

// Ten races in a row alternate the courses, each on a clean grid, with every truck finishing.
TEST(RaceRunner, TenRacesAlternateCourses) {
    GlobalsGuard globals;
    RunnerOptions o = optionsFor(0);
    o.drawEvery = 0;
    Capture out;
    RaceRunner runner(o, out.file);
    ASSERT_TRUE(runner.start(stderr));
    for (int r = 1; r <= 10; r++) {
        ASSERT_TRUE(runner.runRace(r)) << "race " << r;
        EXPECT_EQ((r - 1) % 2, runner.record.course) << "race " << r;
        EXPECT_EQ(6, runner.record.trucks[0].lapsRecorded) << "race " << r;
    }
    EXPECT_EQ(5, countOf(out.text(), "on course 1"));
}
