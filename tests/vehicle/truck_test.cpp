#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <vector>

#include "core/timing.h"
#include "glTest.h"
#include "globalsGuard.h"
#include "graphics/image.h"
#include "graphics/texture.h"
#include "math/vector.h"
#include "physics/physics.h"
#include "vehicle/truck.h"
#include "track/track.h"

// A real track whose single ground tile has an in-memory surface map of one value everywhere,
// and nine checkpoints on the cells (k mod 8, k / 8). Frame time and the clock are scripted.
class TruckTest : public ::testing::Test {
protected:
    void SetUp() override {
        frameTime = 0.01;
        perfFrequency = 1000;
        perfCounterNow = 0;
        setSurface(0);
        track.tileCount = 1;
        track.tilePhysMaps[0] = &surface;
        track.numCheckpoints = 9;
        for (int k = 0; k < 9; k++) track.checkpoints[k] = TileCoord{k % 8, k / 8};
    }
    void setSurface(unsigned char value) {
        surface.allocate(128, 128, 1);
        for (int i = 0; i < surface.size; i++) surface.data[i] = value;
    }
    // Puts the truck's hitch on the centre of checkpoint k's cell and lets it see the cell.
    void visit(Truck& t, int k) {
        t.setPosition(256.0f * (k % 8) + 128.0f, 256.0f * (k / 8) + 128.0f);
        t.update();
    }
    // A sub-step as the game runs it: integrate, the driver's controls, the truck, collisions.
    void driveStep(Physics& world, Truck& t, int throttle, float steerAmount) {
        world.beginStep();
        if (throttle) {
            t.selectGear(throttle);
            t.setThrottle(throttle);
        }
        if (steerAmount != 0.0f) t.steer(steerAmount);
        t.update();
        world.endStep();
    }
    // Gives the body a speed along (vx, vy) without an integrate.
    static void setMotion(Truck& t, float vx, float vy) {
        t.body.velocity[0] = vx;
        t.body.velocity[1] = vy;
        t.body.speed = (float)sqrt(vx * vx + vy * vy);
    }

    GlobalsGuard globals;
    Image surface;
    Track track;
};

TEST_F(TruckTest, ConstructionAndQuads) {
    Truck t;
    EXPECT_EQ(t.cabHeading, -90.0f);
    EXPECT_EQ(t.trailerHeading, -90.0f);
    EXPECT_EQ(t.nextCheckpoint, 1);
    EXPECT_EQ(t.bestLapTime, 1e11);
    EXPECT_EQ(t.body.boxCount, 2);
    Texture picture;
    t.setTexture(&picture);
    EXPECT_EQ(t.texture, &picture);
    // Cab 46 x 67 and trailer 49 x 115 centred on their origins, clockwise from the front left.
    EXPECT_FLOAT_EQ(t.cabQuad.vertices[0][0], -23.0f);
    EXPECT_FLOAT_EQ(t.cabQuad.vertices[0][1], 33.5f);
    EXPECT_FLOAT_EQ(t.cabQuad.vertices[2][0], 23.0f);
    EXPECT_FLOAT_EQ(t.cabQuad.vertices[2][1], -33.5f);
    EXPECT_FLOAT_EQ(t.trailerQuad.vertices[0][0], -24.5f);
    EXPECT_FLOAT_EQ(t.trailerQuad.vertices[0][1], 57.5f);
    EXPECT_FLOAT_EQ(t.trailerQuad.vertices[1][0], 24.5f);
    EXPECT_FLOAT_EQ(t.trailerQuad.vertices[3][1], -57.5f);
    EXPECT_FLOAT_EQ(t.wheelQuad.vertices[0][0], -2.5f);
    EXPECT_FLOAT_EQ(t.wheelQuad.vertices[0][1], -5.5f);
    EXPECT_FLOAT_EQ(t.wheelQuad.vertices[2][1], 5.5f);
    EXPECT_FLOAT_EQ(t.cabQuad.texCoords[0][0], 4.0f / 127);
    EXPECT_FLOAT_EQ(t.cabQuad.texCoords[0][1], 119.0f / 127);
    EXPECT_FLOAT_EQ(t.cabQuad.texCoords[2][0], 50.0f / 127);
    EXPECT_FLOAT_EQ(t.cabQuad.texCoords[2][1], 52.0f / 127);
    EXPECT_FLOAT_EQ(t.trailerQuad.texCoords[1][0], 114.0f / 127);
    EXPECT_FLOAT_EQ(t.trailerQuad.texCoords[1][1], 117.0f / 127);
}

