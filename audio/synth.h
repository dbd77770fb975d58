#pragma once
// The game's sounds, made from nothing but arithmetic: truck engines, tyre squeal, collision
// thuds and lap chimes, mixed into interleaved stereo float buffers. No device, no threads; the
// shell's audio callback calls synthesise with the latest SoundFrame.
#include <cstdint>

#include "audio/engine.h"

const int maxEngineVoices = 5;

struct EngineVoice {
    float revs;    // rpm; below idle (as in an empty frame) idles
    float load;    // 0..1: how hard the engine works
    float volume;  // 0..1
    float pan;     // -1 left .. +1 right
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
    // 0..1: how loud the engines and tyres are as a whole. The synthesiser ramps to it over
    // raceFadeSeconds, so a pause fades them out and a race's start brings them in.
    float raceLevel;
    bool muted;
    // The player's volumes, 0..1: everything, and the thuds, squeal and chimes.
    float masterVolume = 1.0f;
    float effectsVolume = 1.0f;
    uint32_t beeps = 0;  // countdown lights so far: a short beep each
    uint32_t goes = 0;   // green lights so far: a higher, longer one
};

const float raceFadeSeconds = 0.4f;  // from full to silent

// Everything the synthesiser carries from one buffer to the next.
struct SynthState {
    DieselState engines[maxEngineVoices];
    DieselFilters filters;  // for the sample rate last synthesised
    // Left and right gains glided towards the frame's volume and pan, so steps never click.
    float engineGain[maxEngineVoices][2];
    float raceLevel;     // ramped towards the frame's
    float squealPhase;   // cycles of the note
    float squealWobble;  // cycles of its waver
    float squealLevel;
    float thudAge;  // seconds since the last thud began; past its length, silent
    float thudAmplitude;
    float chimeAge;
    int chimeKind;  // 0 lap, 1 finish, 2 countdown beep, 3 go
    uint32_t seenThuds, seenLaps, seenFinishes, seenBeeps = 0, seenGoes = 0;
    uint32_t noise;     // the thud's noise generator
    float masterLevel;  // glides to 0 when muted, so muting never clicks

    SynthState();
};

// 0..1: how loud a collision's thud is for its push; it saturates for a hard crash.
float thudLevel(float push);

// Writes a thud of the given push from its start into a mono buffer.
void renderThud(float* mono, int frames, int sampleRate, float push);
// Fills an interleaved stereo buffer (frames x 2 samples), every sample within [-1, 1].
void synthesise(SynthState& state, const SoundFrame& frame, float* stereo, int frames, int sampleRate);
