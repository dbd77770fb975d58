#include "audio/synth.h"

#include <cmath>
#include <cstring>

static const float twoPi = 6.2831853f;

// Squeal: a wavering high note.
static const float squealHz = 820.0f;
static const float squealWobbleHz = 7.0f;
static const float squealVolume = 0.18f;
// Thud: a falling low note with a burst of noise, this long.
static const float thudSeconds = 0.35f;
static const float thudStartHz = 95.0f;
static const float thudEndHz = 45.0f;
static const float pushForFullThud = 60.0f;  // pixels per second of speed change
static const float thudVolume = 0.7f;
// Chimes: bell partials over a few notes; the finish has more notes and rings longer.
static const float lapChimeSeconds = 0.6f;
static const float finishChimeSeconds = 2.0f;
static const float chimeVolume = 0.25f;
// Glides: the time constant of volume, pan and squeal changes, long enough to hide 60 Hz steps.
static const float glideSeconds = 0.03f;

SynthState::SynthState()
    : squealPhase(0), squealWobble(0), squealLevel(0), thudAge(thudSeconds), thudAmplitude(0),
      chimeAge(finishChimeSeconds), chimeKind(0), seenThuds(0), seenLaps(0), seenFinishes(0), noise(0x12345678u),
      masterLevel(1) {
    for (int i = 0; i < maxEngineVoices; i++) {
        // Seeds of their own, so that trucks idling side by side never rattle in step.
        engines[i] = DieselState(0x9E3779B9u * (uint32_t)(i + 1));
        engineGain[i][0] = engineGain[i][1] = 0;
    }
    raceLevel = 0;
}

float thudLevel(float push) {
    if (!(push > 0)) return 0;
    float level = push / pushForFullThud;
    return level < 1 ? level : 1;
}

static float nextNoise(uint32_t& seed) {
    // xorshift32: cheap, and the same thud every time.
    seed ^= seed << 13;
    seed ^= seed >> 17;
    seed ^= seed << 5;
    return (float)(seed & 0xFFFF) / 32768.0f - 1.0f;
}

// The thud's sample at an age, with its noise drawn from seed.
static float thudSample(float age, float amplitude, uint32_t& seed) {
    if (age >= thudSeconds) return 0;
    float t = age / thudSeconds;
    float envelope = (1 - t) * (1 - t);
    // The pitch falls linearly, so the phase is the integral of the frequency.
    float phase = thudStartHz * age + (thudEndHz - thudStartHz) * age * t / 2;
    float tone = std::sin(twoPi * phase);
    float crack = age < 0.02f ? nextNoise(seed) * (1 - age / 0.02f) : 0;
    return amplitude * envelope * (0.85f * tone + 0.15f * crack) * thudVolume;
}

void renderThud(float* mono, int frames, int sampleRate, float push) {
    uint32_t seed = 0x12345678u;
    float amplitude = thudLevel(push);
    for (int i = 0; i < frames; i++) mono[i] = thudSample((float)i / sampleRate, amplitude, seed);
}

// Bell notes (Hz) and when each starts (seconds): the lap rises a fourth, the finish a chord.
struct ChimeNote {
    float hz;
    float start;
};
static const ChimeNote lapNotes[] = {{880.0f, 0.0f}, {1174.7f, 0.12f}};
static const ChimeNote finishNotes[] = {{659.3f, 0.0f}, {830.6f, 0.15f}, {987.8f, 0.3f}, {1318.5f, 0.45f}};
// The countdown: one A for each red light, an A an octave up for the green.
static const ChimeNote beepNotes[] = {{440.0f, 0.0f}};
static const ChimeNote goNotes[] = {{880.0f, 0.0f}};
static const float beepSeconds = 0.3f;

static float chimeSample(float age, int kind) {
    const ChimeNote* notes = kind == 0 ? lapNotes : kind == 1 ? finishNotes : kind == 2 ? beepNotes : goNotes;
    int count = kind == 0 ? 2 : kind == 1 ? 4 : 1;
    float length = kind == 0 ? lapChimeSeconds : kind == 1 ? finishChimeSeconds : kind == 2 ? beepSeconds : lapChimeSeconds;
    float sum = 0;
    for (int n = 0; n < count; n++) {
        float t = age - notes[n].start;
        if (t < 0 || age >= length) continue;
        float decay = std::exp(-4.0f * t / (length - notes[n].start));
        // A bell's inharmonic upper partial gives the ring.
        sum += decay * (std::sin(twoPi * notes[n].hz * t) + 0.3f * std::sin(twoPi * 2.76f * notes[n].hz * t));
    }
    return sum * chimeVolume / 1.3f;
}

// Gain for a pan position, keeping the loudness constant across the field.
static void panGains(float pan, float& left, float& right) {
    if (!(pan >= -1)) pan = -1;
    if (pan > 1) pan = 1;
    float angle = (pan + 1) * 0.25f * 3.14159265f;
    left = std::cos(angle);
    right = std::sin(angle);
}

