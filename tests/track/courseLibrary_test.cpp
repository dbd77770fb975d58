// The course list: its order, what it leaves out and how, and the random entry.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "tempFolder.h"
#include "track/courseFile.h"
#include "track/courseGenerator.h"
#include "track/courseLibrary.h"

namespace {
std::string generatedText(uint64_t seed) {
    Course c;
    EXPECT_TRUE(generateCourse(seed, c));
    return writeCourseText(c);
}
void writeText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
}  // namespace

TEST(CourseLibrary, ListsBuiltInShippedOwnThenRandomAndSaysWhatItLeavesOut) {
    TempFolder shipped("td-shipped"), own("td-own");
    Course first;
    ASSERT_TRUE(builtInCourse(0, first));
    std::string cut = generatedText(3);
    cut.resize(cut.size() / 2);
    // Each file, and the entry it must become (-1: left out).
    struct File {
        const TempFolder& folder;
        const char* name;
        std::string text;
    } files[] = {
        {shipped, "b.course", generatedText(1)},
        {shipped, "a.course", generatedText(2)},
        {shipped, "clockwork.course", writeCourseText(first)},  // the built-in one again: quietly left out
        {shipped, "bad.course", "trailerdash-course 1\nname Bad\nrow nothing\n"},
        {shipped, "notes.txt", "not a course"},
        {own, "mine.course", generatedText(4)},
        {own, "copy.course", generatedText(2)},  // a shipped one again
        {own, "cut.course", cut},
    };
    for (const File& f : files) writeText(f.folder.file(f.name), f.text);

    FILE* err = tmpfile();
    ASSERT_NE(err, nullptr);
    CourseLibrary library;
    library.gather(shipped.path.c_str(), own.path.c_str(), err);
    struct Expected {
        CourseSource source;
        const char* name;
    } expected[] = {{builtInSource, nullptr},          {builtInSource, nullptr},         {shippedSource, "Generated 2"},
                    {shippedSource, "Generated 1"},    {playerSource, "Generated 4"},    {randomSource, randomCourseName}};
    ASSERT_EQ(library.count(), (int)(sizeof expected / sizeof expected[0]));
    for (int i = 0; i < library.count(); i++) {
        EXPECT_EQ(library.entry(i).source, expected[i].source) << i;
        if (expected[i].name) {
            EXPECT_STREQ(library.entry(i).course.name, expected[i].name) << i;
        }
    }
    EXPECT_EQ(library.entry(1).builtIn, 1);
    EXPECT_EQ(library.find(courseHash(first)), 0);

    // One line for each file that could not be read, naming it.
    rewind(err);
    char said[4096] = "";
    said[fread(said, 1, sizeof said - 1, err)] = '\0';
    fclose(err);
    int lines = 0;
    for (const char* c = said; *c; c++) lines += *c == '\n';
    EXPECT_EQ(lines, 2) << said;
    EXPECT_NE(strstr(said, "bad.course:3"), nullptr) << said;
    EXPECT_NE(strstr(said, "cut.course"), nullptr) << said;

    // A missing folder is no courses; the random entry gets a course from each seed, a fresh one
    // a fresh course.
    library.gather("/nonexistent/courses", nullptr, nullptr);
    ASSERT_EQ(library.count(), 3);
    EXPECT_EQ(library.find(0), -1);
    ASSERT_TRUE(library.makeRandom(77));
    uint64_t made = library.entry(2).hash;
    EXPECT_NE(made, 0u);
    EXPECT_EQ(library.find(made), 2);
    ASSERT_TRUE(library.makeRandom(78));
    EXPECT_NE(library.entry(2).hash, made);
}
