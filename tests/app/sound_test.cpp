// The race heard through SDL's audio: the device under the dummy driver, and the per-frame
// sounds read off the trucks.
#include "shellFixture.h"

#include <SDL.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/soundDevice.h"

using SoundTest = ShellTest;

TEST_F(SoundTest, FramesRunWithTheDeviceOpenAndItsCallbackSynthesising) {
    ASSERT_TRUE(sound.open()) << "the dummy driver is always there";
    for (int i = 0; i < 30; i++) frame();
    // The dummy driver's thread pulls buffers at its own pace: wait for a few, with a deadline.
    Uint32 deadline = SDL_GetTicks() + 30000;
    while (sound.buffersMade.load() < 3 && SDL_GetTicks() < deadline) SDL_Delay(5);
    printf("%d buffers made at %d Hz\n", sound.buffersMade.load(), sound.sampleRate);
    EXPECT_GE(sound.buffersMade.load(), 3);
    SoundFrame posted = sound.mailbox.take();
    EXPECT_FLOAT_EQ(posted.engines[0].revs, idleRevs) << "the frame handed the idle engine over";
    sound.close();
    EXPECT_FALSE(sound.isOpen());
}

TEST_F(SoundTest, NoAudioDeviceMeansSilenceAndOneLineOnStderr) {
    const char* saved = getenv("SDL_AUDIODRIVER");
    std::string driver = saved ? saved : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    testing::internal::CaptureStderr();
    bool opened = sound.open();
    std::string said = testing::internal::GetCapturedStderr();
    if (saved)
        setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
    printf("stderr: %s", said.c_str());
    EXPECT_FALSE(opened);
    EXPECT_EQ(said.rfind("No sound: ", 0), 0u);
    EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line";
    frame();  // the frame goes on, silent
    sound.close();
}

TEST_F(SoundTest, TrucksAreHeardAsEnginesThudsAndChimes) {
    RaceEar ear = {};
    game.truckCount = 2;
    Truck& user = game.trucks[0];
    user.setPosition(0, 0);
    game.trucks[1].setPosition(200, 0);
    game.trucks[1].power = forwardPower;
    hearRace(game, ear, false);

    // The title: only the user's engine, idling, at a backdrop's level.
    SoundFrame f = hearRace(game, ear, false);
    EXPECT_EQ(f.engines[1].volume, 0.0f);
    EXPECT_EQ(f.engines[0].revs, idleRevs);
    EXPECT_LT(f.raceLevel, 0.5f);

    // Racing: a computer truck to the right on screen is quieter, panned right, and as far
    // again when zoomed in twice; a pause takes the engines away.
    game.waitingForStart = false;
    game.views[0].camera.zoom = 1;
    f = hearRace(game, ear, true);
    EXPECT_TRUE(f.muted);
    EXPECT_EQ(f.raceLevel, 1.0f);
    EXPECT_EQ(f.engines[1].load, 1.0f);
    EXPECT_GT(f.engines[1].pan, 0.5f);
    EXPECT_LT(f.engines[1].pan, 1.0f);
    EXPECT_LT(f.engines[1].volume, f.engines[0].volume);
    game.views[0].camera.zoom = 2;
    EXPECT_EQ(hearRace(game, ear, false).engines[1].pan, 1.0f) << "at the screen's edge";
    game.paused = true;
    EXPECT_EQ(hearRace(game, ear, false).raceLevel, 0.0f);
    game.paused = false;
    EXPECT_EQ(f.engines[2].volume, 0.0f) << "no truck, no engine";
    EXPECT_EQ(f.thuds + f.laps + f.finishes, 0u);

    // A collision push is one thud, however many frames the contact lasts.
    user.body.collisionKickTotal += 30;
    f = hearRace(game, ear, false);
    EXPECT_EQ(f.thuds, 1u);
    EXPECT_FLOAT_EQ(f.thudPush, 30);
    user.body.collisionKickTotal += 10;
    f = hearRace(game, ear, false);
    EXPECT_EQ(f.thuds, 1u) << "still touching: a scrape";
    EXPECT_FLOAT_EQ(f.thudPush, 30) << "the push stays with its count";
    hearRace(game, ear, false);
    user.body.collisionKickTotal += 50;
    EXPECT_EQ(hearRace(game, ear, false).thuds, 2u);

    // A lap, then the finish.
    user.lapCount = 1;
    f = hearRace(game, ear, false);
    EXPECT_EQ(f.laps, 1u);
    EXPECT_EQ(f.finishes, 0u);
    game.raceOver = true;
    game.waitingForStart = true;
    f = hearRace(game, ear, false);
    EXPECT_EQ(f.finishes, 1u);
    EXPECT_EQ(f.engines[1].volume, 0.0f) << "the results do not drone on";

    // Sliding sideways past the grip squeals.
    user.body.setHeading(0, 1);
    user.body.velocity[0] = 40 + 60;
    user.body.velocity[1] = 0;
    EXPECT_FLOAT_EQ(hearRace(game, ear, false).squeal, 1.0f);
    user.body.velocity[0] = 30;
    EXPECT_FLOAT_EQ(hearRace(game, ear, false).squeal, 0.0f);
}

