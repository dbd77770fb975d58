#pragma once
// The desktop under SDL: its events become the window messages the window procedure was built
// around, and its counter, pointer and message boxes serve the rest of the game.
#include "core/platform.h"

union SDL_Event;

class SdlPlatform : public Platform {
public:
    SdlPlatform();
    ~SdlPlatform() override;

    int64_t queryPerformanceCounter() override;
    int64_t queryPerformanceFrequency() override;
    void getCursorPos(int& x, int& y) override;
    void showCursor(bool show) override;
    // Modal SDL box; the text also goes to stderr. With no display to show it on, the answer is
    // No for a question and OK otherwise.
    int messageBox(const char* text, const char* caption, unsigned flags) override;
    // Blocks in SDL until an event arrives, at most a quarter of a second so that a signal's
    // quit request is never held up for long.
    void waitMessage() override;

    // Turns one SDL event into at most one window message; false when it has none.
    static bool translateEvent(const SDL_Event& event, WindowMessage& msg);

protected:
    // Moves waiting SDL events into the message queue while there is room for them; the rest
    // wait in SDL's own queue for the next pass.
    void pumpEvents() override;
};