// A gentle limiter: nearly linear for quiet mixes, never past ±1 for loud ones.
static float limit(float x) {
    if (!(std::fabs(x) < 8)) return std::isnan(x) ? 0 : (x > 0 ? 1 : -1);
    return std::tanh(x);
}

void synthesise(SynthState& state, const SoundFrame& frame, float* stereo, int frames, int sampleRate) {
    if (sampleRate <= 0) sampleRate = 48000;
    // Events first: each change of a counter starts its sound from the beginning.
    if (frame.thuds != state.seenThuds) {
        state.seenThuds = frame.thuds;
        state.thudAge = 0;
        state.thudAmplitude = thudLevel(frame.thudPush);
    }
    if (frame.finishes != state.seenFinishes) {
        state.seenFinishes = frame.finishes;
        state.chimeAge = 0;
        state.chimeKind = 1;
    } else if (frame.laps != state.seenLaps) {
        state.chimeAge = 0;
        state.chimeKind = 0;
    }
    state.seenLaps = frame.laps;
    if (frame.goes != state.seenGoes || frame.beeps != state.seenBeeps) {
        state.chimeAge = 0;
        state.chimeKind = frame.goes != state.seenGoes ? 3 : 2;
    }
    state.seenGoes = frame.goes;
    state.seenBeeps = frame.beeps;
    float effects = std::isfinite(frame.effectsVolume) ? std::fmax(0.0f, std::fmin(1.0f, frame.effectsVolume)) : 1.0f;
    float master = std::isfinite(frame.masterVolume) ? std::fmax(0.0f, std::fmin(1.0f, frame.masterVolume)) : 1.0f;

    float dt = 1.0f / (float)sampleRate;
    float glide = 1 - std::exp(-dt / glideSeconds);
    if (state.filters.sampleRate != sampleRate) state.filters = DieselFilters(sampleRate);
    float gainTarget[maxEngineVoices][2];
    for (int v = 0; v < maxEngineVoices; v++) {
        float volume = frame.engines[v].volume;
        volume = std::isfinite(volume) ? std::fmax(0.0f, std::fmin(1.0f, volume)) : 0.0f;
        panGains(frame.engines[v].pan, gainTarget[v][0], gainTarget[v][1]);
        gainTarget[v][0] *= volume;
        gainTarget[v][1] *= volume;
    }
    float raceTarget = std::isfinite(frame.raceLevel) ? std::fmax(0.0f, std::fmin(1.0f, frame.raceLevel)) : 0.0f;
    float raceStep = dt / raceFadeSeconds;
    float squealGain = 0.7071f;
    float target = frame.muted ? 0.0f : master;

    for (int i = 0; i < frames; i++) {
        float left = 0, right = 0;
        for (int v = 0; v < maxEngineVoices; v++) {
            const EngineVoice& voice = frame.engines[v];
            float* gain = state.engineGain[v];
            gain[0] += (gainTarget[v][0] - gain[0]) * glide;
            gain[1] += (gainTarget[v][1] - gain[1]) * glide;
            // A silent engine still turns, so it comes back in where it would be.
            float s = dieselSample(state.engines[v], state.filters, voice.revs, voice.load);
            left += s * gain[0];
            right += s * gain[1];
        }
        float squeal = std::isfinite(frame.squeal) ? frame.squeal : 0;
        state.squealLevel += (squeal - state.squealLevel) * glide;
        if (state.squealLevel > 0.001f) {
            float hz = squealHz * (1 + 0.03f * std::sin(twoPi * state.squealWobble));
            float s = squealVolume * state.squealLevel * std::sin(twoPi * state.squealPhase);
            state.squealPhase += hz * dt;
            if (state.squealPhase >= 1) state.squealPhase -= std::floor(state.squealPhase);
            state.squealWobble += squealWobbleHz * dt;
            if (state.squealWobble >= 1) state.squealWobble -= 1;
            left += s * squealGain;
            right += s * squealGain;
        }
        // A straight ramp: no step to click, and truly silent at its end.
        if (state.raceLevel < raceTarget) state.raceLevel = std::fmin(raceTarget, state.raceLevel + raceStep);
        if (state.raceLevel > raceTarget) state.raceLevel = std::fmax(raceTarget, state.raceLevel - raceStep);
        left *= state.raceLevel;
        right *= state.raceLevel;
        if (state.thudAge < thudSeconds) {
            float s = thudSample(state.thudAge, state.thudAmplitude, state.noise) * effects;
            state.thudAge += dt;
            left += s;
            right += s;
        }
        if (state.chimeAge < finishChimeSeconds) {
            float s = chimeSample(state.chimeAge, state.chimeKind) * effects;
            state.chimeAge += dt;
            left += s;
            right += s;
        }
        state.masterLevel += (target - state.masterLevel) * glide;
        // The glide only nears zero; muted means silent.
        if (target == 0 && state.masterLevel < 1e-4f) state.masterLevel = 0;
        stereo[2 * i] = limit(left * state.masterLevel);
        stereo[2 * i + 1] = limit(right * state.masterLevel);
    }
}
