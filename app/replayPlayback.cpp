#include "app/replayPlayback.h"

#include "core/errorBox.h"
#include "core/input.h"
#include "race/game.h"
#include "records/replay.h"
#include "track/courseLibrary.h"

ReplayPlatform::ReplayPlatform(Platform& d, const Replay& r)
    : desktop(d), replay(r), next(0), posted(0), ready(false), counter(0), firstReal(0), pacedCounts(0),
      game(nullptr) {}

int64_t ReplayPlatform::queryPerformanceFrequency() { return replay.frequency; }

bool ReplayPlatform::finished() const { return next >= replay.frameCount; }

int64_t ReplayPlatform::queryPerformanceCounter() {
    if (ready) {
        counter += replay.frames[next].counterDelta;
        if (next == 0) {
            firstReal = desktop.queryPerformanceCounter();
            pacedCounts = 0;
        }
        next++;
        posted = 0;
        ready = false;
        if (finished()) {
            if (game) game->replayShow = Game::replayEnded;
        } else {
            paceNextFrame();
        }
    } else if (finished()) {
        // The race is over and stays on screen; no need to redraw it flat out.
        desktop.sleepUntil(desktop.queryPerformanceCounter() +
                           (int64_t)((double)desktop.queryPerformanceFrequency() / replayEndFramesPerSecond));
    }
    return counter;
}

void ReplayPlatform::paceNextFrame() {
    int64_t step = replay.frames[next].counterDelta;
    const int64_t longest = (int64_t)(maxReplayFrameWait * (double)replay.frequency);
    pacedCounts += step < 0 ? 0 : step > longest ? longest : step;
}

void ReplayPlatform::playInto(Game& g) {
    game = &g;
    prepareReplay(g, replay);
    g.replayShow = finished() ? Game::replayEnded : Game::replayPlaying;
}

bool ReplayPlatform::placeCourse(Game& g, const CourseLibrary& library) {
    coursePlaced = true;
    if (!replay.courseHash) return true;
    int at = library.find(replay.courseHash);
    if (at < 0) {
        errorBox("Cannot play the replay:\nit is a race on the course \"%s\", which is missing or has changed\n",
                 replay.courseName);
        coursePlaced = false;
        return false;
    }
    g.currentTrack = 0;
    g.useCourse(0, library.entry(at).course);
    g.trackCount = 1;
    return true;
}

void ReplayPlatform::restart() {
    next = 0;
    posted = 0;
    ready = false;
    if (!game) return;
    // The grid as the recorded race found it; the counter runs on, so no frame steps back.
    game->currentTrack = replay.course;
    game->waitingForStart = true;
    game->paused = false;
    game->resetRace();
    playInto(*game);
}

void ReplayPlatform::passDesktopMessages() {
    WindowMessage m;
    while (pendingMessages() < queueCapacity && desktop.peekMessage(m)) {
        if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) {
            postMessage(WM_CLOSE, 0, 0);
        } else if (m.message == WM_KEYDOWN && m.wParam == VK_SPACE && finished() && !(m.lParam & ((int64_t)1 << 30))) {
            // At the race's end Space plays it again (a key held down repeats: only its first press).
            restart();
        } else if (!isReplayInput(m.message)) {
            // The window's own state and the ways out pass through as they came.
            postMessage(m.message, m.wParam, m.lParam);
        }
    }
}

void ReplayPlatform::waitForFrame() {
    // The first frame runs at once and sets the clock for the rest.
    if (next == 0) return;
    double seconds = (double)pacedCounts / (double)replay.frequency;
    desktop.sleepUntil(firstReal + (int64_t)(seconds * (double)desktop.queryPerformanceFrequency()));
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
