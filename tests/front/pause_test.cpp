// Escape in a race of time attack or of a championship: the pause menu, never the program's end.
// Each choice of the menu in each mode, from a race under way.
#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "front/frontScreens.h"
#include "front/timeAttack.h"
#include "tests/race/raceFixture.h"
#include "tests/support/tempFolder.h"

class PauseTest : public LoadedGameTest {
protected:
    // The loop's frame: Escape ends it unless the screens over the race take it, as the loop says.
    void frame() {
        if (keys.isDown(VK_ESCAPE) && !attack.takesEscape(*game)) quitByEscape = true;
        platformScript.counter += 16667;
        runGameFrame(*game, nullptr, false, &attack);
    }
    void press(int key) {
        keys.keyDown(key);
        frame();
        keys.keyUp(key);
        frame();
    }
    std::vector<int> order() const { return std::vector<int>(game->positionOrder, game->positionOrder + 5); }

    FrontScreens front;
    TimeAttack attack;  // over the front screens, as the game holds them
    TempFolder folder{"td-pause"};
    bool quitByEscape = false;
};

TEST_F(PauseTest, EscapeInTimeAttackOrAChampionshipRaceOpensThePauseMenu) {
    if (HasFatalFailure() || IsSkipped()) return;
    attack.under = &front;
    const std::string path = folder.file("championship");
    front.championship.setUp(path.c_str(), nullptr);
    enum Mode { timeAttack, championship };
    enum Pick { resume, restart, title };  // the menu's rows, Down pressed that many times
    struct Case {
        Mode mode;
        Pick pick;
    } cases[] = {{timeAttack, resume},   {timeAttack, restart},   {timeAttack, title},
                 {championship, resume}, {championship, restart}, {championship, title}};
    for (const Case& c : cases) {
        const char* what = c.mode == timeAttack ? "time attack" : "championship";
        if (c.mode == timeAttack) {
            attack.start(*game, nullptr, "no-studio-here");
        } else {
            front.openChampionship(*game);
            press(VK_RETURN);  // all the courses
            ASSERT_EQ(front.championship.stage, Championship::board) << what;
        }
        std::vector<int> grid = order();
        std::ifstream saved(path);
        std::string before((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
        press(VK_SPACE);
        keys.keyDown(VK_UP);
        for (int i = 0; i < 60; i++) frame();
        keys.keyUp(VK_UP);
        ASSERT_FALSE(game->waitingForStart) << what << ": the race did not start";

        press(VK_ESCAPE);
        bool open = c.mode == timeAttack ? attack.pause.isOpen : front.championship.pause.isOpen;
        EXPECT_TRUE(open) << what;
        double clock = game->raceClock.elapsedSeconds();
        for (int i = 0; i < 30; i++) frame();
        printf("%s, pick %d: race clock %.3f s before 30 paused frames, %.3f s after\n", what, (int)c.pick, clock,
               game->raceClock.elapsedSeconds());
        EXPECT_NEAR(game->raceClock.elapsedSeconds(), clock, 1e-6) << what << ": the pause must hold the race";
        for (int i = 0; i < (int)c.pick; i++) press(VK_DOWN);
        press(VK_RETURN);
        EXPECT_FALSE(game->held) << what;
        EXPECT_FALSE(quitByEscape) << what << ": Escape ended the program";

        if (c.pick == resume) {
            EXPECT_FALSE(game->waitingForStart) << what;
            for (int i = 0; i < 10; i++) frame();
            EXPECT_GT(game->raceClock.elapsedSeconds(), clock) << what << ": the race goes on";
        } else if (c.mode == timeAttack) {
            EXPECT_TRUE(game->waitingForStart) << what;
            EXPECT_EQ(attack.active, c.pick == restart) << what;
            EXPECT_EQ(game->rivals(), c.pick == restart ? 0 : Game::maxTrucks - 1) << what;
        } else if (c.pick == restart) {
            // The same race from its board, on the grid it had, the series as it was.
            EXPECT_EQ(front.championship.stage, Championship::board);
            EXPECT_EQ(front.championship.progress.racesRun, 0);
            EXPECT_EQ(order(), grid);
        } else {
            frame();
            EXPECT_FALSE(front.championship.active());
            // Given up, not forgotten: the saved series is offered again.
            std::ifstream after(path);
            EXPECT_EQ(std::string((std::istreambuf_iterator<char>(after)), std::istreambuf_iterator<char>()), before);
            front.openChampionship(*game);
            EXPECT_TRUE(front.championship.savedOffered);
            front.championship.stage = Championship::off;
        }
        // The next case starts from the title.
        if (attack.active) attack.stop(*game);
        if (front.championship.active()) {
            front.championship.close(*game);
            frame();
        }
        game->held = false;
        game->waitingForStart = true;
        game->raceOver = false;
        game->resetRace();
        frame();
    }
}
