#include "front/replayDrive.h"

#include <cstring>

#include "core/input.h"
#include "core/platform.h"
#include "core/timing.h"
#include "front/quickRace.h"
#include "race/game.h"
#include "race/gameFrame.h"
#include "race/player.h"
#include "records/replay.h"
#include "track/course.h"
#include "track/courses.h"

void SplitTimes::begin(int progress) {
    count = 0;
    lastProgress = progress;
}

bool SplitTimes::note(int progress, float at) {
    if (progress <= lastProgress) return false;
    lastProgress = progress;
    // Past the table a race goes on untimed.
    if (count < maxSplits) seconds[count++] = at;
    return true;
}

int checkpointProgress(const Truck& truck, const Track& track) {
    return truck.getLapCount() * track.checkpointCount() + truck.getLastCheckpoint();
}

bool setUpForReplay(Game& game, const Replay& replay, const Course* course) {
    if (replay.courseHash) {
        if (!course) return false;
        game.currentTrack = 0;
        game.useCourse(0, *course);
        game.trackCount = 1;
    } else {
        if (replay.course < 0 || replay.course >= courseCount || replay.course >= Game::maxTracks) return false;
        // A slot a course file was raced in gets its built-in course back.
        for (int i = 0; i < courseCount && i < Game::maxTracks; i++) {
            Course builtIn;
            if ((i >= game.trackCount || game.tracks[i].courseHash != 0) && builtInCourse(i, builtIn))
                game.useCourse(i, builtIn);
        }
        game.trackCount = courseCount < Game::maxTracks ? courseCount : Game::maxTracks;
        game.currentTrack = replay.course;
    }
    const ReplaySetup& s = replay.setup;
    game.setLaps(s.laps);
    game.setDifficulty((Difficulty)s.level);
    // The title, as a freshly loaded game shows it: nothing open, nothing pending.
    game.waitingForStart = true;
    game.raceOver = false;
    game.paused = false;
    game.help = HelpOverlay();
    game.replayShow = Game::noReplay;
    for (RecoverWatch& r : game.recovery) r = RecoverWatch();
    game.setRivals(s.rivals);
    // Player two drives truck 1 in a two-player race; any other race puts its computer driver back.
    if (!game.setHumans(s.humans)) return false;
    game.resetRace();
    keys = Keys();
    // The buttons only: the mouse also holds the cursor's picture.
    mouse.leftButtonUp();
    mouse.rightButtonUp();
    mouse.middleButtonUp();
    mouse.setWheel(0);
    for (int code = 0; code < 256; code++) keys.down[code] = keys.previous[code] = replay.isKeyHeld(code) ? 1 : 0;
    perfFrequency = replay.frequency;
    perfCounterNow = 0;
    frameTime = 0.0;
    game.lastCounter = 0;
    game.raceClock.reset();
    return true;
}

// One recorded message, as the window procedure hands it on: only what a replay can carry.
static void deliver(const ReplayMessage& m) {
    int code = m.wParam < 256 ? (int)m.wParam : -1;
    switch (m.message) {
    case WM_KEYDOWN:
        keys.keyDown(code);
        break;
    case WM_KEYUP:
        keys.keyUp(code);
        break;
    case WM_LBUTTONDOWN:
        mouse.leftButtonDown();
        break;
    case WM_LBUTTONUP:
        mouse.leftButtonUp();
        break;
    case WM_RBUTTONDOWN:
        mouse.rightButtonDown();
        break;
    case WM_RBUTTONUP:
        mouse.rightButtonUp();
        break;
    case WM_MBUTTONDOWN:
        mouse.middleButtonDown();
        break;
    case WM_MBUTTONUP:
        mouse.middleButtonUp();
        break;
    case WM_MOUSEWHEEL:
        mouse.setWheel((int16_t)((m.wParam >> 16) & 0xFFFF) > 0 ? 1 : -1);
        break;
    default:
        break;
    }
}

static bool samePose(const TruckPose& p, const Truck& t) {
    TruckPose now = {t.getX(), t.getY(), t.cabHeading, t.trailerHeading, t.steerAngle};
    return memcmp(&p, &now, sizeof now) == 0;
}

void driveReplayFrames(Game& game, const Replay& replay, ScriptedPlatform& clock, int from, int to, ReplayDrive* drive,
                       ScreenOverRace* over) {
    if (from < 0) from = 0;
    if (to > replay.frameCount) to = replay.frameCount;
    for (int i = from; i < to; i++) {
        const ReplayFrame& f = replay.frames[i];
        for (int m = 0; m < f.messageCount; m++) deliver(replay.messages[f.firstMessage + m]);
        clock.counter += f.counterDelta;
        runGameFrame(game, nullptr, false, over);
        // Anything the frame asked of the desktop (Escape's quit) is not this run's business.
        WindowMessage dropped;
        while (clock.peekMessage(dropped)) {}
        if (!drive) continue;
        drive->framesRun++;
        const Truck& t = game.trucks[0];
        bool same = samePose(f.pose, t) && (replay.setup.humans < 2 || samePose(f.second, game.trucks[1]));
        if (!same && drive->firstDifference < 0) {
            drive->firstDifference = i;
            drive->reproduced = false;
        }
        if (!game.waitingForStart || game.raceOver)
            drive->splits.note(checkpointProgress(t, game.tracks[game.currentTrack]),
                               (float)game.raceClock.elapsedSeconds());
        const Player* user = game.players[0];
        if (!drive->finished && user && user->isFinished()) {
            drive->finished = true;
            drive->raceSeconds = user->getTime();
            drive->bestLapSeconds = t.getBestLapTime();
        }
    }
}

bool driveWholeReplay(Game& game, const Replay& replay, const Course* course, ReplayDrive& drive) {
    drive.reproduced = true;
    drive.firstDifference = -1;
    drive.framesRun = 0;
    drive.finished = false;
    drive.raceSeconds = drive.bestLapSeconds = 0.0f;
    drive.splits.begin(0);
    // What the game on screen relies on, put back as it was.
    Platform* desktop = &platform();
    Keys savedKeys = keys;
    Mouse savedMouse = mouse;
    double savedFrameTime = frameTime;
    int64_t savedNow = perfCounterNow, savedFrequency = perfFrequency;
    ScriptedPlatform clock;
    clock.frequency = replay.frequency;
    clock.counter = 0;
    setPlatform(&clock);
    bool ready = setUpForReplay(game, replay, course);
    // A quick race's countdown and pause menu are part of what it recorded.
    QuickRaceReplay* countdown = replay.setup.countdown ? new QuickRaceReplay() : nullptr;
    if (ready) driveReplayFrames(game, replay, clock, 0, replay.frameCount, &drive, countdown);
    if (countdown) countdown->quick.stop(game);
    delete countdown;
    setPlatform(desktop);
    keys = savedKeys;
    mouse = savedMouse;
    frameTime = savedFrameTime;
    perfCounterNow = savedNow;
    perfFrequency = savedFrequency;
    if (!ready) drive.reproduced = false;
    return ready;
}
