#include "app/replayPlayback.h"

#include <SDL.h>

#include "core/errorBox.h"
#include "core/input.h"
#include "race/game.h"
#include "records/replay.h"

ReplayPlatform::ReplayPlatform(Platform& d, const Replay& r)
    : desktop(d), replay(r), next(0), posted(0), ready(false), counter(0), lastReal(0) {}

int64_t ReplayPlatform::queryPerformanceFrequency() { return replay.frequency; }

bool ReplayPlatform::finished() const { return next >= replay.frameCount; }

int64_t ReplayPlatform::queryPerformanceCounter() {
    if (ready) {
        counter += replay.frames[next].counterDelta;
        next++;
        posted = 0;
        ready = false;
        lastReal = desktop.queryPerformanceCounter();
    } else if (finished()) {
        // The race is over and stays on screen; no need to redraw it flat out.
        SDL_Delay(10);
    }
    return counter;
}

void ReplayPlatform::passDesktopMessages() {
    WindowMessage m;
    while (pendingMessages() < queueCapacity && desktop.peekMessage(m)) {
        if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) {
            postMessage(WM_CLOSE, 0, 0);
        } else if (!isReplayInput(m.message)) {
            // The window's own state and the ways out pass through as they came.
            postMessage(m.message, m.wParam, m.lParam);
        }
    }
}

void ReplayPlatform::waitForFrame() {
    // The frame was driven this long after the one before it; a frame runs no sooner.
    double want = (double)replay.frames[next].counterDelta / (double)replay.frequency;
    if (want > maxReplayFrameWait) want = maxReplayFrameWait;
    double perSecond = (double)desktop.queryPerformanceFrequency();
    while ((double)(desktop.queryPerformanceCounter() - lastReal) / perSecond < want) SDL_Delay(1);
}

void ReplayPlatform::pumpEvents() {
    passDesktopMessages();
    if (ready || finished()) return;
    if (posted == 0) waitForFrame();
    const ReplayFrame& f = replay.frames[next];
    while (posted < f.messageCount) {
        const ReplayMessage& m = replay.messages[f.firstMessage + posted];
        // An Escape of the last frame ended the recorded run; played, the race's end stays on
        // screen instead. An earlier one closed the help, and must close it again.
        bool escape = (m.message == WM_KEYDOWN || m.message == WM_KEYUP) && m.wParam == VK_ESCAPE &&
                      next == replay.frameCount - 1;
        // The loader refuses anything but input; should any come, it must not minimise or end the game.
        bool input = isReplayInput(m.message);
        if (!escape && input && !postMessage(m.message, m.wParam, m.lParam)) return;  // the rest once these drain
        posted++;
    }
    ready = true;
}

bool loadReplayToPlay(const char* path, Replay& replay) {
    char why[160];
    if (!replay.load(path, why, sizeof why)) {
        errorBox("Cannot play the replay %s:\n%s\n", path, why);
        return false;
    }
    if (replay.course < 0 || replay.course >= Game::maxTracks) {
        errorBox("Cannot play the replay %s:\nit is a race on course %d, which this game does not have\n", path,
                 replay.course);
        return false;
    }
    return true;
}

void prepareReplay(Game& game, const Replay& replay) {
    if (game.currentTrack != replay.course) {
        game.currentTrack = replay.course;
        game.resetRace();
    }
    for (int code = 0; code < 256; code++) keys.down[code] = keys.previous[code] = replay.isKeyHeld(code) ? 1 : 0;
}
