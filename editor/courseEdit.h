#pragma once
// The course being edited, as the player lays it: which cells carry road, where the finish line
// is and which way it is driven. Every change lays the tiles again from the road's neighbours and
// says at once whether the road is a course, and where it is not. The last changes can be undone.
#include "track/course.h"
#include "track/courseShape.h"

// Changes that can be undone, oldest dropped first.
const int editUndoDepth = 64;

class CourseEdit {
public:
    CourseEdit();

    // One drag of the mouse: begin on a cell, then every cell the pointer reaches (the cells
    // between two samples are filled in, side by side), then end. Laying puts road down, erasing
    // takes it away. The whole drag is one change.
    void beginStroke(TileCoord cell, bool laying);
    void strokeTo(TileCoord cell);
    void endStroke();
    bool stroking() const { return inStroke; }

    // The finish line on the cell (road is laid there if there was none); on the finish line
    // itself, it turns it round.
    void placeFinish(TileCoord cell);
    // Takes every road tile away.
    void clear();
    // Goes back to before the last change; false when there is none.
    bool undo();
    int undoCount() const { return undoDepth; }

    bool roadAt(int x, int y) const;
    bool hasFinish() const { return finishPlaced; }
    TileCoord finishCell() const { return finish; }
    bool finishLeftToRight() const { return leftToRight; }

    // The tile shown at a cell: the laid course's when the road is a course, else a straight or
    // corner picked from the cell's road neighbours (ground for no road).
    int tileAt(int x, int y) const;
    // Whether the road is a course; the report says where it is not.
    bool valid() const { return isValid; }
    const ShapeReport& report() const { return shape; }
    // The course laid from the road (meaningful when valid), without a name.
    const Course& course() const { return laid; }

private:
    struct Snapshot {
        bool road[trackGridSize][trackGridSize];
        TileCoord finish;
        bool finishPlaced;
        bool leftToRight;
    };
    Snapshot current() const;
    void restore(const Snapshot& s);
    // Remembers the state before a change; the oldest is dropped when the stack is full.
    void remember(const Snapshot& s);
    void setRoad(TileCoord cell, bool on);
    // Lays the tiles from the road and checks it.
    void relay();

    bool road[trackGridSize][trackGridSize];  // [y][x], y up
    TileCoord finish;
    bool finishPlaced;
    bool leftToRight;

    bool inStroke;
    bool strokeLays;
    bool strokeChanged;
    Snapshot beforeStroke;
    TileCoord lastCell;

    Snapshot undoStack[editUndoDepth];
    int undoDepth;

    bool isValid;
    ShapeReport shape;
    Course laid;
};

// The road tile joining a cell's road neighbours (CellSide bits): the straight or corner for two,
// a straight through the one, a left-right straight for none; for three or four, a straight
// through two of them (the report says it branches).
int tileForNeighbours(int sides);
