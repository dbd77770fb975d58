// The course file: the built-in courses round-trip through it and match the files shipped in
// data/courses; every kind of damage is refused with one message naming the file and the line,
// and the course handed in is left untouched; the hash ignores the name and nothing else.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "track/courseFile.h"

namespace {

std::string builtInText(int index) {
    Course c;
    EXPECT_TRUE(builtInCourse(index, c));
    return writeCourseText(c);
}

TEST(CourseFile, BuiltInCoursesRoundTripAndMatchTheShippedFiles) {
    const char* shipped[2] = {TD_SOURCE_DIR "/data/courses/clockwork.course",
                              TD_SOURCE_DIR "/data/courses/doubleback.course"};
    for (int i = 0; i < 2; i++) {
        std::string text = builtInText(i);
        Course back;
        char message[courseMessageSize] = "";
        ASSERT_TRUE(parseCourseText(text.data(), text.size(), "built-in", back, message, sizeof message)) << message;
        EXPECT_EQ(writeCourseText(back), text);
        Course fromFile;
        ASSERT_TRUE(loadCourseFile(shipped[i], fromFile, message, sizeof message)) << message;
        EXPECT_EQ(writeCourseText(fromFile), text) << shipped[i] << " no longer matches the built-in course";
    }
}

TEST(CourseFile, HashKeysTheContentNotTheName) {
    Course a;
    ASSERT_TRUE(builtInCourse(0, a));
    Course renamed = a, moved = a, turned = a;
    snprintf(renamed.name, sizeof renamed.name, "Another name");
    moved.walls[3].x1 += 1.0f;
    turned.grid.facing = 2;
    EXPECT_EQ(courseHash(a), courseHash(renamed));
    EXPECT_NE(courseHash(a), courseHash(moved));
    EXPECT_NE(courseHash(a), courseHash(turned));
}

// Replaces the first occurrence of what in text.
std::string replaced(std::string text, const std::string& what, const std::string& with) {
    size_t at = text.find(what);
    EXPECT_NE(at, std::string::npos) << what;
    if (at != std::string::npos) text.replace(at, what.size(), with);
    return text;
}

struct Damage {
    const char* what;
    std::string text;
    const char* says;  // "FILE:LINE: ..." must contain this
};

TEST(CourseFile, DamagedFilesAreRefusedNamingFileAndLine) {
    const std::string good = builtInText(0);
    const std::string longLine = "name " + std::string(600, 'x') + "\n";
    const Damage cases[] = {
        {"empty", "", "c.course:1: empty"},
        {"not a course", "hello\n", "c.course:1: not a course file"},
        {"newer version", replaced(good, "trailerdash-course 1", "trailerdash-course 7"), ":1: a course from a newer"},
        {"cut mid-line", good.substr(0, good.size() - 2), "ends in the middle of a line"},
        {"cut short", good.substr(0, good.find("waypoint")), ": the file ends here, cut short"},
        {"unknown tile", replaced(good, "cornerL2B", "cornerX"), ":3: \"cornerX\" is not a tile"},
        {"short row", replaced(good, " blank\n", "\n"), ":3: a row needs 8 tiles, this has 7"},
        {"nine rows", replaced(good, "checkpoint 3 7", "row blank blank blank blank blank blank blank blank"),
         ":11: more than 8 rows"},
        {"cell off the grid", replaced(good, "checkpoint 6 6", "checkpoint 6 8"), ":12: checkpoint \"6 8\""},
        {"not a number", replaced(good, "wall -50 -50", "wall -50 nan"), "a wall's numbers"},
        {"hexadecimal", replaced(good, "wall -50 -50", "wall 0x10 -50"), "a wall's numbers"},
        {"far away", replaced(good, "wall -50 -50", "wall -50 -50000"), "within 10000 units"},
        {"control byte", replaced(good, "name Clockwork", std::string("name Clock\x01work")), ":2: a control"},
        {"overlong line", replaced(good, "name Clockwork\n", longLine), ":2: line longer than 512"},
        {"second name", replaced(good, "row cornerB2R", "name Again\nrow cornerB2R"), ":3: a second name"},
        {"text after end", good + "wall 0 0 1 1\n", "text after \"end\""},
        {"unknown line", replaced(good, "end\n", "speed 9\nend\n"), "\"speed\" is not a course line"},
        {"first checkpoint not the line", replaced(good, "checkpoint 3 7", "checkpoint 4 7"),
         "the first checkpoint (4, 7) is not a finish line"},
        {"checkpoint on grass", replaced(good, "checkpoint 6 6", "checkpoint 5 6"), "checkpoint (5, 6) is off the road"},
        {"checkpoint twice", replaced(good, "checkpoint 6 6", "checkpoint 3 7"), "checkpoint (3, 7) is listed twice"},
        {"waypoint twice", replaced(good, "waypoint 6 6", "waypoint 5 7"), "waypoint (5, 7) is listed twice"},
        {"grid off the road", replaced(good, "end\n", "grid 1000 1000 east\nend\n"), "off the road"},
        {"bad facing", replaced(good, "end\n", "grid 250 1960 up\nend\n"), "\"up\" is not a facing"},
        {"too large", good + std::string(maxCourseFileBytes, '#'), "too large for a course file"},
    };
    for (const Damage& d : cases) {
        SCOPED_TRACE(d.what);
        Course out;
        snprintf(out.name, sizeof out.name, "untouched");
        char message[courseMessageSize] = "";
        EXPECT_FALSE(parseCourseText(d.text.data(), d.text.size(), "c.course", out, message, sizeof message));
        EXPECT_EQ(strncmp(message, "c.course:", 9), 0) << message;
        EXPECT_NE(strstr(message, d.says), nullptr) << message;
        EXPECT_STREQ(out.name, "untouched");
        EXPECT_EQ(strchr(message, '\n'), nullptr) << "one line";
    }
}

TEST(CourseFile, AMissingFileIsNamed) {
    Course out;
    char message[courseMessageSize] = "";
    EXPECT_FALSE(loadCourseFile("/nonexistent/x.course", out, message, sizeof message));
    EXPECT_NE(strstr(message, "/nonexistent/x.course"), nullptr) << message;
}

}  // namespace
