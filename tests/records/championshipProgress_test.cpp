// The championship progress file: what the game writes reads back the same, and every damaged
// form is refused whole, naming its line, with nothing half-read kept.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <string>

#include "records/championshipProgress.h"
#include "records/storage.h"
#include "tests/support/tempFolder.h"

static ChampionshipProgress twoRacesOfThree() {
    ChampionshipProgress p;
    ChampionshipCourse c = {};
    c.kind = championshipBuiltIn;
    c.builtIn = 1;
    strcpy(c.name, "Doubleback");
    p.addCourse(c);
    c = {};
    c.kind = championshipFile;
    c.hash = 0x9f3a0c21d4e5b678ull;
    strcpy(c.name, "Generated 23");
    p.addCourse(c);
    c = {};
    c.kind = championshipRandom;
    c.seed = 18446744073709551615ull;
    strcpy(c.name, "Generated 7");
    p.addCourse(c);
    const int first[championshipTrucks] = {4, 2, 0, 3, 1}, second[championshipTrucks] = {0, 1, 2, 3, 4};
    p.addResult(first);
    p.addResult(second);
    return p;
}

static const char savedText[] =
    "trailerdash championship 1\n"
    "course builtin 1 Doubleback\n"
    "course file 9f3a0c21d4e5b678 Generated 23\n"
    "course random 18446744073709551615 Generated 7\n"
    "result 4 2 0 3 1\n"
    "result 0 1 2 3 4\n"
    "end\n";

TEST(ChampionshipProgress, WritesItsTextAndReadsItBack) {
    ChampionshipProgress p = twoRacesOfThree();
    char text[maxProgressFileSize];
    int n = p.format(text, sizeof text);
    ASSERT_GT(n, 0);
    EXPECT_EQ(std::string(text, (size_t)n), savedText);

    ChampionshipProgress back;
    char why[progressMessageSize] = "";
    ASSERT_TRUE(back.parse(text, n, why, sizeof why)) << why;
    EXPECT_EQ(back.courseCount, 3);
    EXPECT_EQ(back.racesRun, 2);
    EXPECT_FALSE(back.finished());
    EXPECT_EQ(back.courses[0].builtIn, 1);
    EXPECT_EQ(back.courses[1].hash, 0x9f3a0c21d4e5b678ull);
    EXPECT_EQ(back.courses[2].seed, 18446744073709551615ull);
    EXPECT_STREQ(back.courses[1].name, "Generated 23");
    EXPECT_EQ(memcmp(back.places, p.places, sizeof p.places), 0);
    // Lines ended CR LF by an editor read the same.
    std::string crlf;
    for (char ch : std::string(savedText)) crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    EXPECT_TRUE(back.parse(crlf.data(), (long)crlf.size(), why, sizeof why)) << why;
    EXPECT_EQ(back.humans, 1);
    // A series of two people says so on its second line, and reads back as two.
    p.humans = 2;
    n = p.format(text, sizeof text);
    ASSERT_GT(n, 0);
    EXPECT_EQ(std::string(text, 37), "trailerdash championship 1\nplayers 2\n");
    ASSERT_TRUE(back.parse(text, n, why, sizeof why)) << why;
    EXPECT_EQ(back.humans, 2);
}

