#include "app/replayPlayback.h"

#include "core/errorBox.h"
#include "core/input.h"
#include "front/replayDrive.h"
#include "race/game.h"
#include "records/replay.h"
#include "track/courseLibrary.h"

ReplayPlatform::ReplayPlatform(Platform& d, const Replay& r)
    : desktop(d), replay(r), next(0), posted(0), ready(false), counter(0), firstReal(0), pacedSeconds(0),
      game(nullptr), course(nullptr), pausedView(false), gamePausedBefore(false), viewSpeed(1.0), pauseAsked(false),
      jumpAsked(false) {}

int64_t ReplayPlatform::queryPerformanceFrequency() { return replay.frequency; }

bool ReplayPlatform::finished() const { return next >= replay.frameCount; }

int64_t ReplayPlatform::queryPerformanceCounter() {
    if (ready) {
        counter += replay.frames[next].counterDelta;
        if (next == 0) anchorPace();
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

void ReplayPlatform::anchorPace() {
    firstReal = desktop.queryPerformanceCounter();
    pacedSeconds = 0;
}

void ReplayPlatform::paceNextFrame() {
    int64_t step = replay.frames[next].counterDelta;
    const int64_t longest = (int64_t)(maxReplayFrameWait * (double)replay.frequency);
    step = step < 0 ? 0 : step > longest ? longest : step;
    pacedSeconds += (double)step / (double)replay.frequency / viewSpeed;
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
    course = &library.entry(at).course;
    g.useCourse(0, *course);
    g.trackCount = 1;
    return true;
}

QuickRaceReplay* ReplayPlatform::countdownOver() { return replay.setup.countdown ? &quickOver : nullptr; }

void ReplayPlatform::restart() {
    quickOver.reset();
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
        } else if (m.message == WM_KEYDOWN && !finished() && !(m.lParam & ((int64_t)1 << 30))) {
            if (m.wParam == 'P') pauseAsked = !pauseAsked;
            if (m.wParam == VK_UP && viewSpeed < fastestReplaySpeed) viewSpeed *= 2.0;
            if (m.wParam == VK_DOWN && viewSpeed > slowestReplaySpeed) viewSpeed /= 2.0;
            if (m.wParam == VK_LEFT) jumpAsked = true;
            // A new speed counts from now, not from the first frame.
            if (m.wParam == VK_UP || m.wParam == VK_DOWN) {
                anchorPace();
                if (!finished()) paceNextFrame();
            }
        } else if (!isReplayInput(m.message)) {
            // The window's own state and the ways out pass through as they came.
            postMessage(m.message, m.wParam, m.lParam);
        }
    }
}

void ReplayPlatform::waitForFrame() {
    // The first frame runs at once and sets the clock for the rest.
    if (next == 0) return;
    desktop.sleepUntil(firstReal + (int64_t)(pacedSeconds * (double)desktop.queryPerformanceFrequency()));
}

void ReplayPlatform::pumpEvents() {
    passDesktopMessages();
    if (ready || finished()) return;
    // Between two frames: no message of the next one has been handed over yet.
    if (posted == 0) applyViewKeys();
    if (pausedView) return;
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

void ReplayPlatform::applyViewKeys() {
    if (!game || next == 0) return;
    if (jumpAsked) {
        jumpAsked = false;
        jumpBack();
    }
    if (pauseAsked != pausedView) {
        pausedView = pauseAsked;
        // The race's own pause holds every clock, and its frames move nothing meanwhile; the
        // recorded race's pause is put back as it was.
        if (pausedView) {
            gamePausedBefore = game->paused;
            game->paused = true;
        } else {
            game->paused = gamePausedBefore;
            anchorPace();
            paceNextFrame();
        }
    }
}

// Ten recorded seconds back from the next frame: the grid again, then every frame up to there
// driven undrawn on a clock of the recorded counts.
void ReplayPlatform::jumpBack() {
    const int64_t back = (int64_t)(replayJumpBackSeconds * (double)replay.frequency);
    int64_t counts = 0;
    int target = next;
    while (target > 1 && counts < back) counts += replay.frames[--target].counterDelta;
    bool wasPaused = pausedView;
    ScriptedPlatform clock;
    clock.frequency = replay.frequency;
    clock.counter = 0;
    setPlatform(&clock);
    quickOver.reset();
    if (setUpForReplay(*game, replay, course)) driveReplayFrames(*game, replay, clock, 0, target, nullptr, countdownOver());
    setPlatform(this);
    counter = clock.counter;
    next = target;
    posted = 0;
    ready = false;
    game->replayShow = Game::replayPlaying;
    // A jump while paused stays paused, on the frame jumped to.
    gamePausedBefore = game->paused;
    if (wasPaused) game->paused = true;
    anchorPace();
    paceNextFrame();
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
    // What was raced: its laps, level and computer trucks (the classic race unless it says otherwise).
    game.setLaps(replay.setup.laps);
    game.setDifficulty((Difficulty)replay.setup.level);
    if (game.rivals() != replay.setup.rivals) game.setRivals(replay.setup.rivals);
    // Player two's truck is driven by the recorded keys too; the decoder made sure it exists.
    game.setHumans(replay.setup.humans);
    for (int code = 0; code < 256; code++) keys.down[code] = keys.previous[code] = replay.isKeyHeld(code) ? 1 : 0;
}
