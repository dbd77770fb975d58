#include "editor/editorScreen.h"

#include <cstdio>
#include <cstring>

#include "core/input.h"

EditorScreen::EditorScreen()
    : naming(false), name{}, note{}, noteGood(true), savedPath{}, escapeSeenUp(false),
      strokeButton(0), pointer{0, 0}, pointerOnGrid(false) {}

void EditorScreen::enter() {
    escapeSeenUp = false;
    strokeButton = 0;
    edit.endStroke();
}

bool EditorScreen::cellAt(int x, int y, TileCoord& cell) {
    int dx = x - editorGridLeft, dy = y - editorGridBottom;
    if (dx < 0 || dy < 0) return false;
    cell = TileCoord{dx / editorCellPixels, dy / editorCellPixels};
    return cell.x < trackGridSize && cell.y < trackGridSize;
}

Course EditorScreen::course() const { return edit.course(); }

void EditorScreen::setNote(bool good, const char* text) {
    noteGood = good;
    snprintf(note, sizeof note, "%s", text);
}

EditorRequest EditorScreen::update(const Keys& keys, const Mouse& mouse) {
    // Escape counts only as a press this screen saw begin: one still held from the test drive
    // it ended is not also a request to leave.
    bool escapeDown = keys.isDown(VK_ESCAPE);
    bool escapePressed = escapeDown && escapeSeenUp;
    if (!escapeDown) escapeSeenUp = true;
    if (escapePressed) escapeSeenUp = false;

    if (naming) {
        if (escapePressed) {
            naming = false;
            setNote(true, "not saved");
            return EditorRequest::none;
        }
        handleNaming(keys);
        return EditorRequest::none;
    }
    if (escapePressed) {
        edit.endStroke();
        strokeButton = 0;
        return EditorRequest::leave;
    }
    checkStroke(mouse);

    bool control = keys.isDown(VK_CONTROL);
    if (keys.wasPressed('U') || (control && keys.wasPressed('Z'))) {
        if (!edit.undo()) setNote(true, "nothing to undo");
    }
    if (keys.wasPressed('F')) {
        if (pointerOnGrid)
            edit.placeFinish(pointer);
        else
            setNote(false, "point at a cell of the grid and press F");
    }
    if (keys.wasPressed('C')) edit.clear();
    if (keys.wasPressed('S')) {
        if (edit.valid()) {
            naming = true;
            setNote(true, "");
            // The S that opened the name is not its first letter: typing starts next frame.
            return EditorRequest::none;
        }
        setNote(false, "only a whole loop can be saved");
    }
    if (keys.wasPressed('D')) {
        if (edit.valid()) {
            setNote(true, "");
            edit.endStroke();
            strokeButton = 0;
            return EditorRequest::testDrive;
        }
        setNote(false, "only a whole loop can be driven");
    }
    return EditorRequest::none;
}

void EditorScreen::pointerMoved(int x, int y) {
    pointerOnGrid = cellAt(x, y, pointer);
    if (strokeButton != 0 && pointerOnGrid) edit.strokeTo(pointer);
}

void EditorScreen::buttonDown(bool left, int x, int y) {
    pointerMoved(x, y);
    if (naming || strokeButton != 0 || !pointerOnGrid) return;
    strokeButton = left ? 1 : 2;
    edit.beginStroke(pointer, left);
}

void EditorScreen::buttonUp(bool left, int x, int y) {
    pointerMoved(x, y);
    if (strokeButton != (left ? 1 : 2)) return;
    edit.endStroke();
    strokeButton = 0;
}

void EditorScreen::checkStroke(const Mouse& mouse) {
    if (strokeButton == 0) return;
    bool held = strokeButton == 1 ? mouse.leftDown : mouse.rightDown;
    if (held) return;
    edit.endStroke();
    strokeButton = 0;
}

void EditorScreen::handleNaming(const Keys& keys) {
    size_t length = strlen(name);
    bool shift = keys.isDown(VK_SHIFT);
    for (int code = 0; code < 256; code++) {
        if (!keys.wasPressed(code)) continue;
        char typed = 0;
        if (code >= 'A' && code <= 'Z') typed = shift ? (char)code : (char)(code - 'A' + 'a');
        if (code >= '0' && code <= '9') typed = (char)code;
        if (code == VK_OEM_MINUS) typed = shift ? '_' : '-';
        if (typed && length < (size_t)maxSaveNameChars) {
            name[length++] = typed;
            name[length] = '\0';
        }
        if (code == VK_BACK && length > 0) name[--length] = '\0';
    }
    if (keys.wasPressed(VK_RETURN)) save();
}

void EditorScreen::save() {
    char folder[1024], message[sizeof note];
    if (!userCourseFolder(folder, sizeof folder)) {
        setNote(false, "no home folder to save in");
        naming = false;
        return;
    }
    bool saved = saveCourseAs(edit.course(), name, folder, savedPath, sizeof savedPath, message, sizeof message);
    if (!saved) savedPath[0] = '\0';
    setNote(saved, message);
    // A name that is not allowed leaves the player typing, to mend it.
    if (saved || saveNameAllowed(name)) naming = false;
}
