#pragma once
// Which screen has the frames: the race (title, race, results), the course editor (E on the
// title), or a test drive of the editor's course (D in the editor, Escape back to it). A test
// drive is raced by a game of its own, which keeps nothing, so the records, the replays and the
// title's courses never see it; the race's game waits on its title meanwhile.
#include <memory>

#include "core/platform.h"
#include "editor/editorScreen.h"

class Game;

class ScreenSwitch {
public:
    enum Shown { race, editor, testDrive };

    explicit ScreenSwitch(Game& game);
    ~ScreenSwitch();

    // Runs this frame when the editor or a test drive has it (or E on the title hands it to the
    // editor), the same steps as a race frame; false when the race has it, whose frame the loop
    // then runs as before.
    bool frame(void (*swapBuffers)(), bool draw);
    Shown shown() const { return showing; }
    // Hands the frames to the editor, as E on the title does (the menu's "Course editor").
    void openEditor();
    // A window message as the loop takes it: the editor follows the mouse's events, each one.
    void message(const WindowMessage& msg);

    EditorScreen editorScreen;

private:
    // The race's game shows its title, with nothing over it, so E is the editor's.
    bool onTitle() const;
    void editorFrame(void (*swapBuffers)(), bool draw);
    void startTestDrive();

    Game& game;
    std::unique_ptr<Game> driveGame;  // made at the first test drive
    Shown showing;
    // The Escape that left the editor, held back from the title until its key-up comes.
    bool holdingEscape;
};
