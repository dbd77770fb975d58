// The synthesiser measured on its buffers: pitch, level, silence and range.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "audio/soundMailbox.h"
#include "audio/synth.h"

static const int rate = 48000;

// Frequency from the cycles between the first and the last upward zero crossing.
static double measuredHz(const std::vector<float>& mono) {
    int crossings = 0;
    size_t first = 0, last = 0;
    for (size_t i = 1; i < mono.size(); i++) {
        if (!(mono[i - 1] < 0 && mono[i] >= 0)) continue;
        if (crossings++ == 0) first = i;
        last = i;
    }
    return crossings > 1 ? (crossings - 1) * (double)rate / (double)(last - first) : 0.0;
}

static float peak(const float* samples, int count) {
    float p = 0;
    for (int i = 0; i < count; i++) p = std::fmax(p, std::fabs(samples[i]));
    return p;
}

TEST(Synth, EngineNoteRisesWithPowerAndSpeed) {
    double heard[2];
    float powers[2] = {0.0f, 250.0f};
    for (int k = 0; k < 2; k++) {
        std::vector<float> mono(rate, 0.0f);
        float phase = 0;
        float hz = engineFrequency(powers[k], 0);
        addEngine(mono.data(), rate, rate, hz, 0.5f, phase);
        heard[k] = measuredHz(mono);
        printf("power %.0f: note %.2f Hz, measured %.2f Hz\n", powers[k], hz, heard[k]);
        EXPECT_NEAR(heard[k], hz, 0.2);
    }
    EXPECT_GT(heard[1], heard[0] * 1.3) << "full power is clearly higher than idle";
    EXPECT_GT(engineFrequency(0, 300), engineFrequency(0, 0));
    EXPECT_EQ(engineFrequency(NAN, 0), engineFrequency(0, 0)) << "a broken value idles rather than squeals";
}

TEST(Synth, ThudPeakFollowsThePushAndSaturates) {
    float pushes[] = {10, 20, 40, 200};
    float peaks[4];
    std::vector<float> mono(rate / 2);
    for (int k = 0; k < 4; k++) {
        renderThud(mono.data(), (int)mono.size(), rate, pushes[k]);
        peaks[k] = peak(mono.data(), (int)mono.size());
        printf("push %.0f: peak %.3f\n", pushes[k], peaks[k]);
    }
    EXPECT_NEAR(peaks[1] / peaks[0], 2.0, 0.1) << "twice the push, twice the thud";
    EXPECT_GT(peaks[2], peaks[1]);
    EXPECT_LE(peaks[3], 1.0f);
    renderThud(mono.data(), (int)mono.size(), rate, 0);
    EXPECT_EQ(peak(mono.data(), (int)mono.size()), 0.0f) << "no push, no thud";
}

// Everything at once, as loud as it goes: five engines, squeal, a crash and the finish.
static SoundFrame loudest() {
    SoundFrame f{};
    for (int v = 0; v < maxEngineVoices; v++) f.engines[v] = {engineFrequency(250, 400), 1.0f, v % 2 ? 1.0f : -1.0f};
    f.squeal = 1;
    f.thuds = 1;
    f.thudPush = 1000;
    f.laps = 6;
    f.finishes = 1;
    return f;
}

TEST(Synth, MixStaysWithinRangeAndMutingSilencesIt) {
    SynthState state;
    SoundFrame frame = loudest();
    std::vector<float> stereo(2 * rate);
    synthesise(state, frame, stereo.data(), rate, rate);
    float loud = peak(stereo.data(), (int)stereo.size());
    printf("loudest mix: peak %.4f\n", loud);
    EXPECT_LE(loud, 1.0f);
    EXPECT_GT(loud, 0.5f);

    // Half a second to fade, then every sample is exactly zero.
    frame.muted = true;
    synthesise(state, frame, stereo.data(), rate / 2, rate);
    synthesise(state, frame, stereo.data(), rate / 2, rate);
    EXPECT_EQ(peak(stereo.data(), rate), 0.0f);

    // Non-numbers from a broken frame never reach the speaker.
    frame = loudest();
    frame.engines[2].frequency = NAN;
    frame.engines[3].volume = INFINITY;
    frame.squeal = NAN;
    synthesise(state, frame, stereo.data(), rate / 10, rate);
    for (int i = 0; i < rate / 5; i++) ASSERT_TRUE(std::isfinite(stereo[i]) && std::fabs(stereo[i]) <= 1) << i;
}

TEST(Synth, ComputerEnginesArePannedAndEventsPlayOncePerCount) {
    SynthState state;
    SoundFrame frame{};
    frame.engines[1] = {80.0f, 0.3f, 0.8f};  // a computer truck off to the right
    SoundMailbox mailbox;
    mailbox.post(frame);
    std::vector<float> stereo(rate / 5);
    synthesise(state, mailbox.take(), stereo.data(), rate / 10, rate);
    float left = 0, right = 0;
    for (int i = 0; i < rate / 10; i++) {
        left = std::fmax(left, std::fabs(stereo[2 * i]));
        right = std::fmax(right, std::fabs(stereo[2 * i + 1]));
    }
    printf("panned right: left peak %.3f, right peak %.3f\n", left, right);
    EXPECT_GT(right, 2 * left);

    // A lap chime starts when the count changes, and the same count does not start it again.
    frame.engines[1].volume = 0;
    frame.laps = 1;
    mailbox.post(frame);
    synthesise(state, mailbox.take(), stereo.data(), rate / 10, rate);
    EXPECT_GT(peak(stereo.data(), rate / 5), 0.05f) << "the chime";
    for (int i = 0; i < 20; i++) synthesise(state, mailbox.take(), stereo.data(), rate / 10, rate);
    EXPECT_LT(peak(stereo.data(), rate / 5), 0.001f) << "rung out, and not restarted";
}
