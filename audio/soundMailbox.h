#pragma once
// The hand-over of SoundFrames from the game thread to the audio callback: every value is an
// atomic of its own, so neither side ever waits or locks. A callback that reads while a frame is
// being posted may mix two frames' values for one buffer, which is inaudible.
#include <atomic>

#include "audio/synth.h"

class SoundMailbox {
public:
    SoundMailbox();
    // The game thread, once a frame.
    void post(const SoundFrame& frame);
    // The audio callback, once a buffer.
    SoundFrame take() const;

private:
    std::atomic<float> engine[maxEngineVoices][4];  // revs, load, volume, pan
    std::atomic<float> squeal;
    std::atomic<uint32_t> thuds;
    std::atomic<float> thudPush;
    std::atomic<uint32_t> laps;
    std::atomic<uint32_t> finishes;
    std::atomic<float> raceLevel;
    std::atomic<bool> muted;
    std::atomic<float> masterVolume, effectsVolume;
    std::atomic<uint32_t> beeps, goes;
};
