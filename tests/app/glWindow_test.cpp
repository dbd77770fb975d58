// The window under SDL's offscreen driver: the same calls as on a desktop, with no X server.
#include "glTest.h"
#include "globalsGuard.h"

#include <SDL.h>

#include <cstring>

#include "app/glWindow.h"
#include "app/mainLoop.h"
#include "core/platform.h"

class GLWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        script.echoToStderr = false;
        setPlatform(&script);
    }
    void TearDown() override { window.destroy(); }
    bool open(bool fullScreen = false) {
        return window.create("GL Framework", 640, 480, 32, 16, fullScreen, windowProc, nullptr);
    }
    void expectDrawable640x480() {
        int w = 0, h = 0;
        SDL_GL_GetDrawableSize(window.windowHandle, &w, &h);
        printf("drawable %dx%d\n", w, h);
        EXPECT_EQ(w, 640);
        EXPECT_EQ(h, 480);
    }

    GlobalsGuard globals;
    ScriptedPlatform script;
    GLWindow window;
};

TEST_F(GLWindowTest, OpensA640x480DoubleBufferedWindowWithItsTitle) {
    ASSERT_TRUE(open());
    EXPECT_TRUE(window.created);
    EXPECT_FALSE(window.fullScreen);
    EXPECT_TRUE(script.boxTexts.empty());
    EXPECT_STREQ(window.className, "GL Framework");
    EXPECT_STREQ(SDL_GetWindowTitle(window.getWindowHandle()), "GL Framework");
    EXPECT_EQ(window.windowProcedure, &windowProc);
    expectDrawable640x480();
    int doubleBuffer = 0, depth = 0, red = 0;
    SDL_GL_GetAttribute(SDL_GL_DOUBLEBUFFER, &doubleBuffer);
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depth);
    SDL_GL_GetAttribute(SDL_GL_RED_SIZE, &red);
    printf("%s driver: double buffer %d, depth %d, red %d bits\n", SDL_GetCurrentVideoDriver(), doubleBuffer, depth,
           red);
    // The offscreen driver draws into a single pbuffer whatever is asked; a desktop gives two.
    if (strcmp(SDL_GetCurrentVideoDriver(), "offscreen") != 0) {
        EXPECT_EQ(doubleBuffer, 1);
    }
    EXPECT_GE(depth, 16);
    EXPECT_GE(red, 8);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW) << "the projection leaves the modelview matrix current";
    EXPECT_TRUE(window.swapBuffers());
}

TEST_F(GLWindowTest, CornerSquareLandsOnTheTopRightPixelAndTheOriginIsTheCentre) {
    ASSERT_TRUE(open());
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    glBegin(GL_QUADS);
    glVertex2f(318.5f, 238.5f);
    glVertex2f(319.5f, 238.5f);
    glVertex2f(319.5f, 239.5f);
    glVertex2f(318.5f, 239.5f);
    // A small square on the origin.
    glVertex2f(-1, -1);
    glVertex2f(1, -1);
    glVertex2f(1, 1);
    glVertex2f(-1, 1);
    glEnd();
    EXPECT_EQ(readPixel(639, 479).r, 255);
    EXPECT_EQ(readPixel(638, 478).r, 0);
    EXPECT_EQ(readPixel(319, 239).r, 255);
    EXPECT_EQ(readPixel(320, 240).r, 255);
    EXPECT_EQ(readPixel(316, 236).r, 0);
}

TEST_F(GLWindowTest, SecondCreateIsRefusedAndKeepsTheFirstWindow) {
    ASSERT_TRUE(open());
    SDL_Window* first = window.windowHandle;
    EXPECT_FALSE(window.create("Another", 320, 200, 16, 16, false, windowProc, nullptr));
    ASSERT_EQ(script.boxTexts.size(), 1u);
    EXPECT_EQ(script.boxTexts[0], "The main window already exists");
    EXPECT_EQ(script.boxCaptions[0], "Error");
    EXPECT_EQ(window.windowHandle, first);
    EXPECT_STREQ(window.className, "GL Framework");
    EXPECT_TRUE(window.created);
    expectDrawable640x480();
}

// A display that stays at 1280x1024 whatever is asked, as a virtual X server does.
static bool stubbornDisplay(int, int& width, int& height) {
    width = 1280;
    height = 1024;
    return true;
}

TEST_F(GLWindowTest, RefusedFullScreenFallsBackToTheWindowAfterItsMessage) {
    readDisplaySize = stubbornDisplay;
    bool opened = open(true);
    readDisplaySize = readSdlDisplaySize;
    ASSERT_TRUE(opened);
    ASSERT_EQ(script.boxTexts.size(), 1u);
    EXPECT_EQ(script.boxTexts[0],
              "The screen mode was not supported by your display\nWindowed mode will be used instead");
    EXPECT_EQ(script.boxCaptions[0], "Error");
    EXPECT_FALSE(window.fullScreen);
    EXPECT_TRUE(window.created);
    EXPECT_EQ(SDL_GetWindowFlags(window.windowHandle) & SDL_WINDOW_FULLSCREEN, 0u);
    expectDrawable640x480();
}

TEST_F(GLWindowTest, FullScreenWhereTheDisplayReallySwitchesAndDestroyRestoresIt) {
    // The offscreen display does switch to any mode asked of it.
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    SDL_DisplayMode desktop;
    ASSERT_EQ(SDL_GetCurrentDisplayMode(0, &desktop), 0);
    ASSERT_TRUE(open(true));
    EXPECT_TRUE(script.boxTexts.empty());
    EXPECT_TRUE(window.fullScreen);
    expectDrawable640x480();
    SDL_DisplayMode now;
    SDL_GetCurrentDisplayMode(0, &now);
    printf("desktop %dx%d, full screen %dx%d\n", desktop.w, desktop.h, now.w, now.h);
    EXPECT_EQ(now.w, 640);
    window.destroy();
    SDL_GetCurrentDisplayMode(0, &now);
    EXPECT_EQ(now.w, desktop.w);
    EXPECT_EQ(now.h, desktop.h);
    EXPECT_FALSE(window.fullScreen);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

TEST_F(GLWindowTest, DestroyReleasesEverythingAndIsSafeTwiceAndBeforeCreate) {
    GLWindow never;
    EXPECT_TRUE(never.destroy());
    ASSERT_TRUE(open());
    EXPECT_TRUE(window.destroy());
    EXPECT_FALSE(window.created);
    EXPECT_EQ(window.windowHandle, nullptr);
    EXPECT_EQ(window.renderingContext, nullptr);
    EXPECT_FALSE(window.videoStarted);
    EXPECT_FALSE(window.swapBuffers());
    EXPECT_TRUE(window.destroy());
    // And it can be opened again after.
    ASSERT_TRUE(open());
    EXPECT_TRUE(script.boxTexts.empty());
}

TEST_F(GLWindowTest, NoVideoMeansFalseWithoutAMessage) {
    const char* saved = getenv("SDL_VIDEODRIVER");
    std::string driver = saved ? saved : "";
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    bool opened = open();
    if (saved)
        setenv("SDL_VIDEODRIVER", driver.c_str(), 1);
    else
        unsetenv("SDL_VIDEODRIVER");
    EXPECT_FALSE(opened);
    EXPECT_TRUE(script.boxTexts.empty());
    EXPECT_FALSE(window.created);
    EXPECT_FALSE(window.videoStarted);
    EXPECT_TRUE(window.destroy());
}
