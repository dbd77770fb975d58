#include "editor/courseEdit.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "track/courses.h"

static bool onGrid(TileCoord c) { return c.x >= 0 && c.x < trackGridSize && c.y >= 0 && c.y < trackGridSize; }

int tileForNeighbours(int sides) {
    int count = 0;
    for (int bit = 1; bit <= sideLeft; bit <<= 1) count += (sides & bit) ? 1 : 0;
    // One neighbour: the straight pointing at it; none, or more than two: a straight through a pair.
    const int across = sideLeft | sideRight, upDown = sideTop | sideBottom;
    if (count == 1)
        sides = (sides & across) ? across : upDown;
    else if (count != 2)
        sides = count == 0 || (sides & across) == across ? across : upDown;
    // The first palette tile whose road joins those sides.
    for (int type = 1; type < courseTileCount; type++)
        if (roadSides(type) == sides) return type;
    return groundTile;
}

CourseEdit::CourseEdit()
    : road{}, finish{0, 0}, finishPlaced(false), leftToRight(true), inStroke(false), strokeLays(true),
      strokeChanged(false), beforeStroke{}, lastCell{0, 0}, undoStack{}, undoDepth(0), isValid(false), shape{} {
    relay();
}

CourseEdit::Snapshot CourseEdit::current() const {
    Snapshot s;
    memcpy(s.road, road, sizeof road);
    s.finish = finish;
    s.finishPlaced = finishPlaced;
    s.leftToRight = leftToRight;
    return s;
}

void CourseEdit::restore(const Snapshot& s) {
    memcpy(road, s.road, sizeof road);
    finish = s.finish;
    finishPlaced = s.finishPlaced;
    leftToRight = s.leftToRight;
    relay();
}

void CourseEdit::remember(const Snapshot& s) {
    if (undoDepth == editUndoDepth) {
        memmove(undoStack, undoStack + 1, sizeof undoStack[0] * (editUndoDepth - 1));
        undoDepth--;
    }
    undoStack[undoDepth++] = s;
}

bool CourseEdit::roadAt(int x, int y) const { return onGrid(TileCoord{x, y}) && road[y][x]; }

void CourseEdit::setRoad(TileCoord cell, bool on) {
    if (!onGrid(cell) || road[cell.y][cell.x] == on) return;
    road[cell.y][cell.x] = on;
    // Road taken from under the finish line takes the line too.
    if (!on && finishPlaced && finish.x == cell.x && finish.y == cell.y) finishPlaced = false;
    strokeChanged = true;
}

void CourseEdit::beginStroke(TileCoord cell, bool laying) {
    if (inStroke) endStroke();
    inStroke = true;
    strokeLays = laying;
    strokeChanged = false;
    beforeStroke = current();
    lastCell = cell;
    setRoad(cell, laying);
    relay();
}

void CourseEdit::strokeTo(TileCoord cell) {
    if (!inStroke) return;
    // Step by step, one side at a time, so a fast drag that skipped cells leaves no gap and the
    // road it lays is joined side to side.
    int dx = cell.x - lastCell.x, dy = cell.y - lastCell.y;
    int steps = abs(dx) + abs(dy);
    TileCoord at = lastCell;
    for (int i = 1; i <= steps; i++) {
        // The axis further behind the straight line from lastCell to cell moves next.
        bool moveX = abs(at.x - lastCell.x) * abs(dy) <= abs(at.y - lastCell.y) * abs(dx) && at.x != cell.x;
        if (moveX || at.y == cell.y)
            at.x += dx > 0 ? 1 : -1;
        else
            at.y += dy > 0 ? 1 : -1;
        setRoad(at, strokeLays);
    }
    lastCell = cell;
    relay();
}

void CourseEdit::endStroke() {
    if (!inStroke) return;
    inStroke = false;
    if (strokeChanged) remember(beforeStroke);
}

void CourseEdit::placeFinish(TileCoord cell) {
    if (!onGrid(cell)) return;
    endStroke();
    remember(current());
    if (finishPlaced && finish.x == cell.x && finish.y == cell.y) {
        leftToRight = !leftToRight;
    } else {
        finish = cell;
        finishPlaced = true;
        leftToRight = true;
        road[cell.y][cell.x] = true;
    }
    relay();
}

void CourseEdit::clear() {
    endStroke();
    Snapshot before = current();
    bool any = finishPlaced;
    for (int y = 0; y < trackGridSize; y++)
        for (int x = 0; x < trackGridSize; x++) any = any || road[y][x];
    if (!any) return;
    remember(before);
    memset(road, 0, sizeof road);
    finishPlaced = false;
    relay();
}

bool CourseEdit::undo() {
    endStroke();
    if (undoDepth == 0) return false;
    restore(undoStack[--undoDepth]);
    return true;
}

int CourseEdit::tileAt(int x, int y) const {
    if (!roadAt(x, y)) return groundTile;
    if (isValid) return laid.tileAt(x, y);
    if (finishPlaced && finish.x == x && finish.y == y) return leftToRight ? finishLineL2R : finishLineR2L;
    int sides = 0;
    if (roadAt(x, y + 1)) sides |= sideTop;
    if (roadAt(x + 1, y)) sides |= sideRight;
    if (roadAt(x, y - 1)) sides |= sideBottom;
    if (roadAt(x - 1, y)) sides |= sideLeft;
    return tileForNeighbours(sides);
}

void CourseEdit::relay() {
    Course c;
    shape = ShapeReport{};
    if (finishPlaced) {
        isValid = layRoad(road, finish, leftToRight, c, shape);
        if (isValid) laid = c;
        return;
    }
    isValid = false;
    // No line yet: the road's ends and branches still show while the loop is being drawn, in
    // the order (and words) the laying finds them once there is a line.
    for (int y = trackGridSize - 1; y >= 0; y--)
        for (int x = 0; x < trackGridSize; x++) {
            if (!road[y][x]) continue;
            int count = roadAt(x, y + 1) + roadAt(x + 1, y) + roadAt(x, y - 1) + roadAt(x - 1, y);
            if (count == 2) continue;
            shape.fault = count < 2 ? ShapeFault::openEnd : ShapeFault::branch;
            shape.at = TileCoord{x, y};
            snprintf(shape.message, sizeof shape.message,
                     count < 2 ? "the road at (%d, %d) ends there" : "the road branches at (%d, %d)", x, y);
            return;
        }
    shape = ShapeReport{};
    shape.fault = ShapeFault::noFinish;
    shape.at = TileCoord{-1, -1};
    snprintf(shape.message, sizeof shape.message, "no finish line: point at a left-right straight and press F");
}
