// The championship's boards, in the race's own style: a veil over the whole picture, a panel
// over it as the title's and the results' lie over the world, the game's font, the results'
// colours by place, the user's row framed. Screen coordinates, origin bottom-left, 640 x 480.
#include <GL/gl.h>

#include <cstdio>
#include <cstring>

#include "front/championship.h"
#include "graphics/font.h"
#include "graphics/rect.h"
#include "graphics/text.h"
#include "race/game.h"
#include "race/player.h"

// As the results table's rows, leader first.
static const float placeColours[championshipTrucks][3] = {
    {1.0f, 0.2f, 0.2f}, {0.8f, 0.2f, 0.4f}, {0.6f, 0.2f, 0.6f}, {0.4f, 0.2f, 0.8f}, {0.2f, 0.2f, 1.0f},
};
// The podium's steps: gold, silver, bronze.
static const float stepColours[3][3] = {{0.85f, 0.68f, 0.1f}, {0.7f, 0.72f, 0.75f}, {0.72f, 0.45f, 0.2f}};
static const float boardPanel[4] = {70, 66, 570, 470};
static const float promptPanel[4] = {130, 10, 510, 60};
static const int headX = 100, headY = 428;
// The tables' rows, at a smaller cell than the headings.
static const float rowScale = 0.75f;
static const int firstRowY = 350, rowStep = 44;
static const int placeX = 100, nameX = 140, pointsX = 330, gainX = 420, extraX = 470;
// The final board's table sits under the podium.
static const int podiumRowY = 184, podiumRowStep = 28;
static const float podiumRowScale = 0.65f;
// Each step: left, right, top; all stand on stepBase. First in the middle.
static const float stepBase = 238;
static const float steps[3][3] = {{250, 390, 336}, {110, 250, 306}, {390, 530, 286}};

// Text cells scaled for a block of text and put back after it.
class CellScale {
public:
    explicit CellScale(float scale) : width(textFont.cellWidth), height(textFont.cellHeight) {
        textFont.setCellSize((int)(width * scale), (int)(height * scale));
    }
    ~CellScale() { textFont.setCellSize((int)width, (int)height); }

private:
    float width, height;
};

// A flat coloured box or a frame, drawn as drawRect draws, in screen coordinates.
static void drawBox(const float colour[3], float x1, float y1, float x2, float y2, bool filled) {
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT);
    glDisable(GL_TEXTURE_2D);
    glLineWidth(2.0f);
    glPushMatrix();
    glTranslatef(-320, -240, 0);
    glColor3f(colour[0], colour[1], colour[2]);
    glBegin(filled ? GL_QUADS : GL_LINE_LOOP);
    glVertex2f(x1, y1);
    glVertex2f(x2, y1);
    glVertex2f(x2, y2);
    glVertex2f(x1, y2);
    glEnd();
    glPopMatrix();
    glPopAttrib();
}

static const char* truckName(const Game& game, int truck) {
    const Player* p = truck >= 0 && truck < Game::maxTrucks ? game.players[truck] : nullptr;
    return p ? p->getName() : "?";
}

// Both veils, the board's heading in white and the prompt panel's words.
static void drawFrame(const char* heading, const char* prompt) {
    drawRect(Game::panelShade, 0, 0, 640, 480);
    drawRect(Game::panelShade, boardPanel[0], boardPanel[1], boardPanel[2], boardPanel[3]);
    drawRect(Game::panelShade, promptPanel[0], promptPanel[1], promptPanel[2], promptPanel[3]);
    textFont.setColour(1, 1, 1);
    printText(headX, headY, "%s", heading);
    printText(146, 22, "%s", prompt);
}

// One row's veil, framed when it is the user's.
static void drawRowBacking(float y, float height, bool usersRow) {
    static const float white[3] = {1, 1, 1};
    drawRect(Game::panelShade, 90, y - 4, 550, y + height);
    if (usersRow) drawBox(white, 92, y - 2, 548, y + height - 2, false);
}

// The standings, leader first: place, name, points, what the last race gave, wins.
static void drawStandingsRows(const Game& game, const Standings& s, const Standings& before, int y0, int step,
                              float scale) {
    CellScale cells(scale);
    textFont.setColour(1, 1, 0);
    printText(pointsX, y0 + step - 8, "Points");
    printText(extraX, y0 + step - 8, "Wins");
    for (int p = 0; p < championshipTrucks; p++) {
        int t = s.order[p];
        int y = y0 - step * p;
        drawRowBacking((float)y, (float)step - 10, game.isHuman(t));
        textFont.setColour(placeColours[p][0], placeColours[p][1], placeColours[p][2]);
        printText(placeX, y, "%d", p + 1);
        printText(nameX, y, "%.12s", truckName(game, t));
        printText(pointsX, y, "%3d", s.points[t]);
        int gained = s.points[t] - before.points[t];
        if (s.races > before.races) printText(gainX - 30, y, "+%d", gained);
        printText(extraX + 16, y, "%d", s.placeCounts[t][0]);
    }
}

