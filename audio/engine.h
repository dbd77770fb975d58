#pragma once
// A six-cylinder diesel as the ear knows one. Its firing rate is deep (about 33 Hz at idle), below
// what small speakers play, so the sound is made of what each firing sets ringing: a knock through
// the exhaust's and the cab's resonances, a few hundred hertz to two kilohertz. The rhythm of those
// knocks is what is heard as the engine's pitch. Idle knocks are light, lumpy and clattery; under
// load they are heavier and breathe exhaust noise, and the turbo whistles above once it spools up.
#include <cstdint>

const float idleRevs = 650.0f;      // rpm
const float highestRevs = 2100.0f;  // rpm, the governor's limit

// A driver's gear choice from road speed: shifts up near the top of the rev band and down near its
// bottom. Returns the engine's revs for a speed (pixels per second) and a load (0..1); gear is the
// caller's memory of the gear in use, 0 (first) upwards.
float gearboxRevs(int& gear, float speed, float load);

// The fixed filters and decays, made once for a sample rate.
const int dieselResonances = 4;
struct DieselFilters {
    int sampleRate;
    float dt;  // seconds per sample
    float b0[dieselResonances], a1[dieselResonances], a2[dieselResonances];
    float highPass;                             // one-pole coefficient that keeps the firing rate's own rumble down
    float knockDecay, clatterDecay, puffDecay;  // per sample

    explicit DieselFilters(int rate = 48000);
};

// One engine's memory between samples.
struct DieselState {
    float revs, load;   // glided towards the voice's, as a heavy flywheel would
    float firingPhase;  // cycles of the firing rate, 0..1
    float nextFiring;   // where in the cycle the next firing falls; jitters with roughness
    int cylinder;
    float knock;    // the latest firing's pressure pulse, decaying
    float clatter;  // its mechanical rattle
    float puff;     // its exhaust breath
    float in[dieselResonances][2], out[dieselResonances][2];
    float lowIn, lowOut;
    float turbo;  // spool, 0..1
    float turboPhase;
    uint32_t noise;

    explicit DieselState(uint32_t seed = 0x2545F491u);
};

// 0..1: how uneven the firings are. Lumpy at idle, smoother as the revs rise, harsh when a heavy
// load drags the revs down.
float dieselRoughness(float revs, float load);
// The engine's next sample at revs (rpm) and load (0..1); roughly ±1.
float dieselSample(DieselState& s, const DieselFilters& f, float revs, float load);