TEST_F(TruckTest, TurningNeedsMotionAndReversesWithIt) {
    Truck t;
    t.setTrack(&track);
    t.update();  // points the body's heading along the truck (+x)
    t.steerAngle = 20.0f;
    for (int i = 0; i < 5; i++) t.update();
    EXPECT_EQ(t.cabHeading, -90.0f);
    EXPECT_EQ(t.trailerHeading, -90.0f);

    // One unit of travel with the wheels 20 degrees left turns the cab by 20 / 64.
    Truck fwd, back;
    for (Truck* k : {&fwd, &back}) {
        k->update();
        k->steerAngle = 20.0f;
    }
    setMotion(fwd, 100, 0);
    setMotion(back, -100, 0);
    fwd.update();
    back.update();
    printf("cab after 1 unit: forward %.4f, reverse %.4f\n", fwd.cabHeading, back.cabHeading);
    EXPECT_NEAR(fwd.cabHeading, -90.0f + 20.0f / 64.0f, 1e-5f);
    EXPECT_NEAR(back.cabHeading, -90.0f - 20.0f / 64.0f, 1e-5f);
    // The trailer follows the wheels by dist / 280 of the difference.
    EXPECT_NEAR(fwd.trailerHeading, -90.0f + (20.0f + 20.0f / 64.0f) / 280.0f, 1e-5f);
}

// At 81 degrees of bend the trailer no longer follows; at 79 it does.
TEST_F(TruckTest, TrailerStopsFollowingPastEightyDegrees) {
    Truck bent, nearly;
    bent.cabHeading = -90.0f + 81.0f;
    nearly.cabHeading = -90.0f + 79.0f;
    for (Truck* k : {&bent, &nearly}) {
        k->body.setHeading(0, 1);
        setMotion(*k, 0, 100);
        k->update();
    }
    EXPECT_EQ(bent.trailerHeading, -90.0f);
    EXPECT_NEAR(nearly.trailerHeading, -90.0f + 79.0f / 280.0f, 1e-5f);
    EXPECT_EQ(bent.cabHeading, -9.0f);
}

// Reversing at full lock jackknifes the truck; past 80 degrees the trailer stops following, but
// the cab must not fold on under it: at the coupling's stop the trailer is carried round.
TEST_F(TruckTest, ReversingAtFullLockStopsTheCabAtTheCouplingsStop) {
    Physics world;
    Truck t;
    t.setTrack(&track);
    t.resetForRace(world);
    t.setPosition(1024, 1024);
    float worst = 0.0f;
    for (int i = 0; i < 1500; i++) {
        driveStep(world, t, -1, 3.0f);
        float bend = std::fabs(angleDifference(t.cabHeading, t.trailerHeading));
        if (bend > worst) worst = bend;
    }
    printf("15 s reversing at full lock: speed %.0f, largest bend %.3f degrees\n", t.getSpeed(), worst);
    ASSERT_GT(t.getSpeed(), 50.0f) << "the truck really reversed";
    EXPECT_GT(worst, maxTrailerBend) << "it did jackknife past the follow limit";
    EXPECT_LE(worst, maxCabBend + 1e-3f);
    // A wall shoving a truck bent near the stop backwards, its wheels turned to fold it further.
    Truck shoved;
    shoved.cabHeading = -90.0f + 89.5f;
    shoved.steerAngle = -21.0f;
    shoved.body.setHeading(0, 1);
    setMotion(shoved, 0, -400);
    for (int i = 0; i < 200; i++) shoved.update();
    EXPECT_LE(std::fabs(angleDifference(shoved.cabHeading, shoved.trailerHeading)), maxCabBend + 1e-3f);
}

// 250 of power on friction 0.6 gives 4250 / (9 * 0.6) = 787 after the engine force; the speed an
// integrate measures comes after the drag of a 7.5 ms sub-step, 787 * (1 - 5.4 * 0.0075).
TEST_F(TruckTest, FullPowerLevelsOutWhereEngineMeetsDrag) {
    const unsigned char surfaces[2] = {0, 100};
    const float friction[2] = {0.6f, 0.8f};
    for (int s = 0; s < 2; s++) {
        setSurface(surfaces[s]);
        frameTime = 0.0075;
        Physics world;
        Truck t;
        t.setTrack(&track);
        t.resetForRace(world);
        t.setPosition(1024, 1024);
        for (int i = 0; i < 4000; i++) driveStep(world, t, 1, 0);
        float afterEngine = (float)vectorLength(t.body.velocity);
        float top = 250 * 17 / (9 * friction[s]);
        printf("friction %.2f: power %.1f, velocity after engine %.2f (expect %.2f), getSpeed %.2f (expect %.2f)\n",
               t.body.drag, t.getPower(), afterEngine, top, t.getSpeed(), top * (1 - 9 * friction[s] * 0.0075f));
        EXPECT_FLOAT_EQ(t.body.drag, friction[s]);
        EXPECT_FLOAT_EQ(t.getPower(), 250.0f);
        EXPECT_NEAR(afterEngine, top, 1.0f);
        EXPECT_NEAR(t.getSpeed(), top * (1 - 9 * friction[s] * 0.0075f), 1.0f);
        // Straight ahead along +x the whole way.
        EXPECT_NEAR(t.body.velocity[1], 0.0f, 1e-3f);
        EXPECT_GT(t.getX(), 1024.0f);
    }
}

