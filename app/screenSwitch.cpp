#include "app/screenSwitch.h"

#include <GL/gl.h>

#include <cstdio>

#include "app/soundDevice.h"
#include "core/input.h"
#include "race/game.h"
#include "race/gameFrame.h"

ScreenSwitch::ScreenSwitch(Game& g) : game(g), showing(race) {}
ScreenSwitch::~ScreenSwitch() {}

bool ScreenSwitch::onTitle() const {
    return game.waitingForStart && !game.raceOver && game.replayShow == Game::noReplay && !game.help.isOpen();
}

bool ScreenSwitch::frame(void (*swapBuffers)(), bool draw) {
    if (showing == race) {
        if (!(onTitle() && keys.wasPressed('E'))) return false;
        showing = editor;
        editorScreen.enter();
    }
    if (showing == testDrive) {
        // Escape ends the drive before the driven game sees it (it would quit); while the help
        // is open there, Escape is the help's.
        if (!keys.isDown(VK_ESCAPE) || driveGame->help.takesEscape()) {
            runGameFrame(*driveGame, swapBuffers, draw);
            listenToRace(*driveGame);
            return true;
        }
        showing = editor;
        editorScreen.enter();
    }
    editorFrame(swapBuffers, draw);
    return true;
}

void ScreenSwitch::editorFrame(void (*swapBuffers)(), bool draw) {
    // The race frame's steps: the mouse first, the keys rolled over last.
    mouse.update();
    EditorRequest request = editorScreen.update(keys, mouse);
    if (draw) {
        editorScreen.draw(game.tileSet);
        mouse.drawCursor();
        glFlush();
        if (swapBuffers) swapBuffers();
    }
    keys.endFrame();
    if (request == EditorRequest::leave) showing = race;
    if (request == EditorRequest::testDrive) startTestDrive();
}

void ScreenSwitch::startTestDrive() {
    if (!driveGame) {
        driveGame.reset(new Game());
        driveGame->load();
    }
    Course course = editorScreen.course();
    snprintf(course.name, sizeof course.name, "test drive");
    // Both slots: the results screen's Space drives the course again rather than another.
    driveGame->currentTrack = 0;
    if (!driveGame->useCourse(0, course) || !driveGame->useCourse(1, course)) return;
    driveGame->paused = false;
    driveGame->waitingForStart = true;
    driveGame->resetRace();
    driveGame->startRace();
    showing = testDrive;
}
