#pragma once
// The championship: a series of races over a chosen set of courses, points per place, the
// standings after every race and a podium at the end. It stands over the race as a screen: it
// hands the Game each course and grid, holds the Game's Space while its own boards are up, and
// reads the places off the race when the player leaves the results. Progress is saved after
// every race, so a series quit half way is offered again next time.
//
// The menu's one entry point is open(game): it shows the championship's own choice (continue a
// saved series, all the courses, a random one, back) and runs everything from there.
#include <cstdint>
#include <memory>

#include "front/courseProof.h"
#include "front/pauseMenu.h"
#include "front/standings.h"
#include "race/gameFrame.h"
#include "records/championshipProgress.h"
#include "track/course.h"

class CourseLibrary;

// Races of a random championship.
const int randomChampionshipRaces = 4;
// Seeds tried after one that makes no course.
const int randomSeedAttempts = 64;

class Championship : public ScreenOverRace {
public:
    enum Stage { off, choosing, board, racing, results, podium, leaving };
    enum Choice { continueSaved, allCourses, randomCourses, players, back, choiceCount };

    Championship();
    // Where the progress is kept (empty: nowhere) and the course list the courses come from
    // (the title's; may be null, then only built-in and random courses can be raced).
    void setUp(const char* progressFile, const CourseLibrary* library);
    // From the menu: the championship's choice, with the saved series offered when there is one
    // (or a message when the saved file is refused).
    void open(Game& game);
    // Starts a new series over plan's courses (plan's results are ignored) and shows the first
    // race's board; false, with why, when a course cannot be found.
    bool start(Game& game, const ChampionshipProgress& plan);
    // Continues the saved series; false, with why, when there is none or it cannot be raced.
    bool resume(Game& game);
    bool active() const { return stage != off; }

    // A series of every built-in and shipped course in the list's order (the player's own and
    // the random entry left out); the built-in two only with no list.
    static ChampionshipProgress planOfCourses(const CourseLibrary* library);
    // A series of races generated courses from seed on.
    static ChampionshipProgress randomPlan(uint64_t seed, int races);
    // Races each generated course of plan with prover (championshipProof.cpp); one the computer
    // trucks cannot all finish gives way to the next seed that proves. False when
    // randomSeedAttempts seeds in a row fail.
    static bool proveRandomCourses(ChampionshipProgress& plan, CourseProver& prover);
    // The course a plan's entry names, from the list or the generator; false when it is gone.
    static bool findCourse(const ChampionshipCourse& entry, const CourseLibrary* library, Course& out);

    // ScreenOverRace: the keys of the boards, and watching the race for its end.
    void update(Game& game) override;
    void draw(const Game& game) override;

    // The race just run ends: its places are taken from the game (finishers in their order, any
    // still racing behind them as they run) and saved; then the next board or the final one.
    void finishRace(Game& game);
    // Space on the board: the race starts (the Game sees the same Space).
    void startNextRace(Game& game);
    // Space on the final board: the series is over and forgotten, the game back on its title.
    void close(Game& game);

    Stage stage;
    int chosen;                    // the choosing stage's highlighted line
    int humans = 1;                // people in a new series: Left and Right on the players line
    bool savedOffered;             // a saved series can be continued
    int savedRaces, savedCourses;  // how far the saved series is
    int everyCourse;               // races of the series of every course
    ChampionshipProgress progress;
    Standings standings;           // after the races run
    Standings before;              // before the last race, for the moves shown on the board
    char message[progressMessageSize + 96];  // said on the choice (a refused file) and on stderr
    bool saveFailed;               // said once
    PauseMenu pause;               // Escape in a race
    // Proves a random series' courses; null until one is chosen, when a RaceProver of the
    // championship's own is made (tests hand in their own before that).
    CourseProver* prover = nullptr;

private:
    // The pause menu's choices: the race again from its board and grid, or given up for the
    // title with the series saved as it was before it.
    void restartRace(Game& game);
    void giveUpRace(Game& game);

    bool prepareRace(Game& game);
    void save();
    bool pressed(int key) const;

    char path[1024];
    const CourseLibrary* library;
    int builtTracks;  // the game's own track count, given back at the end
    std::unique_ptr<CourseProver> ownProver;
};
