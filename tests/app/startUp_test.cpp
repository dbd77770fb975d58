// What start-up decides before the window exists: the video driver, and what a stop signal does
// while the full-screen question waits.
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>

#include "app/quitSignal.h"
#include "app/videoDriver.h"

// An explicit request wins, even for a driver that shows nothing; otherwise only a display that
// exists is used, and none means no driver rather than SDL's invisible fallbacks.
TEST(VideoDriver, FollowsTheRequestThenTheDisplayThatExists) {
    struct Case {
        const char *requested, *display, *wayland, *expected;
    } cases[] = {
        {"offscreen", ":1", nullptr, "offscreen"},
        {"wayland", ":1", nullptr, "wayland"},
        {nullptr, ":1", nullptr, "x11"},
        {"", ":1", "wayland-0", "x11"},
        {nullptr, "", "wayland-0", "wayland"},
        {nullptr, nullptr, nullptr, nullptr},
        {"", "", "", nullptr},
    };
    for (const Case& c : cases) {
        const char* chosen = chooseVideoDriver(c.requested, c.display, c.wayland);
        SCOPED_TRACE(std::string(c.requested ? c.requested : "(unset)") + " " + (c.display ? c.display : "(unset)") +
                     " " + (c.wayland ? c.wayland : "(unset)"));
        if (!c.expected)
            EXPECT_EQ(chosen, nullptr);
        else
            EXPECT_STREQ(chosen, c.expected);
    }
}

TEST(QuitOnSignalDeathTest, InterruptOrTerminateWhileABoxWaitsExitsWithCodeZero) {
    for (int number : {SIGINT, SIGTERM}) {
        EXPECT_EXIT(
            {
                signal(number, SIG_DFL);
                QuitOnSignal quit;
                raise(number);
            },
            ::testing::ExitedWithCode(0), "")
            << strsignal(number);
    }
}

// Once the box is gone, and wherever someone else already handles the signal, nothing changes.
TEST(QuitOnSignal, LeavesOtherHandlersAndRestoresTheDefault) {
    signal(SIGINT, SIG_IGN);
    signal(SIGTERM, SIG_DFL);
    {
        QuitOnSignal quit;
        struct sigaction now;
        sigaction(SIGINT, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_IGN);
    }
    struct sigaction after;
    sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, SIG_DFL);
    signal(SIGINT, SIG_DFL);
}
