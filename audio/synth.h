#pragma once
// The game's sounds, made from nothing but arithmetic: truck engines, tyre squeal, collision
// thuds and lap chimes, mixed into interleaved stereo float buffers. No device, no threads; the
// shell's audio callback calls synthesise with the latest SoundFrame.
#include <cstdint>

const int maxEngineVoices = 5;

struct EngineVoice {
    float frequency;  // Hz of the engine note's fundamental
    float volume;     // 0..1
    float pan;        // -1 left .. +1 right
};

// What the race sounds like this frame. Events are counters: a change starts the sound once,
// however many frames or callbacks pass between.
struct SoundFrame {
    EngineVoice engines[maxEngineVoices];  // [0] is the user's truck
    float squeal;                          // 0..1, tyres sliding past their grip
    uint32_t thuds;                        // collisions so far
    float thudPush;                        // how hard the latest one pushed, in speed units (pixels per second)
    uint32_t laps;                         // lap chimes so far
    uint32_t finishes;                     // finish chimes so far
    bool muted;
};

// Everything the synthesiser carries from one buffer to the next.
struct SynthState {
    float enginePhase[maxEngineVoices];  // in cycles, 0..1
    float engineLevel[maxEngineVoices];  // volumes glided towards the frame's, so steps never click
    float engineFrequency[maxEngineVoices];
    float squealPhase;   // cycles of the note
    float squealWobble;  // cycles of its waver
    float squealLevel;
    float thudAge;  // seconds since the last thud began; past its length, silent
    float thudAmplitude;
    float chimeAge;
    int chimeKind;  // 0 lap, 1 finish
    uint32_t seenThuds, seenLaps, seenFinishes;
    uint32_t noise;     // the thud's noise generator
    float masterLevel;  // glides to 0 when muted, so muting never clicks

    SynthState();
};

// The engine note for a truck's power (its signed engine output) and speed (pixels per second).
float engineFrequency(float power, float speed);
// 0..1: how loud a collision's thud is for its push; it saturates for a hard crash.
float thudLevel(float push);

// Adds one engine voice to a mono buffer, advancing its phase.
void addEngine(float* mono, int frames, int sampleRate, float frequency, float volume, float& phase);
// Writes a thud of the given push from its start into a mono buffer.
void renderThud(float* mono, int frames, int sampleRate, float push);
// Fills an interleaved stereo buffer (frames x 2 samples), every sample within [-1, 1].
void synthesise(SynthState& state, const SoundFrame& frame, float* stereo, int frames, int sampleRate);