TEST_F(TruckTest, GearsGateTheThrottle) {
    Truck t;
    t.setThrottle(1);
    EXPECT_EQ(t.powerTarget, 0.0f);
    t.update();
    EXPECT_EQ(t.getPower(), 0.0f);

    t.power = 0.5f;
    t.selectGear(-1);
    EXPECT_EQ(t.gear, 0);
    t.power = 0.0f;
    t.selectGear(-1);
    EXPECT_EQ(t.gear, -1);
    t.setThrottle(-1);
    EXPECT_EQ(t.powerTarget, -100.0f);
    t.selectGear(0);
    EXPECT_EQ(t.gear, 1);
    t.setThrottle(1);
    EXPECT_EQ(t.powerTarget, 250.0f);
}

// Targets are consumed each sub-step: 120 per second towards them, 200 back to zero.
TEST_F(TruckTest, SteeringAndPowerRespondAtTheirRates) {
    Truck t;
    t.steer(-3);
    EXPECT_FLOAT_EQ(t.steerTarget, -21.0f);
    t.update();
    EXPECT_FLOAT_EQ(t.steerAngle, -1.2f);
    EXPECT_EQ(t.steerTarget, 0.0f);
    for (int i = 0; i < 9; i++) {
        t.steer(-3);
        t.update();
    }
    EXPECT_NEAR(t.steerAngle, -12.0f, 1e-4f);
    t.update();
    EXPECT_NEAR(t.steerAngle, -10.0f, 1e-4f);
    for (int i = 0; i < 10; i++) t.update();
    EXPECT_EQ(t.steerAngle, 0.0f);
    // Never past the target.
    for (int i = 0; i < 30; i++) {
        t.steer(3);
        t.update();
    }
    EXPECT_FLOAT_EQ(t.steerAngle, 21.0f);

    t.selectGear(1);
    t.setThrottle(1);
    t.update();
    EXPECT_FLOAT_EQ(t.getPower(), 1.2f);
    t.update();
    EXPECT_EQ(t.getPower(), 0.0f);
}

TEST_F(TruckTest, CheckpointsCountOnlyInOrderAndLapsAreTimed) {
    Truck t;
    t.setTrack(&track);
    t.resetLapTimer();
    visit(t, 2);
    EXPECT_EQ(t.nextCheckpoint, 1);
    EXPECT_EQ(t.getLastCheckpoint(), 0);
    for (int k = 1; k <= 8; k++) {
        visit(t, k);
        visit(t, k);  // standing on it counts once
    }
    EXPECT_EQ(t.getLastCheckpoint(), 8);
    EXPECT_EQ(t.nextCheckpoint, 0);
    EXPECT_EQ(t.getLapCount(), 0);
    perfCounterNow = 65432;
    EXPECT_FLOAT_EQ(t.getLapTime(), 65.432f);
    visit(t, 0);
    EXPECT_EQ(t.getLapCount(), 1);
    EXPECT_EQ(t.nextCheckpoint, 1);
    EXPECT_DOUBLE_EQ(t.lastLapTime, 65.432);
    EXPECT_DOUBLE_EQ(t.bestLapTime, 65.432);
    EXPECT_EQ(t.getLapTime(), 0.0f);

    // A slower lap is the last but not the best; a faster one is both.
    const int64_t laps[2] = {70000, 60000};
    for (int64_t lap : laps) {
        for (int k = 1; k <= 8; k++) visit(t, k);
        perfCounterNow += lap;
        visit(t, 0);
    }
    EXPECT_EQ(t.getLapCount(), 3);
    EXPECT_FLOAT_EQ(t.getLastLapTime(), 60.0f);
    EXPECT_FLOAT_EQ(t.getBestLapTime(), 60.0f);
    // Off the grid is on no checkpoint.
    t.setPosition(-500, -500);
    t.update();
    EXPECT_EQ(t.nextCheckpoint, 1);
}

