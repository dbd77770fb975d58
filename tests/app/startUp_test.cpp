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

static void someoneElsesHandler(int) {}

// A signal started ignored stays ignored; a handler already there (SDL's) comes back afterwards.
TEST(QuitOnSignal, LeavesIgnoredSignalsAndRestoresTheHandlerBefore) {
    signal(SIGINT, SIG_IGN);
    signal(SIGTERM, someoneElsesHandler);
    {
        QuitOnSignal quit;
        struct sigaction now;
        sigaction(SIGINT, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_IGN);
        sigaction(SIGTERM, nullptr, &now);
        EXPECT_NE(now.sa_handler, someoneElsesHandler) << "the question must not wait for its answer";
    }
    struct sigaction after;
    sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, someoneElsesHandler);
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
}
