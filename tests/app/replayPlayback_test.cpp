// The game's own playback: a race recorded through the loop, played back through the loop from
// a ReplayPlatform, puts the user's truck where it stood after every recorded frame.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "glTest.h"

#include "app/mainLoop.h"
#include "app/replayPlayback.h"
#include "core/input.h"
#include "core/platform.h"
#include "core/timing.h"
#include "graphics/texture.h"
#include "race/game.h"
#include "records/replay.h"

namespace {

class ReplayPlaybackTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        if (HasFatalFailure()) return;
        FILE* f = fopen(TD_BINARY_DIR "/images/trucks/metaltruck.bmp", "rb");
        if (!f) GTEST_SKIP() << "no generated images in " TD_BINARY_DIR;
        fclose(f);
        char cwd[PATH_MAX];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        saved = cwd;
        ASSERT_EQ(chdir(TD_BINARY_DIR), 0);
        char name[] = "/tmp/td-playback-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        folder = name;
        desktop.echoToStderr = false;
        desktop.frequency = 1000000;
        windowActive = true;
        initTextures();
    }
    void TearDown() override {
        if (!saved.empty()) {
            releaseTextures();
            EXPECT_EQ(chdir(saved.c_str()), 0);
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
        setPlatform(nullptr);
        keys = Keys();
        mouse = Mouse();
        GLTest::TearDown();
    }
    ScriptedPlatform desktop;
    std::string saved, folder;
};

// Every frame is drawn, so a short race.
const int recordedFrames = 150;

}  // namespace

// A race recorded through the loop and played back through it from a ReplayPlatform; false
// when the user's truck left its recorded pose in any played frame. With the help, the recorded
// user opens it with H mid-race, closes it with Escape and ends the run with Escape. With two
// players, player two drives on their own codes too, recovering once, and their truck is checked
// as well.
static void recordAndPlay(ScriptedPlatform& desktop, const std::string& path, bool withHelp, int players = 1) {
    const int helpOpens = 40, helpCloses = 70;
    const int secondRecovers = 60;  // player two's truck set down about 57 frames later
    {
        // The recorded race: Space, then Up with bursts of steering, in frames of uneven length.
        setPlatform(&desktop);
        keys = Keys();
        auto game = std::make_unique<Game>();
        game->load();
        game->history.alsoRecordTo(path.c_str());
        ASSERT_TRUE(game->setHumans(players));
        MainLoop loop(*game);
        for (int i = 0; i < recordedFrames; i++) {
            if (i == 0) desktop.postMessage(WM_KEYDOWN, VK_SPACE, 0);
            if (i == 1) desktop.postMessage(WM_KEYUP, VK_SPACE, 0);
            if (i == 2) desktop.postMessage(WM_KEYDOWN, VK_UP, 0);
            if (i % 50 == 20) desktop.postMessage(WM_KEYDOWN, i % 100 < 50 ? VK_LEFT : VK_RIGHT, 0);
            if (i % 50 == 35) desktop.postMessage(WM_KEYUP, i % 100 < 50 ? VK_LEFT : VK_RIGHT, 0);
            if (players == 2 && i == 3) desktop.postMessage(WM_KEYDOWN, VK_PLAYER2_UP, 0);
            if (players == 2 && i % 40 == 10) desktop.postMessage(WM_KEYDOWN, VK_PLAYER2_RIGHT, 0);
            if (players == 2 && i % 40 == 30) desktop.postMessage(WM_KEYUP, VK_PLAYER2_RIGHT, 0);
            if (players == 2 && i == secondRecovers) desktop.postMessage(WM_KEYDOWN, VK_PLAYER2_RECOVER, 0);
            if (players == 2 && i == secondRecovers + 3) desktop.postMessage(WM_KEYUP, VK_PLAYER2_RECOVER, 0);
            if (withHelp && i == helpOpens) desktop.postMessage(WM_KEYDOWN, 'H', 0);
            if (withHelp && i == helpOpens + 1) desktop.postMessage(WM_KEYUP, 'H', 0);
            if (withHelp && (i == helpCloses || i == recordedFrames - 1)) desktop.postMessage(WM_KEYDOWN, VK_ESCAPE, 0);
            if (withHelp && i == helpCloses + 5) desktop.postMessage(WM_KEYUP, VK_ESCAPE, 0);
            desktop.counter += 7000 + (i * 7919) % 25000;
            int before = loop.framesRun;
            while (loop.framesRun == before) loop.pass();
            if (players == 2 && i == secondRecovers + 3) {
                ASSERT_GE(game->recovery[1].at, 0.0) << "player two's truck is being recovered";
            }
            bool helpPaused = game->help.isOpen() && game->paused;
            if (withHelp && i == helpOpens + 10) {
                ASSERT_TRUE(helpPaused);
            }
            // Escape is still held two frames after the one that closed the help.
            if (withHelp && i == helpCloses + 2) {
                ASSERT_FALSE(game->help.isOpen() || game->paused || loop.done);
            }
        }
        EXPECT_EQ(loop.done, withHelp) << "the last Escape ended the recorded run";
        game->history.stop();
        // The quit that run posted is not the playback's.
        WindowMessage left;
        while (desktop.peekMessage(left)) {}
    }

    auto replay = std::make_unique<Replay>();
    ASSERT_TRUE(loadReplayToPlay(path.c_str(), *replay));
    ASSERT_EQ(replay->frameCount, recordedFrames);
    ReplayPlatform player(desktop, *replay);
    setPlatform(&player);
    keys = Keys();
    auto game = std::make_unique<Game>();
    game->load();
    player.playInto(*game);
    MainLoop loop(*game);
    // Recorded with every frame drawn, played with few: what is drawn never moves a truck.
    loop.drawEvery = 15;
    // Played twice: to its end, then again after Space, which must find the race as it started.
    for (int run = 0; run < 2; run++) {
        // The user pressing keys meanwhile changes nothing.
        desktop.postMessage(WM_KEYDOWN, run == 0 ? VK_DOWN : VK_SPACE, 0);
        int mismatches = 0, shownAsReplay = 0;
        int first = loop.framesRun;
        while ((!player.finished() || loop.framesRun == first) && !loop.done) {
            // A second of real time per pass: no frame waits for its time to come.
            desktop.counter += desktop.frequency;
            int before = loop.framesRun;
            loop.pass();
            if (loop.framesRun == before) continue;
            const TruckPose& p = replay->frames[loop.framesRun - 1 - first].pose;
            const Truck& t = game->trucks[0];
            if (t.getX() != p.x || t.getY() != p.y || t.cabHeading != p.cabHeading) mismatches++;
            const TruckPose& q = replay->frames[loop.framesRun - 1 - first].second;
            const Truck& u = game->trucks[1];
            if (players == 2 && (u.getX() != q.x || u.getY() != q.y || u.cabHeading != q.cabHeading)) mismatches++;
            if (game->replayShow == Game::replayPlaying) shownAsReplay++;
        }
        int played = loop.framesRun - first;
        printf("%s, %d players, run %d: %d frames played, user's truck at %.1f, %.1f, player two's speed %.1f, %d off "
               "the recorded poses, %d shown as playing\n",
               withHelp ? "with the help" : "plain", players, run + 1, played, game->trucks[0].getX(),
               game->trucks[0].getY(), game->trucks[1].getSpeed(), mismatches, shownAsReplay);
        EXPECT_EQ(played, recordedFrames);
        EXPECT_EQ(mismatches, 0);
        // Every frame but the last, which ends the replay.
        EXPECT_EQ(shownAsReplay, recordedFrames - 1);
        EXPECT_EQ(game->replayShow, Game::replayEnded);
        EXPECT_FALSE(loop.done) << "played, the race's end stays on screen";
        EXPECT_FALSE(game->help.isOpen());
        EXPECT_GT(game->trucks[0].getSpeed(), 0.0f);
        EXPECT_EQ(game->humans(), players);
        if (players == 2) {
            EXPECT_GT(game->trucks[1].getSpeed(), 0.0f) << "player two drove";
        }
        // The race's end stays on screen until Space.
        for (int i = 0; i < 20; i++) loop.pass();
        EXPECT_TRUE(player.finished());
    }
}

