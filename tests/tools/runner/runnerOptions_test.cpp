// The runner's command line: what it takes and what it refuses before any race starts.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tools/runner/runnerOptions.h"

namespace {
// Parses the words after the program name; errors go to a scratch stream.
bool parse(std::initializer_list<const char*> words, RunnerOptions& options) {
    const char* argv[32] = {"trailerdash-runner"};
    int argc = 1;
    for (const char* w : words) argv[argc++] = w;
    FILE* err = tmpfile();
    bool ok = parseRunnerOptions(argc, argv, options, err);
    fclose(err);
    return ok;
}
}  // namespace

TEST(RunnerOptions, DefaultsAndEveryOptionTaken) {
    RunnerOptions o;
    ASSERT_TRUE(parse({}, o));
    EXPECT_EQ(0, o.track);
    EXPECT_DOUBLE_EQ(1.0 / 60.0, o.frameSeconds);
    EXPECT_EQ(1, o.races);
    EXPECT_FALSE(o.idle);
    EXPECT_EQ(1, o.drawEvery);
    EXPECT_STREQ("", o.tracePath);

    RunnerOptions all;
    ASSERT_TRUE(parse({"--track", "1", "--frame", "0.02", "--races", "10", "--idle", "--trace", "t.csv",
                       "--max-seconds", "30", "--data", "/d", "--screenshots", "shots", "--draw-every", "0"},
                      all));
    EXPECT_EQ(1, all.track);
    EXPECT_DOUBLE_EQ(0.02, all.frameSeconds);
    EXPECT_EQ(10, all.races);
    EXPECT_TRUE(all.idle);
    EXPECT_STREQ("t.csv", all.tracePath);
    EXPECT_DOUBLE_EQ(30, all.maxSeconds);
    EXPECT_STREQ("/d", all.dataFolder);
    EXPECT_STREQ("shots", all.screenshotFolder);
    EXPECT_EQ(0, all.drawEvery);
}

TEST(RunnerOptions, RefusesWhatCannotBeRun) {
    RunnerOptions o;
    EXPECT_FALSE(parse({"--track", "2"}, o)) << "only two courses";
    EXPECT_FALSE(parse({"--track", "-1"}, o));
    EXPECT_FALSE(parse({"--frame", "0"}, o)) << "a frame of no time never ends a race";
    EXPECT_FALSE(parse({"--frame", "-0.01"}, o));
    EXPECT_FALSE(parse({"--frame", "nan"}, o));
    EXPECT_FALSE(parse({"--frame", "inf"}, o));
    EXPECT_FALSE(parse({"--frame", "0.01x"}, o)) << "trailing text";
    EXPECT_FALSE(parse({"--races", "0"}, o));
    EXPECT_FALSE(parse({"--races", "1e3"}, o));
    EXPECT_FALSE(parse({"--max-seconds", "0"}, o));
    EXPECT_FALSE(parse({"--draw-every", "-1"}, o));
    EXPECT_FALSE(parse({"--frame"}, o)) << "missing value";
    EXPECT_FALSE(parse({"--trace", ""}, o));
    EXPECT_FALSE(parse({"--lapz", "3"}, o)) << "unknown option";
    std::string longPath(runnerPathSize, 'p');
    EXPECT_FALSE(parse({"--trace", longPath.c_str()}, o)) << "a path that would be cut short";
}

// Course files and generated courses: what may go together, and seeds as whole 64-bit numbers.
TEST(RunnerOptions, CoursesAndSeedsTakenOrRefusedTogether) {
    struct Case {
        std::initializer_list<const char*> words;
        bool taken;
        const char* why;
    };
    const Case cases[] = {
        {{"--course", "a.course", "--idle", "--trace", "t.csv", "--record", "r.replay"}, true, "races a file"},
        {{"--generate", "18446744073709551615", "--save", "g.course"}, true, "the largest seed"},
        {{"--generate", "18446744073709551616"}, false, "a seed past 64 bits"},
        {{"--generate", "-1"}, false, "a negative seed"},
        {{"--generate", "12x"}, false, "trailing text"},
        {{"--course", "a.course", "--track", "1"}, false, "two courses named"},
        {{"--course", "a.course", "--keep"}, false, "records kept for the built-in courses only"},
        {{"--generate", "1", "--keep"}, false, "records kept for the built-in courses only"},
        {{"--generate", "1", "--course", "a.course"}, false, "generates its own course"},
        {{"--generate", "1", "--replay", "r.replay"}, false, "generates its own course"},
        {{"--save", "g.course"}, false, "nothing generated to save"},
    };
    for (const Case& c : cases) {
        RunnerOptions o;
        EXPECT_EQ(parse(c.words, o), c.taken) << c.why;
    }
    RunnerOptions o;
    ASSERT_TRUE(parse({"--generate", "18446744073709551615"}, o));
    EXPECT_EQ(o.seed, 18446744073709551615ull);
}
