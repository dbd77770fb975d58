// The overlays read back from the frame buffer with the generated font: where the HUD's labels
// and values land, how the results rows fill, and how the panels veil the world below.
#include "raceFixture.h"

#include <vector>

#include "graphics/font.h"

namespace {

const int screenW = 640, screenH = 480;

struct Frame {
    std::vector<uint8_t> rgb;
    void read() {
        rgb.assign(screenW * screenH * 3, 0);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, screenW, screenH, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    }
    Rgb at(int x, int y) const {
        const uint8_t* p = &rgb[(y * screenW + x) * 3];
        return Rgb{p[0], p[1], p[2]};
    }
    // Pixels in [x1, x2) x [y1, y2) (screen units, origin bottom-left) that pass the test.
    template <class Test>
    int count(int x1, int y1, int x2, int y2, Test test) const {
        int n = 0;
        for (int y = y1; y < y2; y++)
            for (int x = x1; x < x2; x++) n += test(at(x, y)) ? 1 : 0;
        return n;
    }
};

// Ink of the font's colours over black; anti-aliased edges fall below these levels.
bool yellow(Rgb c) { return c.r > 150 && c.g > 150 && c.b < 60; }
bool white(Rgb c) { return c.r > 200 && c.g > 200 && c.b > 200; }
bool green(Rgb c) { return c.g > 150 && c.r < 60 && c.b < 60; }
bool anyInk(Rgb c) { return c.r > 40 || c.g > 40 || c.b > 40; }

class ScreensTest : public LoadedGameTest {
protected:
    // Only the overlay, over black.
    template <class Draw>
    void overlay(Draw draw) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        draw();
        shot.read();
    }
    Frame shot;
};

TEST_F(ScreensTest, HudLabelsAndValuesInTheirCells) {
    game->waitingForStart = false;
    game->showFrameRate = 0;
    overlay([&] { game->drawHud(); });
    struct Cell {
        const char* what;
        int x, y, width;
        bool (*ink)(Rgb);
    } cells[] = {
        {"Total  Time", 10, 440, 190, yellow}, {"race time", 10, 415, 150, white},  {"Lap  Time", 10, 390, 190, yellow},
        {"current lap", 10, 365, 150, white},  {"Position", 250, 440, 110, yellow}, {"1/5", 250, 415, 100, white},
        {"Lap", 370, 440, 80, yellow},         {"1/6", 370, 415, 80, white},        {"Speed", 10, 40, 95, green},
        {"Power", 110, 40, 95, green},         {"speed value", 10, 10, 95, white},  {"power value", 110, 10, 95, white},
    };
    for (const Cell& c : cells) {
        int n = shot.count(c.x, c.y, c.x + c.width, c.y + 32, c.ink);
        printf("%-12s at %3d,%3d: %4d ink pixels\n", c.what, c.x, c.y, n);
        EXPECT_GT(n, 20) << c.what;
    }
    // Before the first lap one lap time only; no frame rate or info; nothing mid-screen.
    EXPECT_EQ(shot.count(0, 300, 250, 364, anyInk), 0) << "best and last lap rows";
    EXPECT_EQ(shot.count(500, 400, 640, 480, anyInk), 0) << "frame rate off";
    EXPECT_EQ(shot.count(290, 0, 640, 80, anyInk), 0) << "info off";
    EXPECT_EQ(shot.count(0, 80, 640, 300, anyInk), 0) << "the middle of the screen";
    EXPECT_EQ(textFont.red + textFont.green + textFont.blue, 3.0f) << "the HUD ends with white";

    game->trucks[0].lapCount = 1;
    game->trucks[0].bestLapTime = 61.5;
    game->trucks[0].lastLapTime = 61.5;
    game->showFrameRate = 1;
    game->showInfo = 1;
    overlay([&] { game->drawHud(); });
    int best = shot.count(10, 340, 160, 364, white), last = shot.count(10, 315, 160, 339, white);
    printf("after a lap: best-lap row %d, last-lap row %d ink pixels\n", best, last);
    EXPECT_GT(best, 20);
    EXPECT_GT(last, 20);
    EXPECT_GT(shot.count(520, 440, 640, 472, white), 20) << "FPS text";
    EXPECT_GT(shot.count(300, 40, 400, 72, white), 20) << "Info";
    EXPECT_GT(shot.count(300, 10, 640, 40, white), 20) << "TruckPos";
}

