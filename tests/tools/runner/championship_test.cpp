// --championship: the list of courses it takes or refuses, what it may be combined with, and a
// short series raced whole in this process, its standings printed after every race.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "front/championship.h"
#include "globalsGuard.h"
#include "race/game.h"
#include "tools/runner/championshipRun.h"
#include "tools/runner/raceRunner.h"

namespace {
bool parse(std::initializer_list<const char*> words, RunnerOptions& o) {
    const char* argv[16] = {"trailerdash-runner"};
    int argc = 1;
    for (const char* w : words) argv[argc++] = w;
    FILE* sink = fopen("/dev/null", "w");
    bool ok = parseRunnerOptions(argc, argv, o, sink);
    fclose(sink);
    return ok;
}
}  // namespace

TEST(RunnerChampionship, TakesAListOfCoursesAndRefusesWhatItCannotRace) {
    const std::string shipped = TD_SOURCE_DIR "/data/courses/generated-23.course";
    const std::string manyRaces = "0,1,0,1,0,1,0,1,0,1,0,1,0,1,0,1,0";
    struct Case {
        std::string list;
        int races;  // -1: refused
        ChampionshipCourseKind firstKind;
    } cases[] = {
        {"0,1", 2, championshipBuiltIn},
        {"1", 1, championshipBuiltIn},
        {"random:3", 3, championshipRandom},
        {"random:2:99," + shipped + ",0", 4, championshipRandom},
        {shipped, 1, championshipFile},
        {manyRaces.substr(2), 16, championshipBuiltIn},
        {manyRaces, -1, championshipBuiltIn},  // seventeen races
        {"2", -1, championshipBuiltIn},        // no such built-in course
        {"0,,1", -1, championshipBuiltIn},
        {"0,", -1, championshipBuiltIn},
        {"", -1, championshipBuiltIn},
        {"random:0", -1, championshipBuiltIn},
        {"random:17", -1, championshipBuiltIn},
        {"random:2:x", -1, championshipBuiltIn},
        {"random:", -1, championshipBuiltIn},
        {"missing.course", -1, championshipBuiltIn},
    };
    FILE* sink = fopen("/dev/null", "w");
    for (const Case& c : cases) {
        ChampionshipProgress plan;
        bool ok = parseChampionshipList(c.list.c_str(), plan, sink);
        EXPECT_EQ(ok, c.races >= 0) << c.list;
        if (!ok) continue;
        EXPECT_EQ(plan.courseCount, c.races) << c.list;
        EXPECT_EQ(plan.courses[0].kind, c.firstKind) << c.list;
    }
    fclose(sink);
    // The same seed gives the same courses: a random series can be raced again.
    ChampionshipProgress a, b;
    ASSERT_TRUE(parseChampionshipList("random:2:99", a, stderr));
    ASSERT_TRUE(parseChampionshipList("random:2:99", b, stderr));
    EXPECT_EQ(a.courses[1].seed, b.courses[1].seed);
    EXPECT_STREQ(a.courses[1].name, b.courses[1].name);

    struct Combination {
        std::initializer_list<const char*> words;
        bool taken;
    } combinations[] = {
        {{"--championship", "0,1", "--laps", "2", "--difficulty", "hard", "--trace", "t.csv"}, true},
        {{"--championship", "0,1", "--screenshots", "shots", "--draw-every", "0"}, true},
        {{"--championship", "0,1", "--idle"}, false},  // a race ends when the user's truck finishes
        {{"--championship", "0,1", "--track", "1"}, false},
        {{"--championship", "0,1", "--course", "a.course"}, false},
        {{"--championship", "0,1", "--races", "3"}, false},
        {{"--championship", "0,1", "--record", "r.replay"}, false},
        {{"--championship", "0,1", "--keep"}, false},
        {{"--championship"}, false},
    };
    for (const Combination& c : combinations) {
        RunnerOptions o;
        EXPECT_EQ(parse(c.words, o), c.taken) << *(c.words.begin() + (c.words.size() > 2 ? 2 : 0));
    }
}

// Two one-lap races, on a built-in course and a shipped one: the standings after each, 25 points a race, the next grid the standings'
// order, and the final board at the end.
TEST(RunnerChampionship, RacesTheSeriesAndPrintsTheStandings) {
    GlobalsGuard globals;
    RunnerOptions o;
    snprintf(o.dataFolder, sizeof o.dataFolder, "%s", TD_BINARY_DIR);
    // A shipped course file, found among the game's courses by its hash.
    snprintf(o.championship, sizeof o.championship, "1,%s", TD_SOURCE_DIR "/data/courses/generated-7.course");
    o.laps = 1;
    o.drawEvery = 0;
    o.maxSeconds = 300;
    FILE* out = tmpfile();
    ASSERT_NE(out, nullptr);
    {
        RaceRunner runner(o, out);
        ASSERT_TRUE(runner.start(stderr));
        EXPECT_EQ(0, runner.runRaces());
        const Championship& c = *runner.championship;
        EXPECT_EQ(c.stage, Championship::podium);
        EXPECT_EQ(c.progress.racesRun, 2);
        int total = 0;
        for (int t = 0; t < championshipTrucks; t++) total += c.standings.points[t];
        EXPECT_EQ(total, 50);
        runner.shutDown();
    }
    fflush(out);
    rewind(out);
    std::string text;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, out)) > 0) text.append(buf, n);
    fclose(out);
    EXPECT_NE(text.find("Standings after race 1 of 2 (Doubleback)\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Standings after race 2 of 2 (Generated 7): final\n"), std::string::npos) << text;
    // The grid printed after race 1 is that race's standings, leader first (at the back).
    size_t at = text.find("Standings after race 1");
    std::string order;
    for (int k = 0; k < championshipTrucks; k++) {
        at = text.find('\n', at) + 1;
        if (k == 0) at = text.find('\n', at) + 1;  // the heading row
        order += " " + std::to_string(std::stoi(text.substr(at + 7, 5)));
    }
    EXPECT_NE(text.find("grid from the back:" + order + "\n"), std::string::npos) << order << "\n" << text;
}
