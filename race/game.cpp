#include "race/game.h"

#include <GL/gl.h>

#include "core/input.h"
#include "core/platform.h"
#include "graphics/text.h"
#include "race/player.h"

Game::Game()
    : lastCounter(0), truckCount(maxTrucks), players{}, playerCount(maxTrucks), trackCount(0),
      currentTrack(0), positionOrder{0, 1, 2, 3, 4}, waitingForStart(true), raceOver(false), lapsToRace(classicLaps),
      showFrameRate(1.0f), showInfo(0.0f), finishOrder{}, finishedCount(0), retired{}, paused(false) {
    // No time computation may divide by zero before load reads the real frequency.
    perfFrequency = 1;
}

Game::~Game() {
    for (int i = 0; i < maxTrucks; i++) {
        delete players[i];
        players[i] = nullptr;
    }
    delete benched;
}

void Game::updateTimer() {
    perfCounterNow = platform().queryPerformanceCounter();
    frameTime = (double)(perfCounterNow - lastCounter) / (double)perfFrequency;
    history.noteCounterDelta(perfCounterNow - lastCounter);
    lastCounter = perfCounterNow;
    frameRate.update(lastCounter, perfFrequency);
    frameTime = frameTime * gameTimeScale;
    if (frameTime > maxFrameTime) frameTime = maxFrameTime;
    // A counter that stepped back must not run the world backwards.
    if (!(frameTime >= 0.0)) frameTime = 0.0;
}

int Game::chooseSubSteps(double& time) {
    if (!(time > subStepLength)) return 1;
    double wanted = time / subStepLength + 1;
    int n = wanted < maxSubSteps ? (int)wanted : maxSubSteps;
    time = time / n;
    return n;
}

void Game::update() {
    int64_t previousCounter = lastCounter;
    updateTimer();
    handleInput();
    if (paused || held) {
        holdClocks(lastCounter - previousCounter);
    } else {
        // The sub-steps see their own length in frameTime; everything after them the frame's.
        double fullFrame = frameTime;
        int n = chooseSubSteps(frameTime);
        for (int i = 0; i < n; i++) subStep();
        frameTime = fullFrame;
        for (int h = 0; h < humanCount && h < maxHumans; h++) watchCheckpoints(h);
        watchRecover();
    }
    // Paused frames too: a replay must see the P that pauses and the one that resumes each in
    // its own frame.
    history.frameEnded(*this);
}

void Game::subStep() {
    physics.beginStep();
    coastRetired();
    // On the results screen the computer players still racing drive on to their finish.
    if (!waitingForStart || raceOver) {
        float now = (float)raceClock.elapsedSeconds();
        for (int i = 0; i < playersInUse(); i++) {
            Player* p = players[i];
            if (!p || p->isFinished()) continue;
            p->control();
            // A truck waiting to be recovered no longer answers its driver.
            if (i < maxHumans && isHuman(i) && recovery[i].at >= 0.0) trucks[i].steerTarget = trucks[i].powerTarget = 0.0f;
            // Also after finishing inside control: this last time is the finish time.
            p->setTime(now);
        }
    }
    for (int i = 0; i < trucksInUse(); i++) trucks[i].update();
    updatePositions();
    // Only the humans' trucks end the race.
    if (humansFinished()) {
        raceOver = true;
        waitingForStart = true;
    }
    physics.endStep();
    retireFinishers();
}

void Game::updatePositions() {
    float score[maxTrucks];
    for (int k = 0; k < maxTrucks; k++) {
        const Truck& t = trucks[positionOrder[k]];
        score[k] = (float)t.getLapCount() + 0.01f * (float)t.getLastCheckpoint();
        // A truck left out of the race (fewer rivals) ranks behind everyone, whatever it last did.
        if (positionOrder[k] >= trucksInUse()) score[k] = -1.0f;
    }
    // Bubble sort: only a strictly higher score moves up, so ties keep the last ranking.
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (int k = 1; k < maxTrucks; k++) {
            if (score[k] > score[k - 1]) {
                float s = score[k];
                score[k] = score[k - 1];
                score[k - 1] = s;
                int o = positionOrder[k];
                positionOrder[k] = positionOrder[k - 1];
                positionOrder[k - 1] = o;
                swapped = true;
            }
        }
    }
    holdFinishOrder();
    for (int k = 0; k < maxTrucks; k++) trucks[positionOrder[k]].setRacePosition(k + 1);
}

void Game::handleInput() {
    handleKeys();
    handleMouse();
}

void Game::handleKeys() {
    // While the help is open it has the keys, Escape among them.
    if (help.handleKeys(*this)) return;
    // Tested in this order, every frame. Escape also ends the main loop after this frame.
    if (keys.isDown(VK_ESCAPE) && !help.takesEscape()) platform().postQuitMessage(0);
    if (keys.isDown('T')) consoleClear();
    // In a two-player race A steers player two, so each view zooms on keys of its own half of
    // the keyboard instead: Page Up and Page Down player one's, Q and Z player two's.
    if (humanCount == 1) {
        if (keys.isDown('A')) views[0].camera.zoomBy((float)frameTime);
        if (keys.isDown('Z')) views[0].camera.zoomBy((float)-frameTime);
    } else {
        if (keys.isDown(VK_PRIOR)) views[0].camera.zoomBy((float)frameTime);
        if (keys.isDown(VK_NEXT)) views[0].camera.zoomBy((float)-frameTime);
        if (keys.isDown('Q')) views[1].camera.zoomBy((float)frameTime);
        if (keys.isDown('Z')) views[1].camera.zoomBy((float)-frameTime);
    }
    if (keys.wasPressed('F')) showFrameRate = showFrameRate == 0.0f ? 1.0f : 0.0f;
    if (keys.wasPressed('I')) showInfo = showInfo == 0.0f ? 1.0f : 0.0f;
    if (keys.isDown(VK_SPACE) && waitingForStart && !startHeld) startRace();
    if (keys.wasPressed('P')) togglePause();
    if (keys.wasPressed('G')) history.toggleGhost();
    if (keys.wasPressed('R')) requestRecover(0);
    if (keys.wasPressed(VK_PLAYER2_RECOVER)) requestRecover(1);
}

void Game::startRace() {
    waitingForStart = false;
    raceClock.reset();
    // So that the first lap is timed from the start.
    for (int i = 0; i < trucksInUse(); i++) trucks[i].resetLapTimer();
    if (raceOver) {
        // From the results screen: the next track, wrapping after the last one built. Fewer
        // built tracks than the array holds must not send the race to an unbuilt one.
        currentTrack++;
        if (currentTrack >= trackCount || currentTrack >= maxTracks) currentTrack = 0;
        resetRace();
    }
    history.raceStarted(*this);
}

void Game::handleMouse() {
    // Dragging up the screen (a negative deltaY) enlarges the view.
    if (mouse.rightDown) views[0].camera.zoomBy(-mouse.deltaY() / 500);
}