TEST(ChampionshipProgress, RefusesEveryDamagedFileWhole) {
    const std::string head = "trailerdash championship 1\ncourse builtin 0 Clockwork\ncourse builtin 1 Doubleback\n";
    struct Case {
        std::string text;
        const char* why;  // the start of the message
    } cases[] = {
        {"", "line 1 is missing"},
        {"trailerdash records 1\nend\n", "line 1 is not"},
        {"trailerdash championship 2\n" + head.substr(27) + "end\n", "line 1 is from a newer version"},
        {head, "line 4 is missing: the file is cut short"},
        {head + "end", "line 4 is cut short"},
        {head + "result 1 2 3 4 0\nen", "line 5 is cut short"},
        {"trailerdash championship 1\nend\n", "line 2 ends a championship of no courses"},
        {head + "result 1 2 3 4\nend\n", "line 4 is not five truck numbers"},
        {head + "result 1 2 3 4 5\nend\n", "line 4 is not five truck numbers"},
        {head + "result 1 2 3 4 0 0\nend\n", "line 4 is not five truck numbers"},
        {head + "result 1 1 3 4 0\nend\n", "line 4 names a truck twice"},
        {head + "result 1 2 3 4 0\nresult 1 2 3 4 0\nresult 1 2 3 4 0\nend\n", "line 6 has more results"},
        {head + "result 1 2 3 4 0\ncourse builtin 0 Clockwork\nend\n", "line 5 lists a course after a result"},
        {head + "course builtin 100 Far\nend\n", "line 4 has a course number"},
        {head + "course builtin 01 Zero\nend\n", "line 4 has a course number"},
        {head + "course file 0000000000000000 None\nend\n", "line 4 has a course number"},
        {head + "course file 9F3A0C21D4E5B678 Upper\nend\n", "line 4 has a course number"},
        {head + "course random 18446744073709551616 Over\nend\n", "line 4 has a course number"},
        {head + "course track 0 Clockwork\nend\n", "line 4 names no kind"},
        {head + "course builtin 0\nend\n", "line 4 has no course name"},
        {head + "course builtin 0 " + std::string(64, 'x') + "\nend\n", "line 4 has no course name"},
        {head + "course builtin 0 Tab\there\nend\n", "line 4 has no course name"},
        {head + "end\nresult 1 2 3 4 0\n", "line 5 follows the end line"},
        {head + "laps 6\nend\n", "line 4 cannot be read"},
        {head + "players 2\nend\n", "line 4 names the players after a course"},
        {"trailerdash championship 1\nplayers 2\nplayers 2\n" + head.substr(27) + "end\n", "line 3 names the players"},
        {"trailerdash championship 1\nplayers 3\n" + head.substr(27) + "end\n", "line 2 is not \"players 1\""},
        {"trailerdash championship 1\nplayers 0\n" + head.substr(27) + "end\n", "line 2 is not \"players 1\""},
        {head + std::string(200, 'r') + "\nend\n", "line 4 is too long"},
        {head + std::string("result 1 2\0 3 4 0\nend\n", 22), "line 4 holds a NUL"},
    };
    for (const Case& c : cases) {
        ChampionshipProgress p = twoRacesOfThree();
        char why[progressMessageSize] = "";
        EXPECT_FALSE(p.parse(c.text.data(), (long)c.text.size(), why, sizeof why)) << c.text;
        EXPECT_EQ(std::string(why).rfind(c.why, 0), 0u) << "got \"" << why << "\" for:\n" << c.text;
        // Nothing of a refused file is kept.
        EXPECT_EQ(p.courseCount, 0);
        EXPECT_EQ(p.racesRun, 0);
        EXPECT_EQ(p.humans, 1);
    }
    // Too many courses for one series.
    std::string many = "trailerdash championship 1\n";
    for (int i = 0; i <= maxChampionshipRaces; i++) many += "course builtin 0 Clockwork\n";
    ChampionshipProgress p;
    char why[progressMessageSize] = "";
    EXPECT_FALSE(p.parse(many.data(), (long)many.size(), why, sizeof why));
    EXPECT_STREQ(why, "line 18 lists more courses than a championship holds");
}

TEST(ChampionshipProgress, IsSavedWholeAndLoadedOrRefusedFromTheDisk) {
    TempFolder folder("td-progress");
    ASSERT_FALSE(folder.path.empty());
    char path[storagePathSize];
    ASSERT_TRUE(progressPath(folder.path.c_str(), path, sizeof path));
    ChampionshipProgress p;
    char why[progressMessageSize] = "";
    EXPECT_EQ(loadProgress(path, p, why, sizeof why), progressNone);

    ASSERT_TRUE(saveProgress(path, twoRacesOfThree()));
    EXPECT_EQ(loadProgress(path, p, why, sizeof why), progressLoaded);
    EXPECT_EQ(p.racesRun, 2);

    // Damaged on the disk: refused with the reason, the file left as it is.
    ASSERT_TRUE(writeFileAtomically(path, "trailerdash championship 1\ncourse", 34));
    EXPECT_EQ(loadProgress(path, p, why, sizeof why), progressRefused);
    EXPECT_STREQ(why, "line 2 is cut short");
    EXPECT_EQ(p.courseCount, 0);
    struct stat st;
    ASSERT_EQ(stat(path, &st), 0);
    EXPECT_EQ(st.st_size, 34);

    std::string huge(maxProgressFileSize + 1, '\n');
    ASSERT_TRUE(writeFileAtomically(path, huge.data(), huge.size()));
    EXPECT_EQ(loadProgress(path, p, why, sizeof why), progressRefused);
    EXPECT_STREQ(why, "is too large to be a championship");

    // A folder where the file should be cannot be read.
    ASSERT_EQ(remove(path), 0);
    ASSERT_EQ(mkdir(path, 0700), 0);
    EXPECT_EQ(loadProgress(path, p, why, sizeof why), progressRefused);
    EXPECT_FALSE(saveProgress(path, twoRacesOfThree()));
}
