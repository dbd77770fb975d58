// The records file: what survives a round trip, a damaged file and an interrupted write.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "records/records.h"
#include "records/storage.h"

#include "tempFolder.h"

namespace {

void writeText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
std::string readText(const std::string& path) {
    std::ostringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

}  // namespace

TEST(Records, OnlyBetterTimesAreTakenAndTheyComeBackExactly) {
    TempFolder folder("td-records");
    Records r;
    EXPECT_EQ(r.offer(0, 263.15f, 41.28f), newLapRecord | newRaceRecord);
    EXPECT_EQ(r.offer(0, 270.0f, 40.0f), newLapRecord);
    EXPECT_EQ(r.offer(0, 250.0f, 45.0f), newRaceRecord);
    EXPECT_EQ(r.offer(0, 300.0f, 50.0f), 0);
    // No lap completed shows as a huge time; it is no record.
    EXPECT_EQ(r.offer(1, 1e11f, 1e11f), 0);
    EXPECT_EQ(r.offer(1, 301.37f, 0.0f), newRaceRecord);
    EXPECT_EQ(r.offer(maxRecordCourses, 1.0f, 1.0f), 0);

    std::string path = folder.file("records");
    ASSERT_TRUE(r.save(path.c_str()));
    printf("%s", readText(path).c_str());
    EXPECT_EQ(readText(path).rfind("trailerdash records 1\n", 0), 0u);
    Records back;
    back.load(path.c_str(), nullptr);
    EXPECT_FALSE(back.readOnly);
    for (int c = 0; c < maxRecordCourses; c++) {
        EXPECT_EQ(back.bestLap(c), r.bestLap(c)) << "course " << c;
        EXPECT_EQ(back.bestRace(c), r.bestRace(c)) << "course " << c;
    }
    EXPECT_EQ(back.bestLap(0), 40.0f);
    EXPECT_EQ(back.bestRace(1), 301.37f);
}

// Whatever the file holds, the readable values survive and nothing crashes.
TEST(Records, DamagedFilesKeepWhatCanBeRead) {
    TempFolder folder("td-records");
    std::string path = folder.file("records");
    struct Case {
        const char* what;
        std::string text;
        float lap0, race0, race1;
        bool readOnly;
    } cases[] = {
        {"empty", "", 0, 0, 0, false},
        {"cut mid-line", "trailerdash records 1\nlap 0 41.5\nrace 0 263.2\nrace 1 30", 41.5f, 263.2f, 0, false},
        {"garbled lines among good ones",
         "trailerdash records 1\nlap 0 41.5\n\x01\xff\xfe garbage\nrace 0 nan\nrace 0 -5\nrace 9 3\nlap 0 41.5 x\n"
         "race 1 301.25\nrace 0 263.2\n" +
             std::string(300, 'z') + "\n",
         41.5f, 263.2f, 301.25f, false},
        {"no version line", "lap 0 41.5\nrace 1 301.25\n", 41.5f, 0, 301.25f, false},
        {"a newer version", "trailerdash records 2\nlap 0 41.5\nflag 7\n", 0, 0, 0, true},
        {"binary junk", std::string("\0\0\0\x89PNG\r\n\x1a\n", 12), 0, 0, 0, false},
        {"too large", "trailerdash records 1\nlap 0 41.5\n" + std::string(maxRecordsFileSize, '\n'), 41.5f, 0, 0, true},
    };
    for (const Case& c : cases) {
        writeText(path, c.text);
        Records r;
        r.load(path.c_str(), stderr);
        EXPECT_EQ(r.bestLap(0), c.lap0) << c.what;
        EXPECT_EQ(r.bestRace(0), c.race0) << c.what;
        EXPECT_EQ(r.bestRace(1), c.race1) << c.what;
        EXPECT_EQ(r.readOnly, c.readOnly) << c.what;
    }
    Records none;
    none.load(folder.file("missing").c_str(), stderr);
    EXPECT_EQ(none.bestLap(0), 0.0f);
    EXPECT_FALSE(none.readOnly);
}

// A crash after the temporary file is written but before it is renamed leaves the old records.
TEST(Records, AnInterruptedWriteKeepsTheOldFile) {
    TempFolder folder("td-records");
    std::string path = folder.file("records");
    Records old;
    old.offer(0, 263.0f, 41.0f);
    ASSERT_TRUE(old.save(path.c_str()));
    std::string before = readText(path);

    Records better = old;
    better.offer(0, 200.0f, 30.0f);
    char text[maxRecordsFileSize];
    int n = better.format(text, sizeof text);
    ASSERT_GT(n, 0);
    char temp[storagePathSize];
    ASSERT_TRUE(writeTemporaryBeside(path.c_str(), text, (size_t)n, temp, sizeof temp));
    // ... and here the power goes.
    EXPECT_EQ(readText(path), before);
    Records after;
    after.load(path.c_str(), nullptr);
    EXPECT_EQ(after.bestRace(0), 263.0f);
    EXPECT_EQ(readText(temp), std::string(text, (size_t)n));

    // A folder that cannot be written: the save fails and the old file stays.
    std::string blocked = folder.file("records/sub");  // "records" is a file, not a folder
    EXPECT_FALSE(makeFolders(blocked.c_str()));
    EXPECT_FALSE(better.save((blocked + "/records").c_str()));
    EXPECT_EQ(readText(path), before);
}

TEST(Records, StorageFolderFollowsXdgDataHome) {
    const char* saved = getenv("XDG_DATA_HOME");
    std::string keep = saved ? saved : "";
    char folder[storagePathSize];
    setenv("XDG_DATA_HOME", "/data/home", 1);
    ASSERT_TRUE(storageFolder(folder, sizeof folder));
    EXPECT_STREQ(folder, "/data/home/trailerdash");
    // Relative or empty: the default under HOME.
    for (const char* ignored : {"relative/path", ""}) {
        setenv("XDG_DATA_HOME", ignored, 1);
        ASSERT_TRUE(storageFolder(folder, sizeof folder));
        EXPECT_EQ(std::string(folder), std::string(getenv("HOME")) + "/.local/share/trailerdash");
    }
    setenv("XDG_DATA_HOME", keep.c_str(), 1);
}

// Numbers outside their range are bad lines, never wrapped onto real courses or versions.
TEST(Records, NumbersOutOfRangeAreRefused) {
    struct Case {
        const char* what;
        std::string text;
        int course;  // whose times are looked at
        float lap, race;
        bool readOnly;
        int refusedLines;
    } cases[] = {
        {"a course wrapping onto 0", "trailerdash records 1\nlap 4294967296 1.5\n", 0, 0, 0, false, 1},
        {"a course past 64 bits", "trailerdash records 1\nrace 18446744073709551617 2.5\n", 0, 0, 0, false, 1},
        {"a course with a sign", "trailerdash records 1\nlap -1 1.5\nlap +0 1.5\n", 0, 0, 0, false, 2},
        {"the last course", "trailerdash records 1\nlap 7 1.5\nrace 007 2.5\nlap 8 1\n", maxRecordCourses - 1, 1.5f,
         2.5f, false, 1},
        {"a version wrapping onto 1", "trailerdash records 4294967297\nlap 0 41.5\n", 0, 41.5f, 0, false, 1},
        {"a version wrapping onto 2", "trailerdash records 4294967298\nlap 0 41.5\n", 0, 41.5f, 0, false, 1},
        {"a version past the largest", "trailerdash records 2147483648\nlap 0 41.5\n", 0, 41.5f, 0, false, 1},
        {"the largest version", "trailerdash records 2147483647\nlap 0 41.5\n", 0, 0, 0, true, 0},
        {"times not finite, not decimal or past a day",
         "trailerdash records 1\nlap 0 inf\nlap 0 0x1p5\nlap 0 1e-46\nrace 0 1e30\nrace 0 86400\nrace 0 -0\n", 0, 0, 0,
         false, 6},
        {"times as the game writes them", "trailerdash records 1\nlap 0 4.12799988e+01\nrace 0 263.149994\n", 0,
         41.2799988f, 263.149994f, false, 0},
    };
    for (const Case& c : cases) {
        char* said = nullptr;
        size_t saidSize = 0;
        FILE* err = open_memstream(&said, &saidSize);
        ASSERT_NE(err, nullptr);
        Records r;
        r.parse(c.text.data(), (long)c.text.size(), err);
        fclose(err);
        int refused = 0;
        for (const char* at = said; (at = strstr(at, "cannot be read")) != nullptr; at++) refused++;
        printf("%s: %d lines refused, lap %g, race %g\n", c.what, refused, r.bestLap(c.course), r.bestRace(c.course));
        EXPECT_EQ(r.bestLap(c.course), c.lap) << c.what;
        EXPECT_EQ(r.bestRace(c.course), c.race) << c.what;
        EXPECT_EQ(r.readOnly, c.readOnly) << c.what;
        EXPECT_EQ(refused, c.refusedLines) << c.what << ":\n" << said;
        free(said);
    }
}

// Course files' records, keyed by hash, live in their own file: the built-in file stays as every
// version reads it, and each file reads only its own kind of line.
TEST(Records, CourseFileRecordsAreKeptByHashInTheirOwnFile) {
    TempFolder folder("td-records");
    const uint64_t a = 0x9f3a0c21d4e5b678ull, b = 0x0000000000000001ull;
    Records r;
    EXPECT_EQ(r.offerFor(a, 200.0f, 33.5f), newLapRecord | newRaceRecord);
    EXPECT_EQ(r.offerFor(a, 210.0f, 33.0f), newLapRecord);
    EXPECT_EQ(r.offerFor(b, 0.0f, 40.0f), newLapRecord);
    EXPECT_EQ(r.offerFor(0, 1.0f, 1.0f), 0);
    EXPECT_EQ(r.offer(0, 263.0f, 41.0f), newLapRecord | newRaceRecord);
    ASSERT_TRUE(r.save(folder.file("records").c_str()));
    ASSERT_TRUE(r.save(folder.file("course-records").c_str(), courseFileRecords));
    EXPECT_EQ(readText(folder.file("records")), "trailerdash records 1\nlap 0 41\nrace 0 263\n");
    EXPECT_EQ(readText(folder.file("course-records")),
              "trailerdash records 1\nlap 9f3a0c21d4e5b678 33\nrace 9f3a0c21d4e5b678 200\nlap 0000000000000001 40\n");

    Records back;
    back.load(folder.file("records").c_str(), nullptr);
    back.load(folder.file("course-records").c_str(), nullptr, courseFileRecords);
    EXPECT_EQ(back.bestLapOf(a), 33.0f);
    EXPECT_EQ(back.bestRaceOf(a), 200.0f);
    EXPECT_EQ(back.bestLapOf(b), 40.0f);
    EXPECT_EQ(back.bestRaceOf(0x1234ull), 0.0f);  // an edited course has none
    EXPECT_EQ(back.bestRace(0), 263.0f);

    // Each kind of line in the other file is ignored, and costs only itself.
    struct Case {
        RecordsPart part;
        const char* text;
        float lap0;
        float lapA;
    } cases[] = {
        {builtInRecords, "trailerdash records 1\nlap 0 41\nlap 9f3a0c21d4e5b678 33\n", 41.0f, 0.0f},
        {courseFileRecords, "trailerdash records 1\nlap 0 41\nlap 9f3a0c21d4e5b678 33\n", 0.0f, 33.0f},
        {courseFileRecords, "trailerdash records 1\nlap 9f3a0c21d4e5b6 33\nlap 0000000000000000 3\n", 0.0f, 0.0f},
        {courseFileRecords, "trailerdash records 1\nlap 9f3a0c21d4e5b67g 33\nlap 9F3A0C21D4E5B678 32\n", 0.0f, 32.0f},
    };
    for (const Case& c : cases) {
        Records p;
        EXPECT_TRUE(p.parse(c.text, (long)strlen(c.text), nullptr, c.part)) << c.text;
        EXPECT_EQ(p.bestLap(0), c.lap0) << c.text;
        EXPECT_EQ(p.bestLapOf(a), c.lapA) << c.text;
    }

    // A full table keeps what it has.
    Records full;
    for (int i = 0; i < maxHashedRecords; i++) full.offerFor(1000 + (uint64_t)i, 100.0f, 10.0f);
    EXPECT_EQ(full.offerFor(a, 100.0f, 10.0f), 0);
    EXPECT_EQ(full.bestLapOf(1000), 10.0f);
    char text[maxRecordsFileSize];
    EXPECT_GT(full.format(text, sizeof text, courseFileRecords), 0);
}

// The holder's name: kept with the very time it set, written on its own line and read back; a
// name line that is damaged, or repeats a time no longer kept, names nobody and costs no time.
TEST(Records, AHoldersNameGoesWithItsTime) {
    Records r;
    EXPECT_EQ(r.offer(0, 263.15f, 41.28f, "Ada Lovelace"), newLapRecord | newRaceRecord);
    EXPECT_EQ(r.offer(0, 270.0f, 40.0f, "Bo"), newLapRecord);  // only the lap changes hands
    EXPECT_EQ(r.offer(1, 300.0f, 0.0f, " bad"), newRaceRecord);
    EXPECT_EQ(r.offerFor(0x9f3a0c21d4e5b678ull, 200.0f, 30.0f, "Cy"), newLapRecord | newRaceRecord);
    EXPECT_STREQ(r.lapHolder(0), "Bo");
    EXPECT_STREQ(r.raceHolder(0), "Ada Lovelace");
    EXPECT_STREQ(r.raceHolder(1), "");  // no name is kept for what cannot be one
    char text[maxRecordsFileSize];
    for (RecordsPart part : {builtInRecords, courseFileRecords}) {
        int n = r.format(text, sizeof text, part);
        ASSERT_GT(n, 0);
        printf("%s", text);
        Records back;
        ASSERT_TRUE(back.parse(text, n, nullptr, part));
        if (part == builtInRecords) {
            EXPECT_STREQ(back.lapHolder(0), "Bo");
            EXPECT_STREQ(back.raceHolder(0), "Ada Lovelace");
            EXPECT_EQ(back.bestRace(1), 300.0f);
        } else {
            EXPECT_STREQ(back.raceHolderOf(0x9f3a0c21d4e5b678ull), "Cy");
            EXPECT_EQ(back.bestLapOf(0x9f3a0c21d4e5b678ull), 30.0f);
        }
    }

    struct Case {
        const char* what;
        const char* text;
        float race0;
        const char* holder0;
    } cases[] = {
        {"an old file, no names", "trailerdash records 1\nrace 0 263.5\n", 263.5f, ""},
        {"the name line first", "trailerdash records 1\nby race 0 263.5 Ada\nrace 0 263.5\n", 263.5f, "Ada"},
        {"blanks inside the name kept, at its end dropped", "race 0 263.5\nby race 0 263.5  Ada  L \r\n", 263.5f,
         "Ada  L"},
        {"a stale name of a slower time", "race 0 263.5\nby race 0 270 Bo\n", 263.5f, ""},
        {"the better of two times keeps its own name",
         "race 0 270\nby race 0 270 Bo\nrace 0 263.5\nby race 0 263.5 Ada\n", 263.5f, "Ada"},
        {"a name too long", "race 0 263.5\nby race 0 263.5 Abcdefghijklmnopqrstuvwxyz\n", 263.5f, ""},
        {"a control character in the name", "race 0 263.5\nby race 0 263.5 A\x01" "da\n", 263.5f, ""},
        {"no name at all", "race 0 263.5\nby race 0 263.5\nby race 0 263.5 \n", 263.5f, ""},
        {"the time line damaged", "race 0 26x3.5\nby race 0 263.5 Ada\n", 0.0f, ""},
        {"the name line cut short", "race 0 263.5\nby race 0 263.5 Ada", 263.5f, ""},
        {"another course's name", "race 0 263.5\nby race 1 263.5 Ada\nby lap 0 263.5 Bo\n", 263.5f, ""},
    };
    for (const Case& c : cases) {
        Records read;
        EXPECT_TRUE(read.parse(c.text, (long)strlen(c.text), nullptr)) << c.what;
        printf("%s: %g by \"%s\"\n", c.what, read.bestRace(0), read.raceHolder(0));
        EXPECT_EQ(read.bestRace(0), c.race0) << c.what;
        EXPECT_STREQ(read.raceHolder(0), c.holder0) << c.what;
    }
}
