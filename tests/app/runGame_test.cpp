// The whole run, start-up to shut-down, with a scripted platform and the offscreen window.
#include <gtest/gtest.h>

#include <unistd.h>

#include "app/glWindow.h"
#include "app/mainLoop.h"
#include "core/platform.h"
#include "globalsGuard.h"

class RunGameTest : public ::testing::Test {
protected:
    void SetUp() override {
        script.echoToStderr = false;
        setPlatform(&script);
        windowActive = false;
    }
    void TearDown() override { glWindow.destroy(); }
    GlobalsGuard globals;
    ScriptedPlatform script;
};

TEST_F(RunGameTest, AsksTheQuestionOpensTheWindowAndClosesWithCodeZero) {
    script.yesNoAnswer = IDNO;
    // The close box is clicked as soon as the loop looks.
    script.postMessage(WM_CLOSE, 0, 0);
    EXPECT_EQ(runGame(), 0);
    ASSERT_GE(script.boxTexts.size(), 1u);
    EXPECT_EQ(script.boxTexts[0], "Would you like to run fullscreen?\nnote: this may not work on some displays");
    EXPECT_EQ(script.boxCaptions[0], "Run Fullscreen?");
    EXPECT_FALSE(glWindow.created) << "shut-down destroyed the window";
    EXPECT_EQ(glWindow.windowHandle, nullptr);
    EXPECT_EQ(script.pendingMessages(), 0);
}

// A display that stays at 1280x1024 whatever is asked, as a virtual X server does.
static bool stubbornDisplay(int, int& width, int& height) {
    width = 1280;
    height = 1024;
    return true;
}

TEST_F(RunGameTest, YesOnADisplayWithoutTheModeRunsWindowed) {
    script.yesNoAnswer = IDYES;
    script.postQuitMessage(0);
    readDisplaySize = stubbornDisplay;
    int code = runGame();
    readDisplaySize = readSdlDisplaySize;
    EXPECT_EQ(code, 0);
    ASSERT_GE(script.boxTexts.size(), 2u);
    EXPECT_EQ(script.boxTexts[1],
              "The screen mode was not supported by your display\nWindowed mode will be used instead");
}

TEST_F(RunGameTest, WithoutAWindowNoPassRunsAndShutDownStillHappens) {
    const char* saved = getenv("SDL_VIDEODRIVER");
    std::string driver = saved ? saved : "";
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    script.postMessage(WM_KEYDOWN, 'F', 0);
    // With the pictures at hand, so that nothing tries to build textures without a GL context.
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir(TD_BINARY_DIR), 0);
    int code = runGame();
    EXPECT_EQ(chdir(cwd), 0);
    if (saved)
        setenv("SDL_VIDEODRIVER", driver.c_str(), 1);
    else
        unsetenv("SDL_VIDEODRIVER");
    EXPECT_EQ(code, 1) << "a run that never showed its window must not report success";
    EXPECT_EQ(script.pendingMessages(), 1) << "the loop never looked at the queue";
    EXPECT_FALSE(glWindow.created);
    WindowMessage msg;
    script.peekMessage(msg);
}
