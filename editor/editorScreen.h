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
    // an Escape still held from before is not taken as one meant here. Leaving asks the shell
    // to keep the Escape that left from the title (which quits on it) until it is let go.
    void enter();
    // Mouse events as they come, in picture pixels (origin bottom-left): every point of a drag
    // counts, however far apart the frames. The left button lays road, the right one erases.
    void pointerMoved(int x, int y);
    void buttonDown(bool left, int x, int y);
    void buttonUp(bool left, int x, int y);
    // Once a frame: the keys (F acts where the last mouse event left the pointer).
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
    // A drag whose button was let go unseen (outside the window) ends when the frame sees it up.
    void checkStroke(const Mouse& mouse);
    // Letters, digits, - and _ typed into the name; Enter saves, Escape gives up.
    void handleNaming(const Keys& keys);
    void save();
    void setNote(bool good, const char* text);
    void drawStatus() const;
    void drawKeys() const;

    bool escapeSeenUp;  // since enter, or since the last press it took
    int strokeButton;   // 0 none, 1 left (lays), 2 right (erases)
    TileCoord pointer;
    bool pointerOnGrid;
};
