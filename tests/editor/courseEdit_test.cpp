// The editing model: drags lay and erase road, the tiles are picked from each cell's neighbours,
// the finish line is placed and turned, the loop is checked at every change (saying where it is
// broken), and undo steps back through the changes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/courseEdit.h"

namespace {

struct Stroke {
    bool lay;
    std::vector<TileCoord> samples;  // the pointer's cells as the frames saw them
};

void apply(CourseEdit& edit, const Stroke& s) {
    edit.beginStroke(s.samples[0], s.lay);
    for (size_t i = 1; i < s.samples.size(); i++) edit.strokeTo(s.samples[i]);
    edit.endStroke();
}

// The grid as the editor shows it, top row first: . ground, - and | straights by the sides they
// join, r l t k the corners joining bottom-right, left-bottom, top-left and right-top, F and f the
// finish line driven left to right and right to left.
std::string picture(const CourseEdit& edit) {
    std::string rows;
    for (int y = trackGridSize - 1; y >= 0; y--) {
        for (int x = 0; x < trackGridSize; x++) {
            int type = edit.tileAt(x, y);
            int sides = roadSides(type);
            char c = '?';
            if (type == groundTile) c = '.';
            else if (type == finishLineL2R) c = 'F';
            else if (type == finishLineR2L) c = 'f';
            else if (sides == (sideLeft | sideRight)) c = '-';
            else if (sides == (sideTop | sideBottom)) c = '|';
            else if (sides == (sideBottom | sideRight)) c = 'r';
            else if (sides == (sideLeft | sideBottom)) c = 'l';
            else if (sides == (sideTop | sideLeft)) c = 't';
            else if (sides == (sideRight | sideTop)) c = 'k';
            rows += c;
        }
        if (y > 0) rows += '/';
    }
    return rows;
}

const std::string emptyRows = "......../......../......../......../......../......../......../........";

// A 5 x 3 rim along the top, drawn in one drag that samples only its corners.
const Stroke smallRim = {true, {{0, 7}, {4, 7}, {4, 5}, {0, 5}, {0, 7}}};
const std::string smallRimRows = "r--Fl.../|...|.../k---t.../......../......../......../......../........";

struct EditCase {
    const char* what;
    std::vector<Stroke> strokes;
    std::vector<TileCoord> finishes;  // F pressed on each in turn, after the strokes
    std::string rows;
    bool valid;
    ShapeFault fault;
    TileCoord at;  // where the fault is shown
    std::vector<Stroke> after = {};  // strokes after the finishes
};

TEST(CourseEdit, DragsLayTheTilesTheNeighboursCallFor) {
    const EditCase cases[] = {
        {"a rim drawn by its corners, the finish on its top", {smallRim}, {{3, 7}}, smallRimRows, true,
         ShapeFault::none, {0, 0}},
        {"the whole rim of the grid", {{true, {{0, 7}, {7, 7}, {7, 0}, {0, 0}, {0, 7}}}}, {{3, 7}},
         "r--F---l/|......|/|......|/|......|/|......|/|......|/|......|/k------t", true, ShapeFault::none, {0, 0}},
        {"a second F turns the line round", {smallRim}, {{1, 7}, {1, 7}},
         "rf--l.../|...|.../k---t.../......../......../......../......../........", true, ShapeFault::none, {0, 0}},
        {"a winding loop", {{true, {{0, 7}, {6, 7}, {6, 4}, {4, 4}, {4, 1}, {0, 1}, {0, 7}}}}, {{3, 7}},
         "r--F--l./|.....|./|.....|./|...r-t./|...|.../|...|.../k---t.../........", true, ShapeFault::none, {0, 0}},
        {"a line with no finish yet: its open end shown", {{true, {{1, 1}, {5, 1}}}}, {},
         "......../......../......../......../......../......../.-----../........", false, ShapeFault::openEnd,
         {1, 1}},
        {"a fast diagonal drag is filled in side by side", {{true, {{0, 0}, {3, 2}}}}, {},
         "......../......../......../......../......../..r-..../.rt...../-t......", false, ShapeFault::openEnd,
         {3, 2}},
        {"two rims sharing a side branch", {{true, {{0, 2}, {4, 2}, {4, 0}, {0, 0}, {0, 2}}}, {true, {{2, 2}, {2, 0}}}},
         {}, "......../......../......../......../......../r---l.../|.|.|.../k---t...", false, ShapeFault::branch,
         {2, 2}},
        {"a whole loop without a line", {smallRim}, {},
         "r---l.../|...|.../k---t.../......../......../......../......../........", false, ShapeFault::noFinish,
         {-1, -1}},
        {"the finish line on a corner", {smallRim}, {{0, 7}},
         "F---l.../|...|.../k---t.../......../......../......../......../........", false,
         ShapeFault::finishOnCorner, {0, 7}},
        {"the finish line across an upright road", {{true, {{0, 0}, {0, 4}, {2, 4}, {2, 0}, {0, 0}}}}, {{0, 2}},
         "......../......../......../r-l...../|.|...../F.|...../|.|...../k-t.....", false,
         ShapeFault::finishUpright, {0, 2}},
        {"the line too close after a bend for the grid", {smallRim}, {{1, 7}},
         "rF--l.../|...|.../k---t.../......../......../......../......../........", false, ShapeFault::missesGrid,
         {0, 7}},
        {"an erased cell opens the loop", {smallRim, {false, {{2, 5}}}}, {{3, 7}},
         "r--Fl.../|...|.../k-.-t.../......../......../......../......../........", false, ShapeFault::openEnd,
         {1, 5}},
        {"erasing the line's cell takes the line", {smallRim}, {{3, 7}},
         "r---l.../|...|.../k---t.../......../......../......../......../........", false, ShapeFault::noFinish,
         {-1, -1}, {{false, {{3, 7}}}, {true, {{3, 7}}}}},
        {"a drag off the grid lays nothing", {{true, {{-1, 3}, {-1, 5}}}}, {}, emptyRows, false,
         ShapeFault::noFinish, {-1, -1}},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.what);
        CourseEdit edit;
        for (const Stroke& s : c.strokes) apply(edit, s);
        for (TileCoord f : c.finishes) edit.placeFinish(f);
        for (const Stroke& s : c.after) apply(edit, s);
        EXPECT_EQ(picture(edit), c.rows);
        EXPECT_EQ(edit.valid(), c.valid) << edit.report().message;
        EXPECT_EQ(edit.report().fault, c.fault) << edit.report().message;
        if (!c.valid) {
            EXPECT_EQ(edit.report().at.x, c.at.x);
            EXPECT_EQ(edit.report().at.y, c.at.y);
            EXPECT_NE(edit.report().message[0], '\0');
        } else {
            // The laid course is the one shown, with its checkpoints from the line on.
            EXPECT_GE(edit.course().checkpointCount, 2);
            EXPECT_EQ(edit.course().checkpoints[0].x, edit.finishCell().x);
        }
    }
}

