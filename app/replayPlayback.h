#pragma once
// Playing a recorded race in the game's window: the recorded frames, each with its recorded
// messages and counter advance, at the pace they were driven. The player's own keys and buttons
// do not reach the game meanwhile; Escape and the close box still end it. While it plays, P
// pauses and resumes it, Down halves its speed and Up doubles it (half to double), and Left
// jumps ten seconds back: the game is set on the grid again and the frames up to there are driven
// again undrawn, which lands on exactly the state they had (the simulation is deterministic).
#include "core/platform.h"
#include "front/quickRace.h"

class CourseLibrary;
struct Course;
class Game;
class Replay;

// Longest wait for one frame: a frame recorded across a pause would otherwise stall the playback.
const double maxReplayFrameWait = 0.25;
// How often the race's end, left on screen, is redrawn.
const double replayEndFramesPerSecond = 60.0;
// The viewer's controls: how far Left goes back, and the slowest and fastest speeds.
const double replayJumpBackSeconds = 10.0;
const double slowestReplaySpeed = 0.5;
const double fastestReplaySpeed = 2.0;

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
    // A quick race's replay: its countdown and pause menu, over the race as they were (the loop's
    // screen over the race); null for any other replay.
    QuickRaceReplay* countdownOver();
    // The viewer's state: paused, the speed over the recorded pace, the next frame to run.
    bool viewPaused() const { return pausedView; }
    double speed() const { return viewSpeed; }
    int nextFrame() const { return next; }
    // The replay paces itself on the desktop's clock; frames need no other wait.
    void sleepUntil(int64_t) override {}

protected:
    void pumpEvents() override;

private:
    void passDesktopMessages();
    void waitForFrame();
    // Back to the first frame, the game on the grid as the race started.
    void restart();
    // Adds the next frame's step, at most maxReplayFrameWait, over the speed, to the schedule.
    void paceNextFrame();
    // The controls, between two frames (never with a frame's messages half handed over).
    void applyViewKeys();
    void jumpBack();
    // The schedule starts again from the desktop's clock now, as after a pause or a jump.
    void anchorPace();

    Platform& desktop;
    const Replay& replay;
    QuickRaceReplay quickOver;
    int next;    // the frame whose messages are being handed over
    int posted;  // of its messages
    bool ready;  // all handed over: the next counter reading runs it
    int64_t counter;
    // Frames run on the recorded clock: the next frame is due when the desktop's counter has
    // moved on from the first frame's as far as the recorded one had (long steps held to
    // maxReplayFrameWait). Against a schedule, late wake-ups do not add up over a race.
    int64_t firstReal;     // desktop counter the schedule starts from
    double pacedSeconds;   // desktop seconds from there to the next frame, the speed applied
    Game* game;            // not owned; null until playInto
    const Course* course;  // a course file's race: its course; not owned
    bool pausedView;
    bool gamePausedBefore;  // the race's own pause when the viewer paused it
    double viewSpeed;
    // Asked for between frames, applied at the next frame boundary.
    bool pauseAsked, jumpAsked;
};

// Reads path and checks that this game can play it; false after telling the user why.
bool loadReplayToPlay(const char* path, Replay& replay);
// The replay's course on the grid, with the keys that were held when the race started.
void prepareReplay(Game& game, const Replay& replay);
