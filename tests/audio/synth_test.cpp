// The synthesiser measured on its buffers: pitch, level, silence and range.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

#include "audio/soundMailbox.h"
#include "audio/synth.h"

static const int rate = 48000;

static float peak(const float* samples, int count) {
    float p = 0;
    for (int i = 0; i < count; i++) p = std::fmax(p, std::fabs(samples[i]));
    return p;
}

// Full throttle from standstill to top speed: the revs stay in the engine's range, climb in each
// gear and drop at each shift, and the cylinders fire three times a revolution at those revs.
TEST(Synth, FiringRhythmFollowsTheGearboxRevs) {
    int gear = 0, shifts = 0;
    float last = gearboxRevs(gear, 0, 1);
    for (float speed = 5; speed <= 800; speed += 5) {
        float revs = gearboxRevs(gear, speed, 1);
        ASSERT_GE(revs, idleRevs) << speed;
        ASSERT_LE(revs, highestRevs) << speed;
        if (revs < last - 200) shifts++;
        last = revs;
    }
    printf("up to speed 800: %d shifts, ending in gear %d at %.0f rpm\n", shifts, gear + 1, last);
    EXPECT_EQ(shifts, 3);
    EXPECT_EQ(gearboxRevs(gear, 0, 0), idleRevs) << "stopped and idle: back in first, idling";
    EXPECT_EQ(gear, 0);
    EXPECT_EQ(gearboxRevs(gear, NAN, 0), idleRevs) << "a broken speed idles";

    DieselFilters filters(rate);
    for (float revs : {idleRevs, 1200.0f, highestRevs}) {
        DieselState engine;
        for (int i = 0; i < rate / 2; i++) dieselSample(engine, filters, revs, 0.5f);  // up to revs
        int firings = 0;
        for (int i = 0; i < 2 * rate; i++) {
            int cylinder = engine.cylinder;
            dieselSample(engine, filters, revs, 0.5f);
            firings += engine.cylinder != cylinder;
        }
        printf("%.0f rpm: %.1f firings a second, %.1f expected\n", revs, firings / 2.0, revs / 20);
        EXPECT_NEAR(firings / 2.0, revs / 20, revs / 20 * 0.03);
    }
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
    for (int v = 0; v < maxEngineVoices; v++) f.engines[v] = {highestRevs, 1.0f, 1.0f, v % 2 ? 1.0f : -1.0f};
    f.raceLevel = 1;
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
    frame.engines[2].revs = NAN;
    frame.engines[1].load = -INFINITY;
    frame.engines[3].volume = INFINITY;
    frame.squeal = NAN;
    synthesise(state, frame, stereo.data(), rate / 10, rate);
    for (int i = 0; i < rate / 5; i++) ASSERT_TRUE(std::isfinite(stereo[i]) && std::fabs(stereo[i]) <= 1) << i;
}