// The state a player sees: the picture and whether the loop is whole.
std::string seen(const CourseEdit& edit) { return picture(edit) + (edit.valid() ? " valid" : " broken"); }

TEST(CourseEdit, UndoStepsBackThroughEachChange) {
    CourseEdit edit;
    std::vector<std::string> states = {seen(edit)};
    struct Step {
        const char* what;
        void (*act)(CourseEdit&);
        bool changes;
    };
    const Step steps[] = {
        {"lay a rim", [](CourseEdit& e) { apply(e, smallRim); }, true},
        {"lay on road already there", [](CourseEdit& e) { apply(e, {true, {{0, 7}, {2, 7}}}); }, false},
        {"place the line", [](CourseEdit& e) { e.placeFinish({3, 7}); }, true},
        {"turn the line", [](CourseEdit& e) { e.placeFinish({3, 7}); }, true},
        {"erase along the bottom", [](CourseEdit& e) { apply(e, {false, {{1, 5}, {3, 5}}}); }, true},
        {"erase where there is no road", [](CourseEdit& e) { apply(e, {false, {{6, 0}}}); }, false},
        {"clear", [](CourseEdit& e) { e.clear(); }, true},
        {"clear an empty grid", [](CourseEdit& e) { e.clear(); }, false},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        int before = edit.undoCount();
        s.act(edit);
        EXPECT_EQ(edit.undoCount(), before + (s.changes ? 1 : 0));
        if (s.changes) states.push_back(seen(edit));
    }
    // Each undo gives back the state before its change, the line's direction included.
    for (size_t i = states.size() - 1; i > 0; i--) {
        ASSERT_TRUE(edit.undo());
        EXPECT_EQ(seen(edit), states[i - 1]) << "undo back to state " << i - 1;
    }
    EXPECT_FALSE(edit.undo());
    EXPECT_EQ(seen(edit), states[0]);
}

TEST(CourseEdit, UndoKeepsTheLatestChangesWhenItsStackIsFull) {
    CourseEdit edit;
    // Changes alternately laying and erasing one cell; past the stack's depth the oldest go.
    const int changes = editUndoDepth + 6;
    for (int i = 0; i < changes; i++) apply(edit, {i % 2 == 0, {{4, 4}}});
    EXPECT_EQ(edit.undoCount(), editUndoDepth);
    int undone = 0;
    while (edit.undo()) undone++;
    EXPECT_EQ(undone, editUndoDepth);
    // The oldest kept change was change 6 (a lay): before it, the cell was bare.
    EXPECT_FALSE(edit.roadAt(4, 4));
}

}  // namespace