// Without a track the body's drag stays as it is and nothing counts.
TEST_F(TruckTest, NullTrackLeavesTheDragAndCountsNothing) {
    Truck t;
    t.body.setDrag(0.45f);
    t.setPosition(128, 128);
    t.update();
    EXPECT_EQ(t.body.drag, 0.45f);
    EXPECT_EQ(t.nextCheckpoint, 1);
}

// The body integrates finite motion over a finite step, so a truck nowhere, at an infinite
// speed, with a broken step or a NaN wheel angle is a bug upstream: a debug build stops there.
using TruckDeathTest = TruckTest;

TEST_F(TruckDeathTest, NonFiniteStateStopsADebugBuild) {
#ifdef NDEBUG
    GTEST_SKIP() << "assertions are compiled out of this build";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    float nan = std::numeric_limits<float>::quiet_NaN();
    Truck lost;
    lost.setTrack(&track);
    lost.setPosition(nan, 100);
    EXPECT_DEATH(lost.update(), "assertion failed: std::isfinite.x.");
    lost.setPosition(100, 100);
    lost.body.speed = std::numeric_limits<float>::infinity();
    EXPECT_DEATH(lost.update(), "assertion failed: .*getSpeed");
    lost.body.speed = 0.0f;
    lost.steerAngle = nan;
    EXPECT_DEATH(lost.update(), "assertion failed: .*cabHeading");
    lost.steerAngle = 10.0f;
    frameTime = std::numeric_limits<double>::quiet_NaN();
    EXPECT_DEATH(lost.update(), "assertion failed: .*dt");
#endif
}

TEST_F(TruckTest, ResetForRaceRestoresTheStartAndRegisters) {
    Physics world;
    Truck t;
    t.cabHeading = 12;
    t.trailerHeading = 40;
    t.gear = 1;
    t.power = 100;
    t.steerAngle = 5;
    t.lapCount = 3;
    t.nextCheckpoint = 4;
    t.lastCheckpoint = 3;
    t.bestLapTime = 50;
    t.lastLapTime = 60;
    t.racePosition = 4;
    setMotion(t, 300, 0);
    t.body.prevVelocity[0] = 300;
    int64_t lapStart = t.lapTimer.start;
    perfCounterNow = 5000;
    t.resetForRace(world);
    EXPECT_EQ(t.cabHeading, -90.0f);
    EXPECT_EQ(t.trailerHeading, -90.0f);
    EXPECT_EQ(t.getX(), 0.0f);
    EXPECT_EQ(t.getY(), 55.0f);
    EXPECT_EQ(t.gear, 0);
    EXPECT_EQ(t.power, 0.0f);
    EXPECT_EQ(t.steerAngle, 0.0f);
    EXPECT_EQ(t.lapCount, 0);
    EXPECT_EQ(t.nextCheckpoint, 1);
    EXPECT_EQ(t.lastCheckpoint, 0);
    EXPECT_EQ(t.bestLapTime, 1e11);
    EXPECT_EQ(t.lastLapTime, 0.0);
    EXPECT_EQ(t.getRacePosition(), 1);
    EXPECT_EQ(t.lapTimer.start, lapStart);
    EXPECT_EQ(world.movingCount, 1);
    EXPECT_EQ(world.movingObjects[0], &t.body);
    // The truck stays on its grid slot: no speed is left over from the last race.
    t.setPosition(500, 500);
    world.beginStep();
    EXPECT_EQ(t.getX(), 500.0f);
    t.resetForRace(nullptr);
    EXPECT_EQ(world.movingCount, 1);
}

TEST_F(TruckTest, AverageHeadingIsMidwayAcrossTheWrap) {
    Truck t;
    t.cabHeading = 170;
    t.trailerHeading = -170;
    EXPECT_FLOAT_EQ(t.averageHeading(), 180.0f);
    t.cabHeading = -80;
    t.trailerHeading = -100;
    EXPECT_FLOAT_EQ(t.averageHeading(), -90.0f);
}

// Two trucks side by side, driven into each other, are pushed apart by their boxes.
TEST_F(TruckTest, TrucksCollideThroughTheirBoxes) {
    Physics world;
    Truck a, b;
    a.resetForRace(world);
    b.resetForRace(world);
    a.setPosition(0, 0);
    b.setPosition(0, 40);
    a.update();
    b.update();
    BoxPairList list;
    EXPECT_TRUE(a.body.findOverlappingBoxes(b.body, list));
    world.endStep();
    printf("after one push: a.y %.3f, b.y %.3f\n", a.getY(), b.getY());
    EXPECT_LT(a.getY(), 0.0f);
    EXPECT_GT(b.getY(), 40.0f);
}

