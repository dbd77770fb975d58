#pragma once
// The course editor as a screen of the game: the 8 x 8 grid drawn with the course's own tiles,
// road laid and erased by dragging the mouse, the finish line placed by a key, the loop checked
// at every change, undo, saving under a typed name, and the request to test-drive the course.
// It reads the game's key and mouse state; the shell decides what its requests lead to.
#include <cstddef>

#include "editor/courseEdit.h"
#include "editor/courseSave.h"

class Keys;
class Mouse;
class TrackTileSet;

// What the editor asks of the shell after a frame.
enum class EditorRequest { none, testDrive, leave };

// The grid on screen (picture pixels, origin bottom-left).
const int editorGridLeft = 16;
const int editorGridBottom = 84;
const int editorCellPixels = 48;

class EditorScreen {
public:
    EditorScreen();

    // The shell hands the screen the frames from now on (from the title or back from a drive):
    // an Escape still held from before is not taken as one meant here.
    void enter();
    // Once a frame: the mouse's drags and the keys.
    EditorRequest update(const Keys& keys, const Mouse& mouse);
    // The whole screen, with the tiles' pictures.
    void draw(const TrackTileSet& tiles) const;

    // The grid cell under a picture point; false off the grid.
    static bool cellAt(int x, int y, TileCoord& cell);

    // The course to drive or save; meaningful while edit.valid().
    Course course() const;

    CourseEdit edit;
    bool naming;                        // typing the name to save under
    char name[maxSaveNameChars + 1];
    char note[courseNameSize + 128];    // the last action's outcome, until the next
    bool noteGood;
    char savedPath[1024];               // the last file saved, empty before

private:
    void handleMouse(const Mouse& mouse);
    // Letters, digits, - and _ typed into the name; Enter saves, Escape gives up.
    void handleNaming(const Keys& keys);
    void save();
    void setNote(bool good, const char* text);
    void drawStatus() const;
    void drawKeys() const;

    bool escapeArmed;   // Escape went down while this screen had it up
    bool escapeSeenUp;  // since enter
    int strokeButton;   // 0 none, 1 left (lays), 2 right (erases)
    TileCoord pointer;
    bool pointerOnGrid;
};