// Two humans: both engines at the user's level, on their own sides of a side-by-side split and
// centred otherwise; a computer truck is heard from the nearer human, on that human's side.
TEST_F(SoundTest, TwoPlayersEnginesSitOnTheirOwnSidesOfASideBySideSplit) {
    game.truckCount = 3;
    ASSERT_TRUE(game.setHumans(2));
    game.waitingForStart = false;
    game.views[0].camera.zoom = 1;
    game.trucks[0].setPosition(0, 0);
    game.trucks[1].setPosition(1000, 0);
    game.trucks[2].setPosition(1100, 0);  // 100 to the right of player two
    const struct {
        bool sideBySide;
        float one, two, computer;  // pans
    } cases[] = {
        {false, 0.0f, 0.0f, 100.0f / 320.0f},
        {true, -splitEnginePan, splitEnginePan, splitEnginePan + 0.5f * 100.0f / 320.0f},
    };
    for (const auto& c : cases) {
        SoundChoices choices;
        panHumansForSplit(choices, c.sideBySide);
        RaceEar ear = {};
        SoundFrame f = hearRace(game, ear, false, choices.humanPan);
        printf("side by side %d: pans %.3f %.3f %.3f, volumes %.3f %.3f %.3f\n", c.sideBySide, f.engines[0].pan,
               f.engines[1].pan, f.engines[2].pan, f.engines[0].volume, f.engines[1].volume, f.engines[2].volume);
        EXPECT_FLOAT_EQ(f.engines[0].pan, c.one);
        EXPECT_FLOAT_EQ(f.engines[1].pan, c.two);
        EXPECT_NEAR(f.engines[2].pan, c.computer, 1e-5f);
        EXPECT_EQ(f.engines[1].volume, f.engines[0].volume) << "player two's engine is as loud as player one's";
    }
    game.setHumans(1);
}

// Player two's truck is heard as player one's: its thuds, its laps and its sliding, while a
// computer truck's pushes make no thud; player two joining sets what their truck is compared
// with, so the pushes it had before make no sound.
TEST_F(SoundTest, PlayerTwosTruckThudsChimesAndSqueals) {
    game.truckCount = 3;
    game.waitingForStart = false;
    Truck& second = game.trucks[1];
    second.body.collisionKickTotal = 500;
    RaceEar ear = {};
    hearRace(game, ear, false);
    second.body.collisionKickTotal += 40;
    EXPECT_EQ(hearRace(game, ear, false).thuds, 0u) << "a computer truck's push";
    ASSERT_TRUE(game.setHumans(2));
    EXPECT_EQ(hearRace(game, ear, false).thuds, 0u) << "player two's earlier pushes";
    second.body.collisionKickTotal += 40;
    EXPECT_EQ(hearRace(game, ear, false).thuds, 1u);
    second.lapCount = 1;
    EXPECT_EQ(hearRace(game, ear, false).laps, 1u);
    second.body.setHeading(0, 1);
    second.body.velocity[0] = 40 + 60;
    EXPECT_FLOAT_EQ(hearRace(game, ear, false).squeal, 1.0f);
    game.setHumans(1);
}

// What the speakers get, through SDL's disk driver: player two's engine working hard on the right
// of a side-by-side split is louder on the right; centred, both sides are the same.
TEST_F(SoundTest, TheDiskDriverHearsEachPlayersEngineOnTheirSide) {
    const char* saved = getenv("SDL_AUDIODRIVER");
    std::string driver = saved ? saved : "";
    char path[] = "/tmp/td-sound-XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", path, 1);
    game.truckCount = 2;
    ASSERT_TRUE(game.setHumans(2));
    game.waitingForStart = false;
    game.trucks[0].setPosition(0, 0);
    game.trucks[1].setPosition(600, 0);
    const struct {
        bool sideBySide;
        int working;                   // the truck on full power; the other idles
        double leastRatio, mostRatio;  // right over left, in RMS
    } cases[] = {{false, 1, 0.95, 1.05}, {true, 1, 1.3, 100.0}, {true, 0, 0.0, 0.77}};
    for (const auto& c : cases) {
        panHumansForSplit(soundChoices, c.sideBySide);
        game.trucks[c.working].power = forwardPower;
        game.trucks[1 - c.working].power = 0;
        ASSERT_TRUE(sound.open());
        // The driver writes at the speakers' pace: a quarter second or so, with a deadline.
        Uint32 deadline = SDL_GetTicks() + 30000;
        int first = sound.buffersMade.load();
        while (sound.buffersMade.load() < first + 12 && SDL_GetTicks() < deadline) {
            listenToRace(game);
            SDL_Delay(5);
        }
        sound.close();
        FILE* f = fopen(path, "rb");
        ASSERT_NE(f, nullptr);
        std::vector<float> samples(1 << 20);
        size_t n = fread(samples.data(), sizeof(float), samples.size(), f);
        fclose(f);
        // Past the first buffers, while the gains glide from silence to the frame's.
        const size_t skip = 4 * 1024 * 2;
        double left = 0, right = 0;
        for (size_t i = skip; i + 1 < n; i += 2) {
            left += (double)samples[i] * samples[i];
            right += (double)samples[i + 1] * samples[i + 1];
        }
        double ratio = std::sqrt(right / (left > 0 ? left : 1e-30));
        printf("side by side %d, truck %d working: %zu stereo samples, right over left %.3f (from %.2f to %.2f)\n",
               c.sideBySide, c.working, n / 2, ratio, c.leastRatio, c.mostRatio);
        EXPECT_GT(n, skip + 2048);
        EXPECT_GE(ratio, c.leastRatio);
        EXPECT_LE(ratio, c.mostRatio);
    }
    panHumansForSplit(soundChoices, false);
    game.setHumans(1);
    remove(path);
    unsetenv("SDL_DISKAUDIOFILE");
    if (saved)
        setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
}
