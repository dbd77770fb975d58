#include "front/timeAttack.h"

#include <GL/gl.h>

#include <cmath>
#include <cstring>

#include "core/input.h"
#include "core/timing.h"
#include "front/recordProof.h"
#include "graphics/font.h"
#include "graphics/rect.h"
#include "graphics/text.h"
#include "race/game.h"
#include "race/player.h"
#include "records/replay.h"

// The studio ghost: the black truck's picture, fainter than the player's own ghost.
static const int studioTruckPicture = 4;
static const float studioGhostAlpha = 0.3f;
// The split's panel at the HUD's top right, the targets' under the title, the results' lines
// inside the results table under its one row.
static const float splitPanel[4] = {500, 326, 636, 402};
static const float targetsPanel[4] = {524, 230, 636, 470};
static const float resultsPanel[4] = {140, 130, 460, 320};

MedalTargets medalTargetsFor(float studio) {
    if (!(studio > 0.0f)) return {0, 0, 0};
    return {studio * goldOverStudio, studio * silverOverStudio, studio * bronzeOverStudio};
}

Medal medalFor(float seconds, const MedalTargets& t) {
    if (!(seconds > 0.0f) || !(t.gold > 0.0f)) return noMedal;
    if (seconds <= t.gold) return goldMedal;
    if (seconds <= t.silver) return silverMedal;
    if (seconds <= t.bronze) return bronzeMedal;
    return noMedal;
}

const char* medalName(Medal m) {
    switch (m) {
    case goldMedal:
        return "Gold";
    case silverMedal:
        return "Silver";
    case bronzeMedal:
        return "Bronze";
    default:
        return "No medal";
    }
}

bool splitDelta(const SplitTimes& a, const SplitTimes& reference, int k, float& delta) {
    if (k < 0 || k >= a.count || k >= reference.count) return false;
    delta = a.seconds[k] - reference.seconds[k];
    return true;
}

static void medalColour(Medal m) {
    static const float colours[4][3] = {{1, 1, 1}, {0.85f, 0.55f, 0.3f}, {0.8f, 0.8f, 0.85f}, {1, 0.85f, 0.2f}};
    textFont.setColour(colours[m][0], colours[m][1], colours[m][2]);
}

TimeAttack::TimeAttack()
    : active(false), under(nullptr), medals{0, 0, 0}, studioSeconds(0), bestSeconds(0), best{},
      bestHasSplits(false), now{}, lastSplit(0), lastSplitAt(-1.0), raceSeconds(0), newBest(false), medal(noMedal),
      prover(nullptr), game(nullptr), racing(false), studio(new Replay()), studioLoaded(false), studioSplits{},
      studioHasSplits(false), studioFrame(0), studioClock(0), studioFolder{}, escapeHeld(false), hiding(false), hidden{} {}

TimeAttack::~TimeAttack() { delete studio; }

void TimeAttack::start(Game& g, RecordProver* p, const char* folder) {
    game = &g;
    if (folder != studioFolder) snprintf(studioFolder, sizeof studioFolder, "%s", folder);
    prover = p;
    active = true;
    racing = false;
    raceSeconds = 0;
    newBest = false;
    medal = noMedal;
    lastSplitAt = -1.0;
    now.begin(0);
    pause.isOpen = false;
    g.held = false;
    g.history.offRecord = false;
    g.setLaps(Game::classicLaps);
    g.setRivals(0);
    g.waitingForStart = true;
    g.raceOver = false;
    g.resetRace();
    loadStudio(g, folder);
    loadBest(g);
}

void TimeAttack::stop(Game& g) {
    active = false;
    racing = false;
    pause.isOpen = false;
    g.held = false;
    g.setRivals(Game::maxTrucks - 1);
}

void TimeAttack::leave(Game& g) {
    stop(g);
    g.waitingForStart = true;
    g.raceOver = false;
    g.resetRace();
}

bool TimeAttack::pauseKeys(Game& g) {
    if (escapeHeld && !keys.isDown(VK_ESCAPE)) escapeHeld = false;
    if (g.help.isOpen()) return false;
    bool escapePressed = keys.wasPressed(VK_ESCAPE);
    if (escapePressed) escapeHeld = true;
    if (pause.isOpen) {
        PauseMenu::Choice c = pause.update(g, false);
        // Restart is the grid again, the race waiting for Space as the mode always starts it.
        if (c == PauseMenu::restart) start(g, prover, studioFolder);
        if (c == PauseMenu::toTitle) leave(g);
    } else if (escapePressed && !g.waitingForStart) {
        pause.open(g);
        // The menu holds the race as no replay could: this race is off the record.
        g.history.dropRace();
    } else if (escapePressed && !(under && under->takesEscape(g))) {
        // On the grid or the results there is no race to pause: Escape is the way back (unless
        // the menu opened over the grid has it).
        leave(g);
    } else {
        return false;
    }
    memcpy(hidden, keys.down, sizeof hidden);
    memset(keys.down, 0, sizeof keys.down);
    hiding = true;
    return true;
}

