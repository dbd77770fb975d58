#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "physics/physBox.h"

// An axis-aligned box from (x0, y0) to (x1, y1), corners clockwise from the bottom left.
static PhysBox rectBox(float x0, float y0, float x1, float y1) {
    PhysBox b;
    b.update(x0, y0, x0, y1, x1, y1, x1, y0);
    return b;
}

TEST(PhysBox, UpdateDerivesEdgesOutwardLinesAndBounds) {
    PhysBox b = rectBox(10, 20, 30, 60);
    EXPECT_EQ(b.minX, 10.0f);
    EXPECT_EQ(b.maxX, 30.0f);
    EXPECT_EQ(b.minY, 20.0f);
    EXPECT_EQ(b.maxY, 60.0f);
    EXPECT_EQ(b.edges[0][0], 0.0f);
    EXPECT_EQ(b.edges[0][1], 40.0f);
    // Edge 0 is the left side: its normal points left, and the centre lies 10 inside it.
    EXPECT_FLOAT_EQ(b.edgeLines[0][0], -1.0f);
    EXPECT_FLOAT_EQ(b.edgeLines[0][1], 0.0f);
    for (int i = 0; i < 4; i++) {
        const float* l = b.edgeLines[i];
        float centre = l[0] * 20.0f + l[1] * 40.0f + l[2];
        EXPECT_LT(centre, 0.0f) << "edge " << i;
        EXPECT_FLOAT_EQ(l[0] * l[0] + l[1] * l[1], 1.0f) << "edge " << i;
    }
}

TEST(PhysBox, IdenticalBoxesOverlapTouchingBoxesDoNot) {
    PhysBox a = rectBox(0, 0, 10, 10);
    PhysBox same = rectBox(0, 0, 10, 10);
    PhysBox touching = rectBox(10, 0, 20, 10);
    EXPECT_TRUE(a.overlaps(same));
    EXPECT_FALSE(a.boundsDisjoint(touching));
    EXPECT_FALSE(a.overlaps(touching));
    EXPECT_FALSE(touching.overlaps(a));
}

// Penetration below the 0.01 tolerance is forgiven; a little more is not.
TEST(PhysBox, ToleranceDecidesShallowOverlaps) {
    PhysBox a = rectBox(0, 0, 10, 10);
    PhysBox shallow = rectBox(10 - 0.005f, 0, 20, 10);
    PhysBox deeper = rectBox(10 - 0.02f, 0, 20, 10);
    EXPECT_FALSE(a.overlaps(shallow));
    EXPECT_FALSE(shallow.overlaps(a));
    EXPECT_TRUE(a.overlaps(deeper));
    EXPECT_TRUE(deeper.overlaps(a));
}

// Two diamonds whose bounds intersect but whose facing edges are 7 units apart.
TEST(PhysBox, DiagonalNeighboursAreSeparatedByAnEdgeNotTheBounds) {
    PhysBox a, b;
    a.update(0, 10, 10, 0, 0, -10, -10, 0);
    b.update(15, 25, 25, 15, 15, 5, 5, 15);
    EXPECT_FALSE(a.boundsDisjoint(b));
    EXPECT_TRUE(a.hasSeparatingEdge(b));
    EXPECT_FALSE(a.overlaps(b));
    EXPECT_FALSE(b.overlaps(a));
}

TEST(PhysBox, ZeroEdgeAndUnsetBoxesSeparateFromEverything) {
    PhysBox big = rectBox(-100, -100, 100, 100);
    PhysBox pinched;
    pinched.update(0, 0, 0, 0, 10, 10, 10, 0);
    EXPECT_EQ(pinched.edgeLines[0][0], 0.0f);
    EXPECT_EQ(pinched.edgeLines[0][1], 0.0f);
    EXPECT_EQ(pinched.edgeLines[0][2], 0.0f);
    EXPECT_TRUE(pinched.hasSeparatingEdge(big));
    EXPECT_FALSE(pinched.overlaps(big));
    EXPECT_FALSE(big.overlaps(pinched));
    // A box nobody has placed yet sits at the origin with no size and stops nothing.
    PhysBox unset;
    EXPECT_FALSE(unset.overlaps(big));
    EXPECT_FALSE(big.overlaps(unset));
}