static void drawChoosing(const Championship& c) {
    drawFrame("CHAMPIONSHIP", "Up Down, Return chooses");
    CellScale cells(0.85f);
    char lines[Championship::choiceCount][80];
    snprintf(lines[Championship::continueSaved], sizeof lines[0], "Continue: race %d of %d", c.savedRaces + 1,
             c.savedCourses);
    snprintf(lines[Championship::allCourses], sizeof lines[0], "Every course: %d races", c.everyCourse);
    snprintf(lines[Championship::randomCourses], sizeof lines[0], "Random championship: %d races",
             randomChampionshipRaces);
    snprintf(lines[Championship::players], sizeof lines[0], "Players: %s (Left Right)",
             c.humans == 2 ? "two, W A S D for player two" : "one");
    snprintf(lines[Championship::back], sizeof lines[0], "Back");
    if (c.savedOffered && c.savedRaces >= c.savedCourses)
        snprintf(lines[Championship::continueSaved], sizeof lines[0], "Continue: the final standings");
    for (int i = 0; i < Championship::choiceCount; i++) {
        int y = 360 - 46 * i;
        bool shown = i != Championship::continueSaved || c.savedOffered;
        if (!shown) continue;
        bool at = i == c.chosen;
        if (at) drawRowBacking((float)y, 34, true);
        if (at)
            textFont.setColour(1, 1, 0);
        else
            textFont.setColour(1, 1, 1);
        printText(120, y, "%s", lines[i]);
    }
    if (c.message[0]) {
        // A refused file's reason, wrapped between words on the panel's width.
        CellScale small(0.6f / 0.85f);
        textFont.setColour(1, 0.3f, 0.3f);
        const int width = 48;
        const char* at = c.message;
        for (int row = 0; *at && row < 4; row++) {
            int n = (int)strlen(at);
            if (n > width) {
                n = width;
                while (n > 0 && at[n] != ' ') n--;
                if (n == 0) n = width;
            }
            printText(96, 176 - 22 * row, "%.*s", n, at);
            at += n;
            while (*at == ' ') at++;
        }
    }
}

static void drawBoard(const Game& game, const Championship& c) {
    const ChampionshipProgress& p = c.progress;
    char heading[64];
    if (p.racesRun == 0)
        snprintf(heading, sizeof heading, "CHAMPIONSHIP: %d RACES", p.courseCount);
    else
        snprintf(heading, sizeof heading, "STANDINGS: RACE %d OF %d", p.racesRun, p.courseCount);
    drawFrame(heading, "Press SPACE to race");
    drawStandingsRows(game, c.standings, c.before, firstRowY, rowStep, rowScale);
    CellScale cells(0.7f);
    textFont.setColour(1, 1, 0);
    int next = p.racesRun;
    if (next < p.courseCount) printText(100, 100, "Next: %.36s", p.courses[next].name);
    textFont.setColour(1, 1, 1);
    printText(100, 130, "The leader starts at the back");
}

static void drawRaceResults(const Game& game, const Championship& c) {
    char heading[64];
    snprintf(heading, sizeof heading, "RACE %d OF %d", c.progress.racesRun + 1, c.progress.courseCount);
    drawFrame(heading, "SPACE: the standings");
    CellScale cells(rowScale);
    textFont.setColour(1, 1, 0);
    printText(pointsX, firstRowY + rowStep - 8, "Time");
    printText(gainX + 40, firstRowY + rowStep - 8, "Points");
    for (int p = 0; p < championshipTrucks; p++) {
        int t = game.positionOrder[p];
        int y = firstRowY - rowStep * p;
        drawRowBacking((float)y, (float)rowStep - 10, game.isHuman(t));
        textFont.setColour(placeColours[p][0], placeColours[p][1], placeColours[p][2]);
        printText(placeX, y, "%d", p + 1);
        printText(nameX, y, "%.12s", truckName(game, t));
        const Player* player = t >= 0 && t < Game::maxTrucks ? game.players[t] : nullptr;
        char time[raceTimeTextSize] = "racing";
        if (player && player->isFinished()) formatRaceTime(player->getTime(), time);
        printText(pointsX, y, "%s", time);
        printText(gainX + 60, y, "+%d", placePoints[p]);
    }
}

static void drawPodium(const Game& game, const Championship& c) {
    drawFrame("CHAMPIONSHIP: FINAL", "SPACE: back to the title");
    const Standings& s = c.standings;
    for (int place = 0; place < 3; place++) {
        const float* st = steps[place];
        drawBox(stepColours[place], st[0], stepBase, st[1], st[2], true);
        int t = s.order[place];
        textFont.setColour(0, 0, 0);
        printText((int)(st[0] + st[1]) / 2 - 8, (int)st[2] - 36, "%d", place + 1);
        CellScale cells(0.6f);
        textFont.setColour(placeColours[place][0] * 0.5f + 0.5f, placeColours[place][1] * 0.5f + 0.5f,
                           placeColours[place][2] * 0.5f + 0.5f);
        printText((int)st[0] + 6, (int)st[2] + 8, "%.10s", truckName(game, t));
        textFont.setColour(1, 1, 1);
        printText((int)st[0] + 6, (int)st[2] + 30, "%d pts", s.points[t]);
    }
    drawStandingsRows(game, s, c.before, podiumRowY, podiumRowStep, podiumRowScale);
}

void Championship::draw(const Game& game) {
    if (game.help.isOpen()) return;
    switch (stage) {
    case choosing:
        drawChoosing(*this);
        break;
    case board:
        drawBoard(game, *this);
        break;
    case results:
        drawRaceResults(game, *this);
        break;
    case podium:
        drawPodium(game, *this);
        break;
    case racing:
        pause.draw();
        break;
    case off:
    case leaving:
        return;
    }
    textFont.setColour(1, 1, 1);
    glColor3f(1, 1, 1);
}
