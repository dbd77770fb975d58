#include "audio/engine.h"

#include <cmath>

static const float twoPi = 6.2831853f;

// Gearbox: revs per unit of road speed (pixels per second) in each gear, top gear reaching the
// governor just past the trucks' top speed of about 760.
static const float revsPerSpeed[] = {7.4f, 5.1f, 3.5f, 2.45f};
static const int gearCount = (int)(sizeof revsPerSpeed / sizeof revsPerSpeed[0]);
static const float shiftUpRevs = 1950.0f;
static const float shiftDownRevs = 1450.0f;  // what the lower gear would give, so a shift never hunts
static const float clutchSlipRevs = 550.0f;  // above idle, at full load from standstill

// Firing: six cylinders, four strokes, so three firings each revolution.
static const float firingsPerRev = 3.0f;
static const int cylinders = 6;
// How much each cylinder's firing differs from the mean when the engine is at its roughest: no two
// cylinders burn alike, which gives the lumpy idle its six-beat pattern.
static const float imbalance[cylinders] = {0.0f, 0.35f, -0.25f, 0.15f, -0.4f, 0.3f};
static const float timingJitter = 0.09f;  // of the firing interval, at full roughness

// The ringing: frequency (Hz), sharpness (Q) and how strongly each is driven.
static const float resonanceHz[dieselResonances] = {120.0f, 260.0f, 640.0f, 1500.0f};
static const float resonanceQ[dieselResonances] = {3.0f, 6.0f, 6.0f, 6.0f};
static const float knockGain[dieselResonances] = {1.0f, 2.0f, 2.2f, 0.8f};
static const float puffGain[dieselResonances] = {0.0f, 0.6f, 1.4f, 0.6f};
static const float clatterGain[dieselResonances] = {0.0f, 0.0f, 0.5f, 1.6f};
static const float highPassHz = 70.0f;

// Envelopes of a firing, in seconds: the pressure pulse is sharp, the breath lasts a little.
static const float knockSeconds = 0.001f;
static const float clatterSeconds = 0.0012f;
static const float puffSeconds = 0.01f;

// Glides: revs follow the flywheel, the load the fuel rack, the turbo its slow spool.
static const float revsSeconds = 0.1f;
static const float loadSeconds = 0.06f;
static const float spoolUpSeconds = 0.9f;
static const float spoolDownSeconds = 1.6f;
// The turbo's whistle: from this pitch spooled down to the top one spooled up, and its loudness.
static const float turboLowHz = 2200.0f;
static const float turboHighHz = 4600.0f;
static const float turboWhine = 0.06f;
static const float turboHiss = 0.03f;
static const float outputGain = 2.2f;  // brings a loaded engine to about ±1

float gearboxRevs(int& gear, float speed, float load) {
    if (!(gear >= 0)) gear = 0;
    if (gear >= gearCount) gear = gearCount - 1;
    speed = std::fabs(speed);
    if (!std::isfinite(speed)) speed = 0;
    if (!(load >= 0)) load = 0;
    if (load > 1) load = 1;
    while (gear + 1 < gearCount && speed * revsPerSpeed[gear] > shiftUpRevs) gear++;
    while (gear > 0 && speed * revsPerSpeed[gear - 1] < shiftDownRevs) gear--;
    float wheel = speed * revsPerSpeed[gear];
    // In first gear the clutch slips: the engine revs against the load before the truck moves.
    float slip = idleRevs + load * clutchSlipRevs;
    float revs = wheel > slip ? wheel : slip;
    return revs < highestRevs ? revs : highestRevs;
}

DieselFilters::DieselFilters(int rate) : sampleRate(rate > 0 ? rate : 48000) {
    for (int r = 0; r < dieselResonances; r++) {
        // A two-pole band-pass of unit gain at its centre.
        float w = twoPi * resonanceHz[r] / (float)sampleRate;
        float alpha = std::sin(w) / (2 * resonanceQ[r]);
        b0[r] = alpha / (1 + alpha);
        a1[r] = 2 * std::cos(w) / (1 + alpha);
        a2[r] = (1 - alpha) / (1 + alpha);
    }
    dt = 1.0f / (float)sampleRate;
    highPass = std::exp(-twoPi * highPassHz * dt);
    knockDecay = std::exp(-dt / knockSeconds);
    clatterDecay = std::exp(-dt / clatterSeconds);
    puffDecay = std::exp(-dt / puffSeconds);
}

