#pragma once
// Saves the program-wide state tests change (the frame time, the counter sample and frequency,
// the keys, the mouse and the platform) and puts it back when the scope ends, however the test
// ends: a failed ASSERT returns early, past any hand-written restore.
// Declare it before the objects it guards for (a fixture's first member, a test's first local),
// so that it is made before they change anything and put back after they are gone.
#include <cstdint>

#include "core/input.h"
#include "core/platform.h"
#include "core/timing.h"

class GlobalsGuard {
public:
    GlobalsGuard()
        : savedFrameTime(frameTime), savedCounterNow(perfCounterNow), savedFrequency(perfFrequency), savedKeys(keys),
          savedMouse(mouse), savedPlatform(&platform()) {}
    ~GlobalsGuard() {
        frameTime = savedFrameTime;
        perfCounterNow = savedCounterNow;
        perfFrequency = savedFrequency;
        keys = savedKeys;
        mouse = savedMouse;
        setPlatform(savedPlatform);
    }
    GlobalsGuard(const GlobalsGuard&) = delete;
    GlobalsGuard& operator=(const GlobalsGuard&) = delete;

private:
    double savedFrameTime;
    int64_t savedCounterNow;
    int64_t savedFrequency;
    Keys savedKeys;
    Mouse savedMouse;
    Platform* savedPlatform;
};