void TimeAttack::afterUpdate(Game& g) {
    if (hiding) memcpy(keys.down, hidden, sizeof hidden);
    hiding = false;
    if (under) under->afterUpdate(g);
}

// The course's studio run: its time, its checkpoints, and the truck it draws.
void TimeAttack::loadStudio(Game& g, const char* folder) {
    studioLoaded = studioHasSplits = false;
    studioSeconds = 0;
    medals = {0, 0, 0};
    CourseKey key = courseKeyOf(g);
    char path[512], why[128];
    if (key.hash)
        snprintf(path, sizeof path, "%s/%016llx.replay", folder, (unsigned long long)key.hash);
    else
        snprintf(path, sizeof path, "%s/course%d.replay", folder, key.index);
    FILE* f = fopen(path, "rb");
    if (!f) return;  // a course with no studio run: no studio ghost, no medals
    fclose(f);
    if (!studio->load(path, why, sizeof why)) {
        fprintf(stderr, "trailerdash: no studio ghost: %s %s\n", path, why);
        return;
    }
    bool sameCourse =
        key.hash ? studio->courseHash == key.hash : studio->courseHash == 0 && studio->course == key.index;
    if (!sameCourse || studio->setup.rivals != 0) {
        fprintf(stderr, "trailerdash: no studio ghost: %s is not a race alone on this course\n", path);
        return;
    }
    studioLoaded = true;
    studioFrame = 0;
    studioClock = 0;
    ReplayDrive* drive = new ReplayDrive();
    // Its time is what it drives to again, so the targets stand on the same proof as the records.
    if (prover && prover->drive(*studio, *drive) && drive->reproduced && drive->finished) {
        studioSeconds = drive->raceSeconds;
        studioSplits = drive->splits;
        studioHasSplits = true;
        medals = medalTargetsFor(studioSeconds);
    }
    delete drive;
}

// The best race alone here, driven again for its checkpoints.
void TimeAttack::loadBest(Game& g) {
    bestSeconds = 0;
    bestHasSplits = false;
    Replay* replay = new Replay();
    ReplayDrive* drive = new ReplayDrive();
    if (g.history.loadBest(g, *replay) && prover && prover->drive(*replay, *drive) && drive->reproduced &&
        drive->finished) {
        bestSeconds = drive->raceSeconds;
        best = drive->splits;
        bestHasSplits = true;
    }
    delete drive;
    delete replay;
}

void TimeAttack::update(Game& g) {
    if (!active) {
        if (under) under->update(g);
        return;
    }
    game = &g;
    if (pauseKeys(g) || !active) return;
    // On the title the course can still be chosen; a new one brings its own ghosts and targets.
    if (under && g.waitingForStart && !g.raceOver) {
        CourseKey before = courseKeyOf(g);
        int track = g.currentTrack;
        under->update(g);
        CourseKey after = courseKeyOf(g);
        if (after.hash != before.hash || after.index != before.index || g.currentTrack != track)
            start(g, prover, studioFolder);
    }
    // Space on the results races the same course again (the classic race would move on to the
    // next one), now against the new ghost.
    if (g.waitingForStart && g.raceOver && keys.isDown(VK_SPACE) && !g.help.isOpen() && g.trackCount > 0)
        g.currentTrack = (g.currentTrack + g.trackCount - 1) % g.trackCount;
    if (g.waitingForStart && !g.raceOver) {
        racing = false;
        return;
    }
    if (!racing && !g.waitingForStart) {
        // The race began in the last frame.
        racing = true;
        raceSeconds = 0;
        newBest = false;
        medal = noMedal;
        lastSplitAt = -1.0;
        now.begin(0);
        studioFrame = 0;
        studioClock = 0;
    }
    if (!racing) return;
    const Truck& t = g.trucks[0];
    double clock = g.raceClock.elapsedSeconds();
    if (now.note(checkpointProgress(t, g.tracks[g.currentTrack]), (float)clock)) {
        const SplitTimes& reference = bestHasSplits ? best : studioSplits;
        float delta;
        if ((bestHasSplits || studioHasSplits) && splitDelta(now, reference, now.count - 1, delta)) {
            lastSplit = delta;
            lastSplitAt = clock;
        }
    }
    const Player* user = g.players[0];
    if (raceSeconds == 0 && user && user->isFinished()) {
        raceSeconds = user->getTime();
        medal = medalFor(raceSeconds, medals);
        newBest = bestSeconds <= 0 || raceSeconds < bestSeconds;
        if (newBest) {
            bestSeconds = raceSeconds;
            best = now;
            bestHasSplits = true;
        }
        racing = false;
    }
}

