#include "core/input.h"

#include <cstring>

#include "core/platform.h"

Keys keys;
Mouse mouse;

Keys::Keys() {
    memset(down, 0, sizeof down);
    memset(previous, 0, sizeof previous);
}
Keys::~Keys() {}

void Keys::endFrame() { memcpy(previous, down, sizeof down); }

Mouse::Mouse()
    : x(0), y(0), previousX(0), previousY(0), leftDown(false), leftPressed(false), leftReleased(false),
      rightDown(false), rightPressed(false), rightReleased(false), middleDown(false), middlePressed(false),
      middleReleased(false), wheel(0), ownCursor(0), cursorVisible(true), cursorTexture(nullptr) {}
Mouse::~Mouse() {}

void Mouse::update() {
    leftPressed = rightPressed = false;
    leftReleased = rightReleased = false;
    middleReleased = middlePressed = false;
    wheel = 0;
    int screenX = 0, screenY = 0;
    platform().getCursorPos(screenX, screenY);
    previousX = x;
    previousY = y;
    x = screenX;
    y = 479 - screenY;  // 479 is the last pixel row of the 480-row screen
}

void Mouse::setOwnCursor(int on) {
    platform().showCursor(ownCursor != 0);
    ownCursor = on;
}

void Mouse::showCursor() {
    if (ownCursor == 0) platform().showCursor(true);
    cursorVisible = true;
}

void Mouse::hideCursor() {
    if (ownCursor == 0) platform().showCursor(false);
    cursorVisible = false;
}