// A box with NaN or infinite corners must neither overlap a sound box nor produce NaN lines.
TEST(PhysBox, NonFiniteCornersMakeAnInertBox) {
    float nan = std::numeric_limits<float>::quiet_NaN();
    float inf = std::numeric_limits<float>::infinity();
    PhysBox sound = rectBox(-10, -10, 10, 10);
    PhysBox bad[3];
    bad[0].update(nan, nan, nan, nan, nan, nan, nan, nan);
    bad[1].update(-5, -5, -5, 5, 5, 5, nan, -5);
    bad[2].update(-inf, -5, -5, inf, 5, 5, 5, -5);
    for (int k = 0; k < 3; k++) {
        EXPECT_FALSE(sound.overlaps(bad[k])) << k;
        EXPECT_FALSE(bad[k].overlaps(sound)) << k;
        for (int i = 0; i < 4; i++)
            for (int c = 0; c < 3; c++) EXPECT_FALSE(std::isnan(bad[k].edgeLines[i][c])) << k << " " << i;
    }
}

// ---- Independent reference: exact convex polygon intersection in double precision ----

struct Pt {
    double x, y;
};

// Sutherland-Hodgman: clips subject by each edge of the clockwise convex polygon clip.
static std::vector<Pt> clipPolygon(std::vector<Pt> subject, const std::vector<Pt>& clip) {
    for (size_t e = 0; e < clip.size() && !subject.empty(); e++) {
        Pt a = clip[e], b = clip[(e + 1) % clip.size()];
        // Inside a clockwise polygon is to the right of each edge.
        auto side = [&](Pt p) { return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x); };
        std::vector<Pt> out;
        for (size_t i = 0; i < subject.size(); i++) {
            Pt p = subject[i], q = subject[(i + 1) % subject.size()];
            double sp = side(p), sq = side(q);
            if (sp <= 0) out.push_back(p);
            if ((sp < 0 && sq > 0) || (sp > 0 && sq < 0)) {
                double t = sp / (sp - sq);
                out.push_back(Pt{p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)});
            }
        }
        subject = out;
    }
    return subject;
}

static double polygonArea(const std::vector<Pt>& p) {
    double s = 0;
    for (size_t i = 0; i < p.size(); i++) {
        const Pt &a = p[i], &b = p[(i + 1) % p.size()];
        s += a.x * b.y - b.x * a.y;
    }
    return fabs(s) * 0.5;
}

// The smallest width of a convex polygon is found perpendicular to one of its edges.
static double minimumWidth(const std::vector<Pt>& p) {
    double best = 1e300;
    for (size_t i = 0; i < p.size(); i++) {
        Pt a = p[i], b = p[(i + 1) % p.size()];
        double len = hypot(b.x - a.x, b.y - a.y);
        if (len < 1e-9) continue;
        double far = 0;
        for (const Pt& q : p) far = fmax(far, fabs((b.x - a.x) * (q.y - a.y) - (b.y - a.y) * (q.x - a.x)) / len);
        best = fmin(best, far);
    }
    return best == 1e300 ? 0.0 : best;
}

// A rectangle of half-size (hw, hh) about (cx, cy) turned by angle radians, corners clockwise.
static void randomRect(std::mt19937& rng, PhysBox& box, std::vector<Pt>& poly) {
    std::uniform_real_distribution<float> centre(-40.0f, 40.0f), half(0.5f, 30.0f), turn(-3.1416f, 3.1416f);
    float cx = centre(rng), cy = centre(rng), hw = half(rng), hh = half(rng), a = turn(rng);
    float c = cosf(a), s = sinf(a);
    const float local[4][2] = {{-hw, -hh}, {-hw, hh}, {hw, hh}, {hw, -hh}};
    float w[4][2];
    poly.clear();
    for (int i = 0; i < 4; i++) {
        w[i][0] = cx + c * local[i][0] - s * local[i][1];
        w[i][1] = cy + s * local[i][0] + c * local[i][1];
        poly.push_back(Pt{w[i][0], w[i][1]});
    }
    box.update(w[0][0], w[0][1], w[1][0], w[1][1], w[2][0], w[2][1], w[3][0], w[3][1]);
}

// Wherever the true intersection is either empty or clearly thicker than the tolerance, the
// separating-edge test must agree with exact clipping.
TEST(PhysBoxProperty, OverlapAgreesWithPolygonClipping) {
    std::mt19937 rng(20240611);
    int apart = 0, clearlyOverlapping = 0, ambiguous = 0, disagreements = 0;
    std::vector<Pt> pa, pb;
    for (int trial = 0; trial < 200000; trial++) {
        PhysBox a, b;
        randomRect(rng, a, pa);
        randomRect(rng, b, pb);
        std::vector<Pt> inter = clipPolygon(pb, pa);
        double area = inter.size() >= 3 ? polygonArea(inter) : 0.0;
        bool got = a.overlaps(b);
        ASSERT_EQ(got, b.overlaps(a)) << "trial " << trial << " is not symmetric";
        if (area < 1e-9) {
            apart++;
            if (got) disagreements++;
            EXPECT_FALSE(got) << "trial " << trial << ": disjoint boxes reported overlapping";
        } else if (minimumWidth(inter) > 0.02) {
            clearlyOverlapping++;
            if (!got) disagreements++;
            EXPECT_TRUE(got) << "trial " << trial << ": overlap " << minimumWidth(inter) << " thick missed";
        } else {
            ambiguous++;
        }
        if (disagreements > 5) break;
    }
    printf("apart %d, clearly overlapping %d, within tolerance (skipped) %d\n", apart, clearlyOverlapping, ambiguous);
    EXPECT_GT(apart, 10000);
    EXPECT_GT(clearlyOverlapping, 10000);
}

