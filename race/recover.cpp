// Getting unstuck: R (player two's E) lifts a human's truck back onto the road at its last
// checkpoint. It costs a second of waiting where it stands and a standing start, so it is never
// quicker than driving. A truck crawling off the road or against something for a while is told
// about its key once a race.
#include <GL/gl.h>
#include <cstdio>

#include "graphics/font.h"
#include "graphics/rect.h"
#include "graphics/text.h"
#include "physics/physBox.h"
#include "race/game.h"
#include "race/player.h"
#include "track/course.h"
#include "track/roadPath.h"

// Below this speed (units per second, 12 on the HUD) a truck off the road or pushing against
// something is getting nowhere.
static const float crawlSpeed = 96.0f;
// Asphalt and kerbs drag 0.6 to 0.68; the grass and verges over 1.
static const float offRoadDrag = 0.9f;
static const double stuckHintAfterSeconds = 4.0;
static const double stuckHintShownSeconds = 5.0;

// Places tried in turn round the recovery point, (along the road, to its left) in world units:
// the point itself, then behind and beside it, so a truck standing there is not hit; the last
// ones a truck's width aside with the hitch still on the asphalt, and ahead only when nothing
// else is free.
static const float spotOffsets[][2] = {
    {0, 0}, {-60, 0}, {0, 40}, {0, -40}, {-120, 0}, {0, 60}, {0, -60}, {-120, 60}, {-120, -60}, {60, 0}, {120, 0},
};
// On the grid, (behind, towards the other row) from the truck's own grid place.
static const float gridOffsets[][2] = {
    {0, 0}, {-60, 0}, {-120, 0}, {0, 80}, {-60, 80}, {-120, 80},
};
static const int spotCount = (int)(sizeof spotOffsets / sizeof spotOffsets[0]);
static const int gridSpotCount = (int)(sizeof gridOffsets / sizeof gridOffsets[0]);

void Game::requestRecover(int human) {
    if (human < 0 || human >= humanCount || human >= maxHumans) return;
    RecoverWatch& r = recovery[human];
    if (waitingForStart || paused || r.at >= 0.0) return;
    if (players[human] && players[human]->isFinished()) return;
    r.at = raceClock.elapsedSeconds() + recoverDelaySeconds;
    // Told, or found out: either way the hint has nothing left to say.
    r.hintGiven = true;
    r.hintUntil = -1.0;
}

bool Game::findRecoverSpot(int human, float& x, float& y, float& heading) const {
    const Truck& t = trucks[human];
    if (!t.track) return false;
    // Before the first checkpoint the race has counted nothing yet: the truck goes back to
    // where it started, its own place on the grid, so no recovery ever gains ground.
    bool onGrid = t.lapCount == 0 && t.lastCheckpoint == 0;
    for (int k = 0; k < (onGrid ? gridSpotCount : spotCount); k++) {
        const float* offset = onGrid ? gridOffsets[k] : spotOffsets[k];
        RoadSpot spot;
        if (onGrid) {
            gridPlaceNear(t.track->startGrid, gridSlotOf(human), offset[0], offset[1], spot.x, spot.y, spot.heading);
        } else if (!roadSpotAt(*t.track, t.lastCheckpoint, offset[0], offset[1], spot)) {
            return false;
        }
        PhysBox boxes[2];
        t.boxesAt(spot.x, spot.y, spot.heading, boxes);
        bool taken = false;
        for (int i = 0; i < physics.movingCount + physics.staticCount && !taken; i++) {
            bool moving = i < physics.movingCount;
            const PhysicsObject* other = moving ? physics.movingObjects[i] : physics.staticObjects[i - physics.movingCount];
            if (!other || other == &t.body) continue;
            for (int a = 0; a < 2 && !taken; a++)
                for (int b = 0; b < other->boxCount && !taken; b++) taken = boxes[a].overlaps(other->box(b));
        }
        if (!taken) {
            x = spot.x;
            y = spot.y;
            heading = spot.heading;
            return true;
        }
    }
    return false;
}

// Once a frame after the sub-steps, when not paused: player one's truck, then player two's.
void Game::watchRecover() {
    for (int h = 0; h < maxHumans; h++) {
        // A human no longer racing starts the next race with nothing asked.
        if (h >= humanCount) recovery[h] = RecoverWatch();
        else watchRecoverOf(h);
    }
}

void Game::watchRecoverOf(int human) {
    Truck& t = trucks[human];
    RecoverWatch& r = recovery[human];
    double kicks = t.body.collisionKickTotal;
    bool touched = kicks != r.kicksSeen;
    r.kicksSeen = kicks;
    if (waitingForStart || !t.track) {
        // Between races: the next one starts with nothing asked and the hint still to give.
        r.at = -1.0;
        r.stuckSeconds = 0.0;
        r.hintUntil = -1.0;
        r.hintGiven = false;
        return;
    }
    double now = raceClock.elapsedSeconds();
    if (r.at >= 0.0) {
        float x, y, heading;
        // A place still taken keeps the truck waiting a frame longer rather than dropping it
        // onto another truck.
        if (now >= r.at && findRecoverSpot(human, x, y, heading)) {
            t.putBack(x, y, heading);
            r.at = -1.0;
            r.stuckSeconds = 0.0;
        }
        return;
    }
    bool offRoad = t.track->frictionAt(t.getX(), t.getY()) > offRoadDrag;
    if (t.getSpeed() < crawlSpeed && (offRoad || touched)) {
        r.stuckSeconds += frameTime;
    } else {
        r.stuckSeconds = 0.0;
    }
    if (!r.hintGiven && r.stuckSeconds >= stuckHintAfterSeconds) {
        r.hintGiven = true;
        r.hintUntil = now + stuckHintShownSeconds;
    }
}

const char* Game::recoverCueText(int human) const {
    static char hint[maxHumans][48];
    if (human < 0 || human >= maxHumans) return nullptr;
    const RecoverWatch& r = recovery[human];
    if (r.at >= 0.0) return "Recovering...\n";
    if (raceClock.elapsedSeconds() >= r.hintUntil) return nullptr;
    snprintf(hint[human], sizeof hint[human], "Stuck? Press %.15s to recover\n", recoverKeyName[human]);
    return hint[human];
}

// In the cue line over the HUD; true when it used the line.
bool Game::drawRecoverCue() {
    const char* text = recoverCueText(0);
    if (!text) return false;
    drawRect(panelShade, 110, 110, 530, 160);
    textFont.setColour(1, 1, 0);
    printText(124, 120, "%s", text);
    textFont.setColour(1, 1, 1);
    glColor3f(1, 1, 1);
    return true;
}