// The boxes sit where the picture is drawn: hand-computed for the start pose.
TEST_F(TruckTest, BoxCornersAtTheStartPose) {
    Truck t;
    t.setPosition(0, 55);
    t.update();
    // Heading -90 turns local (x, y) to (y, -x); the cab is centred 33 ahead of the hitch.
    EXPECT_NEAR(t.body.box(0).corners[0][0], 33 + 33.5f, 1e-4f);
    EXPECT_NEAR(t.body.box(0).corners[0][1], 55 + 23.0f, 1e-4f);
    EXPECT_NEAR(t.body.box(0).corners[2][0], 33 - 33.5f, 1e-4f);
    EXPECT_NEAR(t.body.box(0).corners[2][1], 55 - 23.0f, 1e-4f);
    EXPECT_NEAR(t.body.box(1).corners[0][0], -43 + 57.5f, 1e-4f);
    EXPECT_NEAR(t.body.box(1).corners[0][1], 55 + 24.5f, 1e-4f);
    EXPECT_NEAR(t.body.box(1).corners[3][0], -43 - 57.5f, 1e-4f);
}

using TruckGL = GLTest;

struct Pt2 {
    double x, y;
};

// Captures draw's polygons with GL feedback and maps them back to world coordinates: the cab
// and trailer polygons must be exactly the collision boxes, for random poses.
TEST_F(TruckGL, DrawnQuadsAreTheCollisionBoxes) {
    GlobalsGuard globals;
    frameTime = 0.01;
    GLdouble model[16], proj[16];
    GLint view[4];
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetIntegerv(GL_VIEWPORT, view);
    std::mt19937 rng(99);
    std::uniform_real_distribution<float> pos(-60, 60), turn(-180, 180), wheel(-21, 21);
    float worst = 0;
    for (int trial = 0; trial < 20; trial++) {
        Truck t;
        t.setPosition(pos(rng), pos(rng));
        t.cabHeading = turn(rng);
        t.trailerHeading = t.cabHeading + wheel(rng) * 3;
        t.update();
        t.steerAngle = wheel(rng);
        static GLfloat buffer[1024];
        glFeedbackBuffer(1024, GL_2D, buffer);
        glRenderMode(GL_FEEDBACK);
        t.draw();
        int n = glRenderMode(GL_RENDER);
        // The drawn vertices in world units, polygon by polygon. The driver may split each quad
        // into two triangles, so a quad is known by its set of distinct vertices.
        std::vector<std::vector<Pt2>> polygons;
        for (int i = 0; i < n;) {
            ASSERT_EQ(buffer[i], (GLfloat)GL_POLYGON_TOKEN);
            int count = (int)buffer[i + 1];
            std::vector<Pt2> p;
            for (int v = 0; v < count; v++) {
                GLdouble x, y, z;
                gluUnProject(buffer[i + 2 + 2 * v], buffer[i + 3 + 2 * v], 0, model, proj, view, &x, &y, &z);
                p.push_back(Pt2{x, y});
            }
            polygons.push_back(p);
            i += 2 + 2 * count;
        }
        // Wheel, wheel, cab, trailer.
        ASSERT_TRUE(polygons.size() == 4 || polygons.size() == 8) << polygons.size() << " polygons";
        size_t perQuad = polygons.size() / 4;
        for (int b = 0; b < 2; b++) {
            std::vector<Pt2> drawn;
            for (size_t k = 0; k < perQuad; k++)
                for (const Pt2& v : polygons[(2 + b) * perQuad + k]) drawn.push_back(v);
            const PhysBox& box = t.body.box(b);
            // Every corner is drawn, and every drawn vertex is a corner.
            for (int c = 0; c < 4; c++) {
                double best = 1e9;
                for (const Pt2& v : drawn)
                    best = fmin(best, fmax(fabs(v.x - box.corners[c][0]), fabs(v.y - box.corners[c][1])));
                worst = fmaxf(worst, (float)best);
                EXPECT_LT(best, 0.01) << "trial " << trial << " box " << b << " corner " << c;
            }
            for (const Pt2& v : drawn) {
                double best = 1e9;
                for (int c = 0; c < 4; c++)
                    best = fmin(best, fmax(fabs(v.x - box.corners[c][0]), fabs(v.y - box.corners[c][1])));
                EXPECT_LT(best, 0.01) << "trial " << trial << " box " << b;
            }
        }
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
    }
    printf("largest drawn-corner distance from the box: %g\n", worst);
}