// The four-at-once derivation must give deriveOneByOne's bits for every box it takes, and leave
// every box it refuses untouched, and the bounds must be the corner-by-corner loop's: a reordered sum, a reciprocal for a quotient or a fused
// multiply-add would move a truck by a last bit and change every race after it.
TEST(PhysBoxProperty, FourAtOnceGivesTheBitsOfOneByOne) {
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* name;
        float scale;     // of the random rectangles' size and place
        float fixed[8];  // used when scale is 0
    };
    const Case cases[] = {
        {"trucks on a course", 200.0f, {}},
        {"tiny", 1e-3f, {}},
        {"far out", 1e6f, {}},
        {"subnormal edges", 0.0f, {0, 0, 0, 1e-40f, 1e-40f, 1e-40f, 1e-40f, 0}},
        {"huge edges", 0.0f, {-1e38f, -1e38f, -1e38f, 1e38f, 1e38f, 1e38f, 1e38f, -1e38f}},
        {"a zero edge", 0.0f, {0, 0, 0, 10, 0, 10, 10, 0}},
        {"an infinite corner", 0.0f, {0, 0, 0, 10, inf, 10, 10, 0}},
        {"a NaN corner", 0.0f, {0, 0, nan, 10, 10, 10, 10, 0}},
        {"signed zeros", 0.0f, {0, -0.0f, -0.0f, 10, 10, 10, 10, 0}},
        {"a NaN first corner", 0.0f, {nan, 0, 0, nan, 10, 10, 10, 0}},
    };
    std::mt19937 rng(77);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    for (const Case& c : cases) {
        int taken = 0, runs = c.scale > 0.0f ? 2000 : 1;
        for (int k = 0; k < runs; k++) {
            float p[8];
            if (c.scale > 0.0f) {
                // A rotated rectangle, corners clockwise, as placeBox makes them.
                float cx = unit(rng) * c.scale, cy = unit(rng) * c.scale, angle = unit(rng) * 3.2f;
                float hw = (unit(rng) + 1.1f) * c.scale * 0.05f, hl = (unit(rng) + 1.1f) * c.scale * 0.1f;
                float co = std::cos(angle), si = std::sin(angle);
                const float local[4][2] = {{-hw, -hl}, {-hw, hl}, {hw, hl}, {hw, -hl}};
                for (int i = 0; i < 4; i++) {
                    p[2 * i] = cx + co * local[i][0] - si * local[i][1];
                    p[2 * i + 1] = cy + si * local[i][0] + co * local[i][1];
                }
            } else {
                std::copy(c.fixed, c.fixed + 8, p);
            }
            PhysBox one, four;
            for (PhysBox* b : {&one, &four})
                for (int i = 0; i < 8; i++) b->corners[i / 2][i % 2] = p[i];
            one.deriveOneByOne();
            // The bounds too: the corners in order, each against the bounds so far, signed zeros
            // and NaNs kept as those tests keep them.
            float ref[4] = {p[0], p[0], p[1], p[1]};
            for (int i = 1; i < 4; i++) {
                if (p[2 * i] < ref[0]) ref[0] = p[2 * i];
                if (p[2 * i] > ref[1]) ref[1] = p[2 * i];
                if (p[2 * i + 1] < ref[2]) ref[2] = p[2 * i + 1];
                if (p[2 * i + 1] > ref[3]) ref[3] = p[2 * i + 1];
            }
            four.computeBounds();
            const float got[4] = {four.minX, four.maxX, four.minY, four.maxY};
            EXPECT_EQ(0, memcmp(ref, got, sizeof got)) << c.name << " bounds of box " << k;
            PhysBox before = four;
            if (!four.deriveFourAtOnce()) {
                EXPECT_EQ(0, memcmp(before.edgeLines, four.edgeLines, sizeof four.edgeLines)) << c.name;
                continue;
            }
            taken++;
            EXPECT_EQ(0, memcmp(one.edges, four.edges, sizeof one.edges)) << c.name << " box " << k;
            EXPECT_EQ(0, memcmp(one.edgeLines, four.edgeLines, sizeof one.edgeLines)) << c.name << " box " << k;
        }
        printf("%s: %d of %d boxes taken four at once\n", c.name, taken, runs);
    }
}
