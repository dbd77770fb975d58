// The loop's order and its three ways out, driven pass by pass.
#include "shellFixture.h"

using MainLoopTest = ShellTest;

TEST_F(MainLoopTest, WaitingMessagesAreDrainedOnePerPassBeforeTheNextFrame) {
    for (int i = 0; i < 5; i++) platformScript.postMessage(WM_MOUSEMOVE, 0, i);
    for (int i = 0; i < 5; i++) {
        loop.pass();
        EXPECT_EQ(loop.framesRun, 0) << "pass " << i;
    }
    loop.pass();
    EXPECT_EQ(loop.framesRun, 1);
}

TEST_F(MainLoopTest, EscapeEndsTheLoopOnlyAfterItsFrameIsDrawnAndShown) {
    frame();
    glClearColor(1, 0, 0, 1);  // the game's draw clears with this: a red screen proves it ran
    send(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_FALSE(loop.done) << "the key alone does not end the loop";
    frame();
    EXPECT_TRUE(loop.done);
    EXPECT_EQ(loop.framesRun, 2);
    EXPECT_EQ(readPixel(60, 240).r, 255) << "beside the title panel, whose veil darkens what it covers";
    EXPECT_EQ(keys.previous[VK_ESCAPE], 1) << "the frame ran to its key roll-over";
    // The game asked to quit too; the ended loop never retrieves it.
    EXPECT_EQ(platformScript.pendingMessages(), 1);
    loop.pass();
    EXPECT_EQ(loop.framesRun, 2);
    EXPECT_EQ(platformScript.pendingMessages(), 1);
    EXPECT_EQ(loop.exitCode(), 0) << "the last message was the key, whose code is no exit status";
    glClearColor(0, 0, 0, 1);
}

TEST_F(MainLoopTest, CloseQuitsWithCodeZeroAndNoFurtherFrame) {
    frame();
    send(WM_CLOSE);
    EXPECT_FALSE(loop.done);
    loop.pass();
    EXPECT_TRUE(loop.done);
    EXPECT_EQ(loop.lastMessage.message, (unsigned)WM_QUIT);
    EXPECT_EQ(loop.framesRun, 1);
    EXPECT_EQ(loop.exitCode(), 0);
}

TEST_F(MainLoopTest, ExitCodeIsTheQuitMessagesCode) {
    EXPECT_EQ(loop.exitCode(), 0) << "nothing retrieved yet";
    platformScript.postQuitMessage(3);
    loop.run();
    EXPECT_EQ(loop.exitCode(), 3);
}

TEST_F(MainLoopTest, MinimisedWindowRunsNoFramesAndTheFirstFrameAfterIsClamped) {
    frame();
    send(WM_ACTIVATE, makeWParam(WA_INACTIVE, 1));
    EXPECT_FALSE(windowActive);
    int waitsBefore = platformScript.waitCalls;
    for (int i = 0; i < 20; i++) frame(1000000);
    EXPECT_EQ(loop.framesRun, 1);
    EXPECT_EQ(platformScript.waitCalls - waitsBefore, 20)
        << "each idle pass sleeps in the platform instead of spinning";
    send(WM_ACTIVATE, makeWParam(WA_ACTIVE, 0));
    frame();
    EXPECT_EQ(loop.framesRun, 2);
    EXPECT_DOUBLE_EQ(frameTime, 0.1) << "20 s away is one clamped frame";
    // Losing the focus without minimising keeps the frames going.
    send(WM_ACTIVATE, makeWParam(WA_INACTIVE, 0));
    EXPECT_TRUE(windowActive);
    frame();
    EXPECT_EQ(loop.framesRun, 3);
}

TEST_F(MainLoopTest, UnknownMessagesGetTheDefaultAndChangeNothing) {
    int before = unhandledMessageCount;
    send(0x1234, 99, 99);
    send(WM_SYSKEYDOWN, VK_MENU);
    send(WM_SYSKEYDOWN, VK_F10);
    send(WM_SIZE, SIZE_RESTORED, (480 << 16) | 640);
    EXPECT_EQ(unhandledMessageCount, before + 3) << "WM_SIZE is handled by doing nothing";
    EXPECT_EQ(windowProc(nullptr, 0x1234, 0, 0), 0);
    EXPECT_EQ(windowProc(nullptr, WM_KEYDOWN, 'A', 0), 0);
    keys.keyUp('A');
    for (int k = 0; k < 256; k++) ASSERT_EQ(keys.down[k], 0) << k;
    EXPECT_FALSE(loop.done);
    frame();
    EXPECT_EQ(loop.framesRun, 1);
}
