// The replay viewer's controls: a pause holds the race on its frame, the speed stays between half
// and double, and Left jumps back ten seconds; after each of them every frame still lands on the
// recorded state of the frame it is, exactly as a straight playback does.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <memory>
#include <string>

#include "glTest.h"

#include "app/mainLoop.h"
#include "app/replayPlayback.h"
#include "core/input.h"
#include "core/platform.h"
#include "graphics/texture.h"
#include "race/game.h"
#include "records/replay.h"

namespace {

class ReplayViewTest : public GLTest {
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
        desktop.echoToStderr = false;
        desktop.frequency = 1000000;
        windowActive = true;
        initTextures();
    }
    void TearDown() override {
        if (!saved.empty()) {
            releaseTextures();
            EXPECT_EQ(chdir(saved.c_str()), 0);
        }
        setPlatform(nullptr);
        keys = Keys();
        mouse = Mouse();
        GLTest::TearDown();
    }
    ScriptedPlatform desktop;
    std::string saved;
};

bool atRecordedPose(const Truck& t, const TruckPose& p) {
    return t.getX() == p.x && t.getY() == p.y && t.cabHeading == p.cabHeading && t.trailerHeading == p.trailerHeading &&
           t.steerAngle == p.steerAngle;
}

}  // namespace

TEST_F(ReplayViewTest, PauseSpeedAndJumpBackLandOnTheRecordedFrames) {
    if (HasFatalFailure() || IsSkipped()) return;
    auto replay = std::make_unique<Replay>();
    ASSERT_TRUE(loadReplayToPlay(TD_SOURCE_DIR "/data/studio/course0.replay", *replay));
    const double frameSeconds = (double)replay->frames[1].counterDelta / (double)replay->frequency;
    ReplayPlatform player(desktop, *replay);
    setPlatform(&player);
    keys = Keys();
    auto game = std::make_unique<Game>();
    game->load();
    player.playInto(*game);
    MainLoop loop(*game);
    // A thousand frames' poses are checked; their pictures are not.
    loop.drawEvery = 30;

    struct Control {
        int atFrame;  // the next frame to run when the key is pressed
        int key;
        double speed;   // after the key
        int nextAfter;  // the next frame once it has taken effect; -1: the one it was pressed at
    } controls[] = {
        {300, 'P', 1.0, -1},     {330, VK_UP, 2.0, -1},
        {331, VK_UP, 2.0, -1},   {360, VK_DOWN, 1.0, -1},
        {361, VK_DOWN, 0.5, -1}, {362, VK_DOWN, 0.5, -1},
        {400, VK_UP, 1.0, -1},   {900, VK_LEFT, 1.0, 900 - (int)(replayJumpBackSeconds / frameSeconds + 0.5)},
    };
    int mismatches = 0, framesPlayed = 0, pausedFrames = 0;
    bool paused = false;
    int pausedAt = -1;
    for (const Control& c : controls) {
        SCOPED_TRACE(testing::Message() << "key " << c.key << " at frame " << c.atFrame);
        // Played up to the frame, every frame checked against its recording.
        for (int pass = 0; pass < 20 * replay->frameCount && player.nextFrame() < c.atFrame && !paused; pass++) {
            desktop.counter += desktop.frequency;
            int before = loop.framesRun;
            loop.pass();
            if (loop.framesRun == before) continue;
            framesPlayed++;
            if (!atRecordedPose(game->trucks[0], replay->frames[player.nextFrame() - 1].pose)) mismatches++;
        }
        desktop.postMessage(WM_KEYDOWN, (uint64_t)c.key, 0);
        desktop.postMessage(WM_KEYUP, (uint64_t)c.key, 0);
        // The key is taken, and a paused replay runs frames that move nothing.
        int at = player.nextFrame();
        for (int pass = 0; pass < 60; pass++) {
            desktop.counter += desktop.frequency;
            int before = loop.framesRun;
            loop.pass();
            if (loop.framesRun == before) continue;
            if (!atRecordedPose(game->trucks[0], replay->frames[player.nextFrame() - 1].pose)) mismatches++;
            if (player.viewPaused()) pausedFrames++;
            if (c.nextAfter >= 0 || (!player.viewPaused() && !paused)) break;
        }
        if (c.key == 'P') {
            paused = !paused;
            pausedAt = at;
        }
        EXPECT_EQ(player.viewPaused(), paused);
        EXPECT_EQ(player.speed(), c.speed);
        if (paused) {
            EXPECT_EQ(player.nextFrame(), pausedAt) << "no frame runs while paused";
            EXPECT_TRUE(game->paused) << "the race's own pause holds its clocks";
            // Unpaused by the next key's turn: P again.
            desktop.postMessage(WM_KEYDOWN, 'P', 0);
            desktop.postMessage(WM_KEYUP, 'P', 0);
            paused = false;
            for (int pass = 0; pass < 10; pass++) loop.pass();
            EXPECT_FALSE(player.viewPaused());
            EXPECT_FALSE(game->paused) << "the recorded race was not paused there";
        }
        if (c.nextAfter >= 0) {
            EXPECT_NEAR(player.nextFrame(), c.nextAfter, 2) << "ten seconds back";
        }
    }
    // On from the jump, well past where it was pressed.
    for (int pass = 0; pass < 20 * replay->frameCount && player.nextFrame() < 1000; pass++) {
        desktop.counter += desktop.frequency;
        int before = loop.framesRun;
        loop.pass();
        if (loop.framesRun == before) continue;
        framesPlayed++;
        if (!atRecordedPose(game->trucks[0], replay->frames[player.nextFrame() - 1].pose)) mismatches++;
    }
    printf("%d frames played, %d while paused, %d off their recorded poses\n", framesPlayed, pausedFrames, mismatches);
    EXPECT_EQ(player.nextFrame(), 1000);
    EXPECT_GT(pausedFrames, 10);
    EXPECT_EQ(mismatches, 0);
}
