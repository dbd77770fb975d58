#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "app/dataFolder.h"
#include "core/platform.h"
#include "globalsGuard.h"

// Three scratch folders; only the last holds "images".
class DataFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tdDataXXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        for (const char* sub : {"/a", "/b", "/c", "/c/images"}) ASSERT_EQ(mkdir((root + sub).c_str(), 0700), 0);
        ASSERT_NE(getcwd(start, sizeof start), nullptr);
        script.echoToStderr = false;
        setPlatform(&script);
    }
    void TearDown() override {
        ASSERT_EQ(chdir(start), 0);
        for (const char* sub : {"/c/images", "/a", "/b", "/c", ""}) rmdir((root + sub).c_str());
    }
    std::string here() {
        char path[4096];
        return getcwd(path, sizeof path) ? path : "";
    }

    GlobalsGuard globals;
    std::string root;
    char start[4096];
    ScriptedPlatform script;
};

TEST_F(DataFolderTest, TheFirstFolderHoldingImagesIsEntered) {
    std::string a = root + "/a", b = root + "/b", c = root + "/c";
    const char* folders[] = {nullptr, "", a.c_str(), b.c_str(), c.c_str()};
    EXPECT_EQ(findDataFolder(folders, 5), 4);
    EXPECT_TRUE(holdsImages(c.c_str()));
    EXPECT_FALSE(holdsImages((c + "/images").c_str()));
    EXPECT_TRUE(enterDataFolderFrom(folders, 5));
    EXPECT_EQ(here(), c);
    EXPECT_TRUE(script.boxTexts.empty());
    // Already there: "." is enough and nothing moves.
    const char* dot[] = {"."};
    EXPECT_TRUE(enterDataFolderFrom(dot, 1));
    EXPECT_EQ(here(), c);
}

TEST_F(DataFolderTest, AFileNamedImagesIsNotAFolder) {
    std::string file = root + "/a/images";
    FILE* f = fopen(file.c_str(), "w");
    ASSERT_NE(f, nullptr);
    fclose(f);
    EXPECT_FALSE(holdsImages((root + "/a").c_str()));
    unlink(file.c_str());
}

TEST_F(DataFolderTest, NoDataFolderIsReportedClearlyAndTheGameStaysPut) {
    std::string a = root + "/a", b = root + "/b";
    ASSERT_EQ(chdir(a.c_str()), 0);
    const char* folders[] = {".", b.c_str(), "/no/such/folder"};
    EXPECT_FALSE(enterDataFolderFrom(folders, 3));
    EXPECT_EQ(here(), a);
    ASSERT_EQ(script.boxTexts.size(), 1u);
    const std::string& text = script.boxTexts[0];
    printf("%s\n", text.c_str());
    EXPECT_NE(text.find("\"images\""), std::string::npos);
    EXPECT_NE(text.find(a + "\n"), std::string::npos) << "the working folder by its full path";
    EXPECT_NE(text.find(b), std::string::npos);
    EXPECT_NE(text.find("/no/such/folder"), std::string::npos);
    EXPECT_EQ(script.boxCaptions[0], "") << "an error box";
}

TEST_F(DataFolderTest, TheProgramsOwnFolderIsKnown) {
    char folder[4096];
    ASSERT_TRUE(executableFolder(folder, sizeof folder));
    printf("test program's folder: %s\n", folder);
    EXPECT_EQ(folder[0], '/');
    EXPECT_NE(std::string(folder).find("tests"), std::string::npos);
    char tiny[4];
    EXPECT_FALSE(executableFolder(tiny, sizeof tiny)) << "too small a buffer is refused, not overrun";
}
