#pragma once
// Playing a recorded race in the game's window: the recorded frames, each with its recorded
// messages and counter advance, at the pace they were driven. The player's own keys and buttons
// do not reach the game meanwhile; Escape and the close box still end it.
#include "core/platform.h"

class CourseLibrary;
class Game;
class Replay;

// Longest wait for one frame: a frame recorded across a pause would otherwise stall the playback.
const double maxReplayFrameWait = 0.25;
// How often the race's end, left on screen, is redrawn.
const double replayEndFramesPerSecond = 60.0;

class ReplayPlatform : public Platform {
public:
    // desktop serves the window, pointer, boxes and real time; neither is owned.
    ReplayPlatform(Platform& desktop, const Replay& replay);

    // Advances by the next recorded frame's delta once its messages have all been handed over.
    int64_t queryPerformanceCounter() override;
    int64_t queryPerformanceFrequency() override;
    void getCursorPos(int& x, int& y) override { desktop.getCursorPos(x, y); }
    void showCursor(bool show) override { desktop.showCursor(show); }
    int messageBox(const char* text, const char* caption, unsigned flags) override {
        return desktop.messageBox(text, caption, flags);
    }
    bool finished() const;
    // The game the replay drives: it is told what it shows, and goes back to the grid when the
    // player asks for the race again (Space at its end).
    void playInto(Game& game);
    // A race on a course file: its course, found in library by its hash, goes into the game.
    // False, after telling the user, when the library lacks it (missing, or changed since).
    bool placeCourse(Game& game, const CourseLibrary& library);
    bool coursePlaced = true;
    // The replay paces itself on the desktop's clock; frames need no other wait.
    void sleepUntil(int64_t) override {}

protected:
    void pumpEvents() override;

private:
    void passDesktopMessages();
    void waitForFrame();
    // Back to the first frame, the game on the grid as the race started.
    void restart();
    // Adds the next frame's step, at most maxReplayFrameWait, to the recorded clock.
    void paceNextFrame();

    Platform& desktop;
    const Replay& replay;
    int next;    // the frame whose messages are being handed over
    int posted;  // of its messages
    bool ready;  // all handed over: the next counter reading runs it
    int64_t counter;
    // Frames run on the recorded clock: the next frame is due when the desktop's counter has
    // moved on from the first frame's as far as the recorded one had (long steps held to
    // maxReplayFrameWait). Against a schedule, late wake-ups do not add up over a race.
    int64_t firstReal;    // desktop counter when the first frame ran
    int64_t pacedCounts;  // recorded counts from the first frame to the next one
    Game* game;           // not owned; null until playInto
};

// Reads path and checks that this game can play it; false after telling the user why.
bool loadReplayToPlay(const char* path, Replay& replay);
// The replay's course on the grid, with the keys that were held when the race started.
void prepareReplay(Game& game, const Replay& replay);
