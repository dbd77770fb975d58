#include "audio/soundMailbox.h"

// Relaxed order but for the thud: its push is stored before its count (release) and read after
// it (acquire), so a new thud is never heard with the old push.
// The callback must never wait on a lock hidden inside an atomic.
static_assert(std::atomic<float>::is_always_lock_free && std::atomic<uint32_t>::is_always_lock_free,
              "the sound hand-over needs lock-free atomics");

SoundMailbox::SoundMailbox() { post(SoundFrame{}); }

void SoundMailbox::post(const SoundFrame& frame) {
    for (int v = 0; v < maxEngineVoices; v++) {
        engine[v][0].store(frame.engines[v].revs, std::memory_order_relaxed);
        engine[v][1].store(frame.engines[v].load, std::memory_order_relaxed);
        engine[v][2].store(frame.engines[v].volume, std::memory_order_relaxed);
        engine[v][3].store(frame.engines[v].pan, std::memory_order_relaxed);
    }
    squeal.store(frame.squeal, std::memory_order_relaxed);
    thudPush.store(frame.thudPush, std::memory_order_relaxed);
    thuds.store(frame.thuds, std::memory_order_release);
    laps.store(frame.laps, std::memory_order_relaxed);
    finishes.store(frame.finishes, std::memory_order_relaxed);
    raceLevel.store(frame.raceLevel, std::memory_order_relaxed);
    muted.store(frame.muted, std::memory_order_relaxed);
    masterVolume.store(frame.masterVolume, std::memory_order_relaxed);
    effectsVolume.store(frame.effectsVolume, std::memory_order_relaxed);
    beeps.store(frame.beeps, std::memory_order_relaxed);
    goes.store(frame.goes, std::memory_order_relaxed);
}

SoundFrame SoundMailbox::take() const {
    SoundFrame frame;
    for (int v = 0; v < maxEngineVoices; v++) {
        frame.engines[v].revs = engine[v][0].load(std::memory_order_relaxed);
        frame.engines[v].load = engine[v][1].load(std::memory_order_relaxed);
        frame.engines[v].volume = engine[v][2].load(std::memory_order_relaxed);
        frame.engines[v].pan = engine[v][3].load(std::memory_order_relaxed);
    }
    frame.thuds = thuds.load(std::memory_order_acquire);
    frame.thudPush = thudPush.load(std::memory_order_relaxed);
    frame.squeal = squeal.load(std::memory_order_relaxed);
    frame.laps = laps.load(std::memory_order_relaxed);
    frame.finishes = finishes.load(std::memory_order_relaxed);
    frame.raceLevel = raceLevel.load(std::memory_order_relaxed);
    frame.muted = muted.load(std::memory_order_relaxed);
    frame.masterVolume = masterVolume.load(std::memory_order_relaxed);
    frame.effectsVolume = effectsVolume.load(std::memory_order_relaxed);
    frame.beeps = beeps.load(std::memory_order_relaxed);
    frame.goes = goes.load(std::memory_order_relaxed);
    return frame;
}