TEST_F(ScreensTest, ResultsRowsFillAsPlayersFinishInRankingOrder) {
    const int order[] = {3, 1, 0, 4, 2};
    for (int k = 0; k < Game::maxTrucks; k++) game->positionOrder[k] = order[k];
    game->players[3]->finished = true;
    game->players[3]->setTime(95.25f);
    game->players[0]->finished = true;
    game->players[0]->setTime(99.0f);
    game->players[3]->setName("AVeryLongDriverName");
    overlay([&] { game->drawResults(); });

    auto rowInk = [&](int place, bool (*test)(Rgb)) {
        int y = 350 - 45 * place;
        return shot.count(150, y, 560, y + 32, test);
    };
    auto red1 = [](Rgb c) { return c.r > 150 && c.g < 80 && c.b < 80; };
    auto purple3 = [](Rgb c) { return c.r > 90 && c.b > 90 && c.g < 60; };
    auto rose2 = [](Rgb c) { return c.r > 120 && c.g < 60 && c.b > 40 && c.b < c.r; };
    EXPECT_GT(shot.count(230, 400, 450, 432, white), 20) << "RACE RESULTS";
    EXPECT_GT(rowInk(0, red1), 20) << "place 1: truck 3";
    EXPECT_EQ(rowInk(1, anyInk), 0) << "place 2 not finished: blank";
    EXPECT_GT(rowInk(2, purple3), 20) << "place 3: the user, below the blank row";
    EXPECT_EQ(rowInk(3, anyInk), 0);
    EXPECT_EQ(rowInk(4, anyInk), 0);
    // Number, name and time each in their own column.
    EXPECT_GT(shot.count(160, 350, 205, 382, red1), 5);
    EXPECT_GT(shot.count(210, 350, 365, 382, red1), 20);
    EXPECT_GT(shot.count(370, 350, 560, 382, red1), 20);
    EXPECT_EQ(shot.count(0, 0, 130, 480, anyInk), 0) << "nothing left of the table";

    game->players[1]->finished = true;
    overlay([&] { game->drawResults(); });
    EXPECT_GT(rowInk(1, rose2), 20) << "place 2 appears once its player finishes";
    EXPECT_EQ(textFont.red + textFont.green + textFont.blue, 3.0f) << "the table ends with white";
    float colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0] + colour[1] + colour[2], 3.0f);
}

// The world alone, as draw() puts it under the overlay.
void drawWorld(Game& game) {
    glClear(GL_COLOR_BUFFER_BIT);
    glPushMatrix();
    game.views[0].camera.setPosition(game.trucks[0].getX(), game.trucks[0].getY());
    game.views[0].camera.apply();
    game.tracks[game.currentTrack].draw();
    for (Truck& t : game.trucks) t.draw();
    glPopMatrix();
}

TEST_F(ScreensTest, TitleAndPromptPanelsVeilTheWorldAndTheTitleLinesSitWhereTheyShould) {
    Frame world;
    drawWorld(*game);
    world.read();
    game->draw();
    shot.read();

    // Samples inside each panel but clear of its text, and just outside each panel.
    struct Sample {
        int x, y;
        bool veiled;
    } samples[] = {
        {121, 311, true},  {130, 400, true}, {510, 460, true}, {300, 315, true},  {519, 469, true},
        {161, 11, true},   {170, 58, true},  {190, 30, true},  {119, 400, false}, {300, 472, false},
        {300, 170, false}, {159, 30, false}, {300, 8, false},  {300, 62, false},
    };
    int worstError = 0;
    for (const Sample& s : samples) {
        Rgb under = world.at(s.x, s.y), over = shot.at(s.x, s.y);
        int want[3] = {under.r, under.g, under.b};
        int got[3] = {over.r, over.g, over.b};
        for (int k = 0; k < 3; k++) {
            int expected = s.veiled ? (int)(want[k] * 0.55f + 0.5f) : want[k];
            int error = got[k] - expected;
            if (error < 0) error = -error;
            if (error > worstError) worstError = error;
            EXPECT_LE(error, 2) << "pixel " << s.x << "," << s.y << " channel " << k << ": world " << want[k]
                                << ", shown " << got[k] << (s.veiled ? " (veiled)" : "");
        }
    }
    printf("panel veil: worst channel error %d against 0.55 x world\n", worstError);

    // White text on every line's cells, none in the empty line between the first two.
    const int lines[] = {422, 358, 326, 294, 262, 230, 198};
    for (int y : lines) EXPECT_GT(shot.count(140, y, 510, y + 32, white), 20) << "line at " << y;
    EXPECT_EQ(shot.count(121, 391, 519, 421, white), 0) << "the empty line";
    EXPECT_GT(shot.count(196, 22, 520, 54, white), 20) << "the start prompt";
}

TEST_F(ScreensTest, EachStateDrawsItsOwnOverlay) {
    // Over the world, the results show their heading, the title its name and the race its HUD.
    game->draw();
    shot.read();
    int titleName = shot.count(140, 422, 400, 454, white);
    int hudLabel = shot.count(10, 440, 200, 472, yellow);
    EXPECT_GT(titleName, 20);
    EXPECT_EQ(hudLabel, 0);

    game->waitingForStart = false;
    Frame world;
    drawWorld(*game);
    world.read();
    game->draw();
    shot.read();
    EXPECT_GT(shot.count(10, 440, 200, 472, yellow), 20) << "HUD while racing";
    int changed = 0;
    for (int y = 10; y < 60; y++)
        for (int x = 210; x < 440; x++) {  // right of the HUD's Speed and Power
            Rgb a = world.at(x, y), b = shot.at(x, y);
            changed += (a.r != b.r || a.g != b.g || a.b != b.b) ? 1 : 0;
        }
    EXPECT_EQ(changed, 0) << "no start prompt or its panel while racing";

    game->waitingForStart = true;
    game->raceOver = true;
    game->draw();
    shot.read();
    EXPECT_GT(shot.count(230, 400, 450, 432, white), 20) << "RACE RESULTS";
    EXPECT_GT(shot.count(196, 22, 520, 54, white), 20) << "the start prompt under the results";
}

}  // namespace
