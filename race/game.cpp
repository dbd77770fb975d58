#include "race/game.h"

#include <GL/gl.h>

#include "app/input.h"
#include "app/platform.h"
#include "graphics/text.h"

Game::Game()
    : lastCounter(0), truckCount(maxTrucks), playerCount(maxTrucks), currentTrack(0), positionOrder{0, 1, 2, 3, 4},
      waitingForStart(true), raceOver(false), lapsToRace(6), showFrameRate(1.0f), showInfo(0.0f) {
    // No time computation may divide by zero before load reads the real frequency.
    perfFrequency = 1;
}

Game::~Game() {
    // The players are deleted here, through their virtual destructors.
}

void Game::load() {
    // The text font is loaded here, first.
    perfFrequency = platform().queryPerformanceFrequency();
    if (perfFrequency <= 0) perfFrequency = 1;
    // The truck pictures are loaded here.

    // The state all later drawing starts from: textured, both faces, later drawing on top.
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);

    // The players, the truck textures, the tracks and the first resetRace follow here.
}

void Game::updateTimer() {
    perfCounterNow = platform().queryPerformanceCounter();
    frameTime = (double)(perfCounterNow - lastCounter) / (double)perfFrequency;
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
    updateTimer();
    handleInput();
    // The sub-steps see their own length in frameTime; everything after them the frame's.
    double fullFrame = frameTime;
    int n = chooseSubSteps(frameTime);
    for (int i = 0; i < n; i++) subStep();
    frameTime = fullFrame;
}

void Game::subStep() {
    // ---- One sub-step of the world, in this order: ----
    // physics.beginStep();
    // if (!waitingForStart || raceOver): each unfinished player's control() and setTime(raceClock);
    // trucks[0..truckCount-1].update();
    // updatePositions();
    // if trucks[0] has done lapsToRace laps: raceOver = true, waitingForStart = true;
    // physics.endStep();
}

void Game::handleInput() {
    handleKeys();
    handleMouse();
}

void Game::handleKeys() {
    // Tested in this order, every frame. Escape also ends the main loop after this frame.
    if (keys.isDown(VK_ESCAPE)) platform().postQuitMessage(0);
    if (keys.isDown('T')) consoleClear();
    if (keys.isDown('A')) camera.zoomBy((float)frameTime);
    if (keys.isDown('Z')) camera.zoomBy((float)-frameTime);
    if (keys.wasPressed('F')) showFrameRate = showFrameRate == 0.0f ? 1.0f : 0.0f;
    if (keys.wasPressed('I')) showInfo = showInfo == 0.0f ? 1.0f : 0.0f;
    if (keys.isDown(VK_SPACE) && waitingForStart) startRace();
}

void Game::startRace() {
    waitingForStart = false;
    raceClock.reset();
    // Each truck's lap timer is reset here, so the first lap is timed from the start.
    if (raceOver) {
        // From the results screen: the next track (wrapping to 0 after the last), then
        // resetRace(), which puts the trucks on its grid and clears raceOver.
    }
}

void Game::handleMouse() {
    // Dragging up the screen (a negative deltaY) enlarges the view.
    if (mouse.rightDown) camera.zoomBy(-mouse.deltaY() / 500);
}

void Game::draw() {
    glClear(GL_COLOR_BUFFER_BIT);
    glPushMatrix();
    // camera.setPosition(trucks[0]) and camera.apply(), then the current track and the trucks
    // in index order are drawn here.
    glPopMatrix();
    // The overlay follows: the title or results panel with the start prompt while waiting,
    // the heads-up display while racing.
}
