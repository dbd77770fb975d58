// The closest racing computer driver: it follows the course's racing line (track/racingLine.h)
// by pure pursuit, steering in proportion for the arc that meets the line a little ahead, and
// lifts off (then brakes) where a bend ahead is sharper than its speed allows.
#include <cmath>

#include "math/vector.h"
#include "race/player.h"
#include "track/track.h"
#include "vehicle/truck.h"

// Where on the line it looks for itself: a few steps back (a truck knocked back) and ahead.
static const int searchBackSteps = 4;
static const int searchAheadSteps = 24;
// Speed over its limit before it brakes rather than only lifting off, units per second.
static const float brakeMarginSpeed = 40.0f;

float PlayerAI::lineSpeedLimit(int index, float speed) const {
    const RacingLine& line = track->racingLine();
    float limit = topSpeed();
    int steps = (int)(speed * style.bendLookSeconds / RacingLine::stepUnits) + 1;
    for (int k = 0; k <= steps; k++) {
        float bend = std::fabs(line.curvature(index + k));
        if (bend <= 0.0f) continue;
        float here = std::sqrt(style.bendGrip / bend) + style.slowingPerUnit * RacingLine::stepUnits * (float)k;
        if (here < limit) limit = here;
    }
    return limit;
}

void PlayerAI::driveLine() {
    const RacingLine& line = track->racingLine();
    float x = truck->getX(), y = truck->getY();
    if (lineIndex < 0)
        lineIndex = line.nearest(x, y, 0, line.count());
    else
        lineIndex = line.nearest(x, y, lineIndex - searchBackSteps, searchBackSteps + searchAheadSteps);
    float speed = truck->getSpeed();
    // The point its sight reaches along the line, between two of its steps.
    float ahead = (style.lineSightUnits + style.lineSightSeconds * speed) / RacingLine::stepUnits;
    int whole = (int)ahead;
    float part = ahead - (float)whole;
    int a = lineIndex + whole;
    float target[2] = {line.x(a) + (line.x(a + 1) - line.x(a)) * part, line.y(a) + (line.y(a + 1) - line.y(a)) * part};
    float d[2] = {target[0] - x, target[1] - y};
    float distance = std::sqrt(d[0] * d[0] + d[1] * d[1]);
    float diff = angleDifference(headingOfVector(d), truck->averageHeading());
    // The arc from the truck to the target bends by 2 sin(diff) / distance, and the cab turns by
    // its wheel angle over cabTurnLength; the gain makes up for the trailer and the slide, which
    // turn the truck's path later than its cab.
    if (distance > 1.0f && std::fabs(diff) > style.steerDeadbandDegrees) {
        float bend = 2.0f * std::sin(diff * (float)degToRad) / distance;
        float amount = style.lineSteerGain * bend * cabTurnLength * (float)radToDeg / steerToWheelAngle;
        if (amount > fullSteer) amount = fullSteer;
        if (amount < -fullSteer) amount = -fullSteer;
        truck->steer(amount);
    }
    float limit = lineSpeedLimit(lineIndex, speed);
    if (speed < limit) {
        truck->selectGear(1);
        truck->setThrottle(1);
    } else if (speed > limit + brakeMarginSpeed && truck->getPower() <= 0.0f) {
        // Off the power first (it falls faster to nothing than under the brake), then brake.
        truck->setThrottle(-1);
    }
}
