#include "app/screenSwitch.h"

#include <GL/gl.h>

#include <cstdio>

#include "app/glWindow.h"
#include "app/mainLoop.h"
#include "app/soundDevice.h"
#include "core/input.h"
#include "race/game.h"
#include "race/gameFrame.h"

// The picture's top row, 480 rows high, as the mouse state counts it.
static const int pictureLastRow = 479;

ScreenSwitch::ScreenSwitch(Game& g) : game(g), showing(race), holdingEscape(false) {}
ScreenSwitch::~ScreenSwitch() {}

bool ScreenSwitch::onTitle() const {
    return game.waitingForStart && !game.raceOver && game.replayShow == Game::noReplay && !game.help.isOpen();
}

void ScreenSwitch::openEditor() {
    showing = editor;
    editorScreen.enter();
}

bool ScreenSwitch::frame(void (*swapBuffers)(), bool draw) {
    if (showing == race) {
        // Neither the loop nor the title may see it: both quit on Escape.
        if (holdingEscape) keys.keyUp(VK_ESCAPE);
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

void ScreenSwitch::message(const WindowMessage& msg) {
    unsigned m = msg.message;
    if (m == WM_KEYUP && msg.wParam == VK_ESCAPE) holdingEscape = false;
    if (showing != editor) return;
    if (m != WM_MOUSEMOVE && m != WM_LBUTTONDOWN && m != WM_LBUTTONUP && m != WM_RBUTTONDOWN && m != WM_RBUTTONUP)
        return;
    // The event's place in the window (x low, y high word) in picture pixels, y turned upward.
    int x = (int)(int16_t)(msg.lParam & 0xFFFF), y = (int)(int16_t)((msg.lParam >> 16) & 0xFFFF);
    glWindow.windowPointToPicture(x, y);
    y = pictureLastRow - y;
    if (m == WM_MOUSEMOVE) editorScreen.pointerMoved(x, y);
    if (m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN) editorScreen.buttonDown(m == WM_LBUTTONDOWN, x, y);
    if (m == WM_LBUTTONUP || m == WM_RBUTTONUP) editorScreen.buttonUp(m == WM_LBUTTONUP, x, y);
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
    typingText = editorScreen.naming;
    if (request == EditorRequest::leave) {
        showing = race;
        holdingEscape = keys.isDown(VK_ESCAPE);
    }
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
    // The clocks have stood still while the editor had the frames: the race starts from now.
    driveGame->updateTimer();
    driveGame->startRace();
    showing = testDrive;
}