TEST_F(ReplayPlaybackTest, EveryFrameLandsWhereItWasRecorded) {
    const struct {
        bool withHelp;
        int players;
        const char* file;
    } cases[] = {{false, 1, "/race.replay"}, {true, 1, "/help.replay"}, {false, 2, "/two.replay"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        recordAndPlay(desktop, folder + c.file, c.withHelp, c.players);
    }
}

// Only keys, buttons and the wheel are ever recorded, so nothing else in a replay may reach the
// game: a recorded minimise would stop the frames for good, a recorded quit or close end the game.
// The player's own Escape still ends the playback.
TEST_F(ReplayPlaybackTest, OnlyInputMessagesArePlayed) {
    auto replay = std::make_unique<Replay>();
    replay->begin(0, desktop.frequency, nullptr);
    replay->addMessage(WM_KEYDOWN, VK_SPACE, 0);
    replay->addMessage(WM_ACTIVATE, makeWParam(WA_ACTIVE, 1), 0);
    replay->addMessage(WM_QUIT, 7, 0);
    replay->addMessage(WM_CLOSE, 0, 0);
    replay->addMessage(WM_SIZE, SIZE_MINIMIZED, 0);
    const int frames = 20;
    for (int i = 0; i < frames; i++) {
        if (i == 1) replay->addMessage(WM_KEYUP, VK_SPACE, 0);
        replay->addFrame(16667, TruckPose{});
    }
    ReplayPlatform player(desktop, *replay);
    setPlatform(&player);
    keys = Keys();
    auto game = std::make_unique<Game>();
    game->load();
    prepareReplay(*game, *replay);
    MainLoop loop(*game);
    // Bounded: a game the replay froze or ended must fail here, not hang.
    for (int pass = 0; pass < 50 * frames && !player.finished() && !loop.done; pass++) {
        desktop.counter += desktop.frequency;
        loop.pass();
    }
    printf("%d of %d frames played; window active %d, loop done %d, race started %d\n", loop.framesRun, frames,
           windowActive, loop.done, !game->waitingForStart);
    EXPECT_EQ(loop.framesRun, frames);
    EXPECT_FALSE(loop.done);
    EXPECT_TRUE(windowActive);
    EXPECT_FALSE(game->waitingForStart) << "the recorded Space started the race";

    desktop.postMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    for (int pass = 0; pass < 100 && !loop.done; pass++) loop.pass();
    EXPECT_TRUE(loop.done) << "the player's Escape ends the replay";
    EXPECT_EQ(loop.exitCode(), 0);
}