void TimeAttack::draw(const Game& g) {
    if (!active) {
        if (under) under->draw(g);
        return;
    }
    if (g.help.isOpen()) return;
    if (!g.waitingForStart) {
        drawStudioGhost(g);
        drawSplit(g);
    } else if (g.raceOver) {
        drawResults(g);
        drawTargets();
    } else if (g.replayShow == Game::noReplay) {
        if (under) under->draw(g);
        drawTargets();
    }
    pause.draw();
    glColor3f(1, 1, 1);
}

// The studio's truck where its run stood at this point of the race clock, in the world view.
void TimeAttack::drawStudioGhost(const Game& g) {
    if (!studioLoaded || !game || !g.history.ghostShown) return;
    double clock = g.raceClock.elapsedSeconds();
    while (studioFrame + 1 < studio->frameCount) {
        double next = studioClock + (double)studio->frames[studioFrame + 1].counterDelta / (double)studio->frequency;
        if (next > clock) break;
        studioClock = next;
        studioFrame++;
    }
    const TruckPose& p = studio->frames[studioFrame].pose;
    studioTruck.texture = g.trucks[studioTruckPicture].texture;
    studioTruck.setPosition(p.x, p.y);
    studioTruck.cabHeading = p.cabHeading;
    studioTruck.trailerHeading = p.trailerHeading;
    studioTruck.steerAngle = p.steerAngle;
    glPushMatrix();
    game->views[0].camera.apply();
    studioTruck.draw(studioGhostAlpha);
    glPopMatrix();
}

// "Split" and the latest one: green ahead of the best, red behind it.
void TimeAttack::drawSplit(const Game& g) {
    drawRect(Game::panelShade, splitPanel[0], splitPanel[1], splitPanel[2], splitPanel[3]);
    textFont.setColour(1, 1, 0);
    printText(512, 372, "Split");
    double clock = g.raceClock.elapsedSeconds();
    if (lastSplitAt >= 0.0 && clock - lastSplitAt < splitShownSeconds) {
        // Under half a hundredth it reads as level, neither ahead nor behind.
        bool level = std::fabs(lastSplit) < 0.005f;
        if (level)
            textFont.setColour(1, 1, 1);
        else if (lastSplit < 0.0f)
            textFont.setColour(0.3f, 1, 0.3f);
        else
            textFont.setColour(1, 0.35f, 0.35f);
        printText(512, 342, "%c%.2f", level ? ' ' : lastSplit < 0.0f ? '-' : '+', std::fabs(lastSplit));
    } else {
        textFont.setColour(1, 1, 1);
        printText(512, 342, "CP %d", now.count);
    }
    textFont.setColour(1, 1, 1);
}

// The mode's name and the medal targets, in a column right of the title's and results' panels.
void TimeAttack::drawTargets() const {
    drawRect(Game::panelShade, targetsPanel[0], targetsPanel[1], targetsPanel[2], targetsPanel[3]);
    textFont.setColour(1, 1, 0);
    printText(532, 440, "Time");
    printText(532, 416, "attack");
    if (!(medals.gold > 0.0f)) return;
    const float times[3] = {medals.gold, medals.silver, medals.bronze};
    const Medal kinds[3] = {goldMedal, silverMedal, bronzeMedal};
    for (int i = 0; i < 3; i++) {
        char time[raceTimeTextSize];
        formatRaceTime(times[i], time);
        medalColour(kinds[i]);
        printText(532, 380 - 52 * i, "%s", medalName(kinds[i]));
        textFont.setColour(1, 1, 1);
        printText(532, 356 - 52 * i, "%s", time);
    }
    textFont.setColour(1, 1, 1);
}

void TimeAttack::drawResults(const Game& g) const {
    drawRect(Game::panelShade, resultsPanel[0], resultsPanel[1], resultsPanel[2], resultsPanel[3]);
    char time[raceTimeTextSize];
    textFont.setColour(1, 1, 0);
    printText(160, 290, "TIME ATTACK");
    medalColour(medal);
    printText(330, 290, "%s", medalName(medal));
    textFont.setColour(1, 1, 1);
    formatRaceTime(raceSeconds, time);
    printText(160, 260, "Time %s", time);
    formatRaceTime(bestSeconds, time);
    // Who holds the best, as the records name them.
    const char* by = g.history.raceHolder(g);
    printText(160, 230, "Best %s%s%.10s%s", time, by[0] ? " " : "", by, newBest ? " new" : "");
    textFont.setColour(1, 1, 0);
    printText(160, 150, newBest ? "SPACE races the new ghost" : "SPACE races the ghost");
    textFont.setColour(1, 1, 1);
}