DieselState::DieselState(uint32_t seed)
    : revs(idleRevs), load(0), firingPhase(0), nextFiring(1), cylinder(0), knock(0), clatter(0), puff(0), lowIn(0),
      lowOut(0), turbo(0), turboPhase(0), noise(seed ? seed : 1u) {
    for (int r = 0; r < dieselResonances; r++) in[r][0] = in[r][1] = out[r][0] = out[r][1] = 0;
}

// xorshift32, -1..1: every engine has its own seed, so no two trucks rattle in step.
static float noiseSample(uint32_t& seed) {
    seed ^= seed << 13;
    seed ^= seed >> 17;
    seed ^= seed << 5;
    return (float)(seed & 0xFFFF) / 32768.0f - 1.0f;
}

static float clamp01(float x) { return x > 0 ? (x < 1 ? x : 1) : 0; }

float dieselRoughness(float revs, float load) {
    float low = 1 - clamp01((revs - idleRevs) / (highestRevs - idleRevs));
    return clamp01(0.15f + 0.45f * low + 0.4f * clamp01(load) * low);
}

// Starts a cylinder's firing: how hard it knocks, rattles and breathes, and when the next comes.
static void fire(DieselState& s, float roughness) {
    float uneven = roughness * (imbalance[s.cylinder] + 0.4f * noiseSample(s.noise));
    float strength = (0.55f + 0.45f * s.load) * (1 + uneven);
    s.knock = strength;
    s.clatter = (1.0f - 0.7f * s.load) * (1 + uneven);
    s.puff = (0.3f + 0.7f * s.load) * (1 + 0.5f * uneven);
    s.cylinder = (s.cylinder + 1) % cylinders;
    s.nextFiring = 1 + timingJitter * roughness * noiseSample(s.noise);
}

float dieselSample(DieselState& s, const DieselFilters& f, float revs, float load) {
    float dt = f.dt;
    if (!std::isfinite(revs)) revs = idleRevs;
    revs = revs < idleRevs ? idleRevs : (revs > highestRevs ? highestRevs : revs);
    load = std::isfinite(load) ? clamp01(load) : 0;
    s.revs += (revs - s.revs) * (dt / (revsSeconds + dt));
    s.load += (load - s.load) * (dt / (loadSeconds + dt));

    s.firingPhase += s.revs / 60 * firingsPerRev * dt;
    if (s.firingPhase >= s.nextFiring) {
        s.firingPhase -= s.nextFiring;
        if (!(s.firingPhase < 1)) s.firingPhase = 0;
        fire(s, dieselRoughness(s.revs, s.load));
    }

    float hiss = noiseSample(s.noise);
    float drive[3] = {s.knock, s.puff * hiss, s.clatter * hiss};
    s.knock *= f.knockDecay;
    s.clatter *= f.clatterDecay;
    s.puff *= f.puffDecay;

    float sum = 0;
    for (int r = 0; r < dieselResonances; r++) {
        float x = knockGain[r] * drive[0] + puffGain[r] * drive[1] + clatterGain[r] * drive[2];
        float y = f.b0[r] * (x - s.in[r][1]) + f.a1[r] * s.out[r][0] - f.a2[r] * s.out[r][1];
        s.in[r][1] = s.in[r][0];
        s.in[r][0] = x;
        s.out[r][1] = s.out[r][0];
        s.out[r][0] = y;
        sum += y;
    }
    // One-pole high-pass: y = p (y' + x - x').
    float low = f.highPass * (s.lowOut + sum - s.lowIn);
    s.lowIn = sum;
    s.lowOut = low;

    // The turbo spools with load and revs, slower down than up, and whistles as it turns.
    float spoolTarget = s.load * (0.3f + 0.7f * clamp01((s.revs - idleRevs) / (highestRevs - idleRevs)));
    float spoolSeconds = spoolTarget > s.turbo ? spoolUpSeconds : spoolDownSeconds;
    s.turbo += (spoolTarget - s.turbo) * (dt / (spoolSeconds + dt));
    s.turboPhase += (turboLowHz + (turboHighHz - turboLowHz) * s.turbo) * dt;
    if (s.turboPhase >= 1) s.turboPhase -= std::floor(s.turboPhase);
    float whistle = s.turbo * s.turbo * (turboWhine * std::sin(twoPi * s.turboPhase) + turboHiss * hiss);
    return outputGain * low + whistle;
}
