// The editor screen driven as a player drives it, frame by frame through the key and mouse
// state: drags on the grid, F, undo, D, Escape (which must never reach the title while held),
// and saving under a typed name into the player's course folder, read back by the course reader.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/input.h"
#include "editor/editorScreen.h"
#include "tempFolder.h"
#include "track/courseFile.h"

namespace {

struct Player {
    EditorScreen screen;
    Keys keys;
    Mouse mouse;
    std::vector<EditorRequest> requests;

    // One frame: the screen reads the state, then the keys roll over as the loop's frame ends.
    EditorRequest frame() {
        EditorRequest r = screen.update(keys, mouse);
        requests.push_back(r);
        keys.endFrame();
        return r;
    }
    void pointAt(TileCoord cell) {
        mouse.x = editorGridLeft + cell.x * editorCellPixels + editorCellPixels / 2;
        mouse.y = editorGridBottom + cell.y * editorCellPixels + editorCellPixels / 2;
        screen.pointerMoved(mouse.x, mouse.y);
    }
    // A drag as its events come: the press on the first cell, a move to each later one (several
    // between two frames, as on a slow machine), the release.
    void drag(const std::vector<TileCoord>& cells, bool left = true) {
        pointAt(cells[0]);
        (left ? mouse.leftDown : mouse.rightDown) = true;
        screen.buttonDown(left, mouse.x, mouse.y);
        for (size_t i = 1; i < cells.size(); i++) {
            pointAt(cells[i]);
            if (i % 2 == 0) frame();
        }
        (left ? mouse.leftDown : mouse.rightDown) = false;
        screen.buttonUp(left, mouse.x, mouse.y);
        frame();
    }
    // A key held for one frame and let go in the next.
    EditorRequest press(int code) {
        keys.keyDown(code);
        EditorRequest r = frame();
        keys.keyUp(code);
        EditorRequest after = frame();
        return r != EditorRequest::none ? r : after;
    }
    void type(const char* text) {
        for (const char* p = text; *p; p++) {
            char c = *p;
            if (c >= 'a' && c <= 'z') press(c - 'a' + 'A');
            else if (c >= '0' && c <= '9') press(c);
            else if (c == '-') press(VK_OEM_MINUS);
        }
    }
    void layRim() {
        drag({{0, 7}, {4, 7}, {4, 5}, {0, 5}, {0, 7}});
        pointAt({3, 7});
        press('F');
    }
};

struct ScopedDataHome {
    TempFolder folder{"td-editor"};
    std::string saved;
    ScopedDataHome() {
        const char* was = getenv("XDG_DATA_HOME");
        saved = was ? was : "";
        setenv("XDG_DATA_HOME", folder.path.c_str(), 1);
    }
    ~ScopedDataHome() { setenv("XDG_DATA_HOME", saved.c_str(), 1); }
    std::string course(const char* name) const { return folder.path + "/trailerdash/courses/" + name + ".course"; }
};

bool exists(const std::string& path) {
    FILE* f = fopen(path.c_str(), "rb");
    if (f) fclose(f);
    return f != nullptr;
}

TEST(EditorScreen, MouseDragsLayAndEraseRoad) {
    Player p;
    p.layRim();
    EXPECT_TRUE(p.screen.edit.valid()) << p.screen.edit.report().message;
    // The right button erases; Ctrl+Z and U each undo one change.
    p.drag({{2, 5}}, false);
    EXPECT_FALSE(p.screen.edit.roadAt(2, 5));
    EXPECT_FALSE(p.screen.edit.valid());
    p.keys.keyDown(VK_CONTROL);
    p.press('Z');
    p.keys.keyUp(VK_CONTROL);
    EXPECT_TRUE(p.screen.edit.valid());
    p.press('U');
    EXPECT_FALSE(p.screen.edit.hasFinish());
    // A drag that leaves the grid lays only what was on it.
    Player q;
    q.pointAt({1, 1});
    q.screen.buttonDown(true, q.mouse.x, q.mouse.y);
    q.pointAt({3, 1});
    q.screen.pointerMoved(630, q.mouse.y);
    q.screen.buttonUp(true, 630, q.mouse.y);
    EXPECT_TRUE(q.screen.edit.roadAt(3, 1));
    EXPECT_FALSE(q.screen.edit.roadAt(4, 1));
    // A release the window never saw ends the drag at the next frame: later moves lay nothing.
    q.pointAt({1, 3});
    q.mouse.leftDown = true;
    q.screen.buttonDown(true, q.mouse.x, q.mouse.y);
    q.mouse.leftDown = false;
    q.frame();
    q.pointAt({4, 3});
    EXPECT_TRUE(q.screen.edit.roadAt(1, 3));
    EXPECT_FALSE(q.screen.edit.roadAt(2, 3));
    EXPECT_EQ(q.screen.edit.undoCount(), 2);
}

TEST(EditorScreen, EscapeLeavesOnlyWhenPressedHere) {
    struct Case {
        const char* what;
        bool heldOnEntry;  // Escape still down from the test drive it ended
        bool naming;
        bool leaves;
    } cases[] = {
        {"pressed", false, false, true},
        {"held in from a test drive, then let go", true, false, false},
        {"while typing a name it gives up the name", false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Player p;
        p.layRim();
        if (c.naming) p.press('S');
        if (c.heldOnEntry) p.keys.keyDown(VK_ESCAPE);
        p.screen.enter();
        p.frame();  // the frame that hands the screen over
        p.requests.clear();
        if (c.heldOnEntry) {
            for (int i = 0; i < 5; i++) p.frame();
            p.keys.keyUp(VK_ESCAPE);
            p.frame();
        } else {
            // Held for several frames: one press, one request at most.
            p.keys.keyDown(VK_ESCAPE);
            for (int i = 0; i < 5; i++) p.frame();
            p.keys.keyUp(VK_ESCAPE);
            p.frame();
        }
        int leaves = 0;
        for (EditorRequest r : p.requests) leaves += r == EditorRequest::leave ? 1 : 0;
        EXPECT_EQ(leaves, c.leaves ? 1 : 0);
        EXPECT_FALSE(p.screen.naming);
    }
}

TEST(EditorScreen, DTestDrivesOnlyAWholeLoop) {
    Player p;
    p.drag({{0, 7}, {4, 7}, {4, 5}, {0, 5}, {0, 7}});
    EXPECT_EQ(p.press('D'), EditorRequest::none);
    EXPECT_NE(std::string(p.screen.note).find("whole loop"), std::string::npos);
    p.pointAt({3, 7});
    p.press('F');
    EXPECT_EQ(p.press('D'), EditorRequest::testDrive);
}

TEST(EditorScreen, SavedCourseReadsBackAsLaid) {
    ScopedDataHome home;
    ASSERT_FALSE(home.folder.path.empty());
    Player p;
    p.layRim();
    p.press('S');
    ASSERT_TRUE(p.screen.naming);
    p.type("rim-5");
    p.press(VK_BACK);
    p.type("3");
    p.press(VK_RETURN);
    EXPECT_FALSE(p.screen.naming);
    std::string path = home.course("rim-3");
    ASSERT_TRUE(exists(path)) << p.screen.note;
    EXPECT_EQ(std::string(p.screen.savedPath), path);

    Course read;
    char message[courseMessageSize];
    ASSERT_TRUE(loadCourseFile(path.c_str(), read, message, sizeof message)) << message;
    EXPECT_STREQ(read.name, "rim-3");
    EXPECT_EQ(courseHash(read), courseHash(p.screen.course()));
    for (int y = 0; y < trackGridSize; y++)
        for (int x = 0; x < trackGridSize; x++) EXPECT_EQ(read.tileAt(x, y), p.screen.edit.tileAt(x, y));

    // Saved again after a change under the same name: the file holds the new course whole.
    p.press('C');
    p.drag({{0, 7}, {7, 7}, {7, 0}, {0, 0}, {0, 7}});
    p.pointAt({3, 7});
    p.press('F');
    ASSERT_TRUE(p.screen.edit.valid()) << p.screen.edit.report().message;
    p.press('S');
    EXPECT_STREQ(p.screen.name, "rim-3") << "the last name is offered again";
    p.press(VK_RETURN);
    ASSERT_TRUE(loadCourseFile(path.c_str(), read, message, sizeof message)) << message;
    EXPECT_EQ(courseHash(read), courseHash(p.screen.course()));
}

TEST(EditorScreen, SaveRefusesWhatIsNotACourseOrAName) {
    ScopedDataHome home;
    Player p;
    p.drag({{0, 7}, {4, 7}});
    p.press('S');
    EXPECT_FALSE(p.screen.naming) << "a broken loop cannot be saved";
    p.layRim();
    p.press('S');
    p.press(VK_RETURN);
    EXPECT_TRUE(p.screen.naming) << "an empty name leaves the player typing";
    EXPECT_FALSE(p.screen.noteGood);

    const struct {
        const char* name;
        bool allowed;
    } names[] = {
        {"rim", true},          {"My_Course-2", true}, {"abcdefghijklmnopqrstuvwx", true},
        {"", false},            {"../rim", false},     {".hidden", false},
        {"two words", false},   {"a/b", false},        {"abcdefghijklmnopqrstuvwxy", false},
        {"caf\xc3\xa9", false},
    };
    char folder[1024], path[1200], message[256];
    ASSERT_TRUE(userCourseFolder(folder, sizeof folder));
    for (const auto& n : names) {
        SCOPED_TRACE(n.name);
        EXPECT_EQ(saveNameAllowed(n.name), n.allowed);
        bool saved = saveCourseAs(p.screen.course(), n.name, folder, path, sizeof path, message, sizeof message);
        EXPECT_EQ(saved, n.allowed) << message;
        if (saved) {
            EXPECT_TRUE(exists(home.course(n.name)));
        }
    }
    // Nothing but the allowed names' files was written, not even outside the folder.
    EXPECT_FALSE(exists(home.folder.path + "/trailerdash/rim.course"));
}

}  // namespace