TEST(Synth, ComputerEnginesArePannedAndEventsPlayOncePerCount) {
    SynthState state;
    SoundFrame frame{};
    frame.engines[1] = {1500.0f, 1.0f, 0.3f, 0.8f};  // a computer truck off to the right
    frame.raceLevel = 1;
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

// Energy per band of a stereo buffer, both channels, as shares of the whole: averaged Hann-windowed
// 8192-point spectra, as bench/sound/bands.py measures the game's recordings.
static const double bandEdges[] = {0, 80, 300, 800, 2000, 6000, rate / 2 + 1};
static const int bandCount = 6;
static void bandShares(const std::vector<float>& stereo, double share[bandCount]) {
    const size_t n = 8192;
    double total[bandCount] = {};
    std::vector<std::complex<double>> a(n);
    for (int c = 0; c < 2; c++) {
        for (size_t start = 0; start + n <= stereo.size() / 2; start += n / 2) {
            for (size_t i = 0; i < n; i++)
                a[i] = stereo[2 * (start + i) + c] * (0.5 - 0.5 * std::cos(2 * M_PI * i / n));
            // Iterative radix-2 transform: bit-reversed order, then the butterflies.
            for (size_t i = 1, j = 0; i < n; i++) {
                size_t bit = n >> 1;
                for (; j & bit; bit >>= 1) j ^= bit;
                j |= bit;
                if (i < j) std::swap(a[i], a[j]);
            }
            for (size_t len = 2; len <= n; len <<= 1) {
                std::complex<double> w = std::polar(1.0, -2 * M_PI / (double)len);
                for (size_t i = 0; i < n; i += len) {
                    std::complex<double> t = 1;
                    for (size_t k = 0; k < len / 2; k++, t *= w) {
                        std::complex<double> u = a[i + k], v = a[i + k + len / 2] * t;
                        a[i + k] = u + v;
                        a[i + k + len / 2] = u - v;
                    }
                }
            }
            for (size_t k = 0; k <= n / 2; k++) {
                double hz = (double)k * rate / (double)n;
                int b = 0;
                while (b + 1 < bandCount && hz >= bandEdges[b + 1]) b++;
                total[b] += std::norm(a[k]);
            }
        }
    }
    double whole = 0;
    for (double t : total) whole += t;
    for (int b = 0; b < bandCount; b++) share[b] = whole > 0 ? 100 * total[b] / whole : 0;
}

// RMS in dBFS (a full-scale square is 0) of the louder channel.
static double levelDbfs(const std::vector<float>& stereo) {
    double energy[2] = {};
    for (size_t i = 0; i < stereo.size(); i++) energy[i % 2] += (double)stereo[i] * stereo[i];
    return 10 * std::log10(std::fmax(energy[0], energy[1]) / (double)(stereo.size() / 2) + 1e-30);
}

// Renders a second after a second's settling, in the device's 1024-frame buffers.
static std::vector<float> render(const SoundFrame& frame) {
    SynthState state;
    std::vector<float> stereo(2 * rate);
    for (int pass = 0; pass < 2; pass++)
        for (int i = 0; i < rate; i += 1024)
            synthesise(state, frame, stereo.data() + 2 * i, std::min(1024, rate - i), rate);
    return stereo;
}

// The scenes as the race hands them over (user's engine at volume 0.6, computer trucks' at most
// 0.25, the title at a quarter of the race level), measured: level, peak and where the energy is.
// Most of it must sit between 80 Hz and 2 kHz, where small speakers play.
TEST(Synth, ScenesLevelsAndBandsAsMeasured) {
    struct Scene {
        const char* name;
        float revs, load, raceLevel;
        int computerTrucks;
        double dbfs;               // measured RMS, within 1.5 dB
        double shares[bandCount];  // measured percentages, each within 6 points
    };
    const Scene scenes[] = {
        {"idle", idleRevs, 0, 1, 0, -25.2, {1.3, 50.2, 31.1, 14.4, 2.6, 0.3}},
        {"full throttle", 1850, 1, 1, 0, -16.4, {0.0, 56.8, 33.1, 7.9, 2.0, 0.3}},
        {"full throttle in the pack", 1850, 1, 1, 4, -14.8, {0.0, 59.3, 29.8, 8.4, 2.1, 0.3}},
        {"title", idleRevs, 0, 0.25f, 0, -37.2, {1.3, 49.9, 31.3, 14.5, 2.6, 0.3}},
    };
    for (const Scene& scene : scenes) {
        SoundFrame frame{};
        frame.raceLevel = scene.raceLevel;
        frame.engines[0] = {scene.revs, scene.load, 0.6f, 0};
        for (int v = 1; v <= scene.computerTrucks; v++)
            frame.engines[v] = {1700.0f + 40 * v, 1, 0.2f, v % 2 ? 0.6f : -0.5f};
        std::vector<float> stereo = render(frame);
        double shares[bandCount];
        bandShares(stereo, shares);
        double level = levelDbfs(stereo), top = 20 * std::log10(peak(stereo.data(), (int)stereo.size()));
        printf(
            "%-26s %6.1f dBFS, peak %5.1f dBFS; bands <80 %4.1f%%, 80-300 %4.1f%%, 300-800 %4.1f%%, "
            "800-2k %4.1f%%, 2k-6k %4.1f%%, >6k %4.1f%%\n",
            scene.name, level, top, shares[0], shares[1], shares[2], shares[3], shares[4], shares[5]);
        EXPECT_NEAR(level, scene.dbfs, 1.5) << scene.name;
        EXPECT_LT(top, -1.0) << scene.name << ": no clipping, the limiter barely touched";
        for (int b = 0; b < bandCount; b++) EXPECT_NEAR(shares[b], scene.shares[b], 6.0) << scene.name << " band " << b;
        EXPECT_GT(shares[1] + shares[2] + shares[3], 80.0) << scene.name << ": 80 Hz to 2 kHz";
    }
}

// P at full throttle: the engines fade out evenly over raceFadeSeconds, measured against the same
// engines left running, and are then exactly silent; a lap chime rung during the pause still sounds.
TEST(Synth, PauseFadesTheEnginesToSilence) {
    SoundFrame frame{};
    frame.raceLevel = 1;
    frame.engines[0] = {1850, 1, 0.6f, 0};
    frame.engines[1] = {1700, 1, 0.2f, 0.5f};
    SynthState paused;
    std::vector<float> stereo(2 * rate), running(2 * rate);
    synthesise(paused, frame, stereo.data(), rate, rate);
    SynthState unpaused = paused;
    SoundFrame pausedFrame = frame;
    pausedFrame.raceLevel = 0;
    const int window = rate / 20;  // 50 ms
    for (int w = 0; w < 12; w++) {
        synthesise(paused, pausedFrame, stereo.data(), window, rate);
        synthesise(unpaused, frame, running.data(), window, rate);
        double heard = levelDbfs(std::vector<float>(stereo.begin(), stereo.begin() + 2 * window));
        double full = levelDbfs(std::vector<float>(running.begin(), running.begin() + 2 * window));
        double gain = std::pow(10.0, (heard - full) / 20),
               even = std::fmax(0.0, 1 - (w + 0.5) * 0.05 / raceFadeSeconds);
        printf("%3d ms after P: %6.1f dBFS, %.3f of the running engines' (an even fade: %.3f)\n", 50 * (w + 1), heard,
               gain, even);
        if (w < 8)
            EXPECT_NEAR(gain, even, 0.03) << w;
        else
            EXPECT_EQ(peak(stereo.data(), 2 * window), 0.0f) << "silent from " << 50 * w << " ms";
    }
    pausedFrame.laps = 1;
    synthesise(paused, pausedFrame, stereo.data(), window, rate);
    EXPECT_GT(peak(stereo.data(), 2 * window), 0.05f) << "the chime is not an engine";
}
