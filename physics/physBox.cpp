#include "physics/physBox.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

PhysBox::PhysBox() : corners{} { derive(); }

PhysBox::~PhysBox() {}

void PhysBox::update(float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3) {
    const float next[4][2] = {{x0, y0}, {x1, y1}, {x2, y2}, {x3, y3}};
    // A box at rest (a finished truck, a truck on the grid) keeps what it derived: the same
    // corners, bit for bit, give the same edges, lines and bounds.
    if (memcmp(next, corners, sizeof corners) == 0) return;
    memcpy(corners, next, sizeof corners);
    derive();
}

void PhysBox::derive() {
    if (!deriveFourAtOnce()) deriveOneByOne();
    computeBounds();
}

void PhysBox::deriveOneByOne() {
    for (int i = 0; i < 4; i++) {
        int next = (i + 1) % 4;
        edges[i][0] = corners[next][0] - corners[i][0];
        edges[i][1] = corners[next][1] - corners[i][1];
    }
    for (int i = 0; i < 4; i++) {
        // The edge turned counterclockwise points outwards because the corners run clockwise.
        float n[2] = {-edges[i][1], edges[i][0]};
        // normalise, written out here where it is hot: the same operations, so the same bits.
        double nx = n[0], ny = n[1];
        double exact = sqrt(nx * nx + ny * ny);
        float len = (float)exact;
        if (len > 0.0f && std::isfinite(len)) {
            n[0] = n[0] / len;
            n[1] = n[1] / len;
        } else if (exact > 0.0 && std::isfinite(exact)) {
            n[0] = (float)(n[0] / exact);
            n[1] = (float)(n[1] / exact);
        }
        float c = -(n[0] * corners[i][0] + n[1] * corners[i][1]);
        // A zero edge has the zero line, which separates this box from everything. A non-finite
        // corner gets the same treatment, so a lost body can never push a sound one.
        if (!std::isfinite(n[0]) || !std::isfinite(n[1]) || !std::isfinite(c) || (n[0] == 0.0f && n[1] == 0.0f)) {
            n[0] = n[1] = c = 0.0f;
        }
        edgeLines[i][0] = n[0];
        edgeLines[i][1] = n[1];
        edgeLines[i][2] = c;
    }
}

#if defined(__SSE2__)
// The four edges of deriveOneByOne side by side, operation for operation: SSE's products, sums,
// square roots, quotients and conversions round as the scalar ones do, so the bits are the same.
// Only the common case is taken (every edge of finite, non-zero length and a finite line); any
// other box is left to deriveOneByOne.
bool PhysBox::deriveFourAtOnce() {
    const __m128 firstTwo = _mm_loadu_ps(corners[0]), lastTwo = _mm_loadu_ps(corners[2]);
    const __m128 xs = _mm_shuffle_ps(firstTwo, lastTwo, _MM_SHUFFLE(2, 0, 2, 0));
    const __m128 ys = _mm_shuffle_ps(firstTwo, lastTwo, _MM_SHUFFLE(3, 1, 3, 1));
    const __m128 ex = _mm_sub_ps(_mm_shuffle_ps(xs, xs, _MM_SHUFFLE(0, 3, 2, 1)), xs);
    const __m128 ey = _mm_sub_ps(_mm_shuffle_ps(ys, ys, _MM_SHUFFLE(0, 3, 2, 1)), ys);
    const __m128 signBit = _mm_set1_ps(-0.0f), largest = _mm_set1_ps(FLT_MAX), zero = _mm_setzero_ps();
    const __m128 n0 = _mm_xor_ps(ey, signBit), n1 = ex;
    // Lengths in double, two edges at a time.
    __m128d x01 = _mm_cvtps_pd(n0), x23 = _mm_cvtps_pd(_mm_movehl_ps(n0, n0));
    __m128d y01 = _mm_cvtps_pd(n1), y23 = _mm_cvtps_pd(_mm_movehl_ps(n1, n1));
    __m128d exact01 = _mm_sqrt_pd(_mm_add_pd(_mm_mul_pd(x01, x01), _mm_mul_pd(y01, y01)));
    __m128d exact23 = _mm_sqrt_pd(_mm_add_pd(_mm_mul_pd(x23, x23), _mm_mul_pd(y23, y23)));
    const __m128 len = _mm_movelh_ps(_mm_cvtpd_ps(exact01), _mm_cvtpd_ps(exact23));
    const __m128 a = _mm_div_ps(n0, len), b = _mm_div_ps(n1, len);
    const __m128 c = _mm_xor_ps(_mm_add_ps(_mm_mul_ps(a, xs), _mm_mul_ps(b, ys)), signBit);
    // A NaN fails every ordered comparison, so it too sends the box to the one-by-one path.
    __m128 sound = _mm_and_ps(_mm_cmpgt_ps(len, zero), _mm_cmple_ps(len, largest));
    sound = _mm_and_ps(sound, _mm_cmple_ps(_mm_andnot_ps(signBit, a), largest));
    sound = _mm_and_ps(sound, _mm_cmple_ps(_mm_andnot_ps(signBit, b), largest));
    sound = _mm_and_ps(sound, _mm_cmple_ps(_mm_andnot_ps(signBit, c), largest));
    sound = _mm_and_ps(sound, _mm_or_ps(_mm_cmpneq_ps(a, zero), _mm_cmpneq_ps(b, zero)));
    if (_mm_movemask_ps(sound) != 0xF) return false;
    _mm_storeu_ps(edges[0], _mm_unpacklo_ps(ex, ey));
    _mm_storeu_ps(edges[2], _mm_unpackhi_ps(ex, ey));
    float lineA[4], lineB[4], lineC[4];
    _mm_storeu_ps(lineA, a);
    _mm_storeu_ps(lineB, b);
    _mm_storeu_ps(lineC, c);
    for (int i = 0; i < 4; i++) {
        edgeLines[i][0] = lineA[i];
        edgeLines[i][1] = lineB[i];
        edgeLines[i][2] = lineC[i];
    }
    return true;
}
#else
bool PhysBox::deriveFourAtOnce() { return false; }
#endif

void PhysBox::computeBounds() {
#if defined(__SSE2__)
    // x and y side by side, corner after corner in the loop's order: minps gives c < m ? c : m
    // and maxps c > m ? c : m, the loop's own tests, so the bits (signed zeros, NaNs) are its.
    const __m128 firstTwo = _mm_loadu_ps(corners[0]), lastTwo = _mm_loadu_ps(corners[2]);
    __m128 low = firstTwo, high = firstTwo;
    const __m128 next[3] = {_mm_movehl_ps(firstTwo, firstTwo), lastTwo, _mm_movehl_ps(lastTwo, lastTwo)};
    for (int i = 0; i < 3; i++) {
        low = _mm_min_ps(next[i], low);
        high = _mm_max_ps(next[i], high);
    }
    float lows[4], highs[4];
    _mm_storeu_ps(lows, low);
    _mm_storeu_ps(highs, high);
    minX = lows[0];
    minY = lows[1];
    maxX = highs[0];
    maxY = highs[1];
#else
    minX = maxX = corners[0][0];
    minY = maxY = corners[0][1];
    for (int i = 1; i < 4; i++) {
        if (corners[i][0] < minX) minX = corners[i][0];
        if (corners[i][0] > maxX) maxX = corners[i][0];
        if (corners[i][1] < minY) minY = corners[i][1];
        if (corners[i][1] > maxY) maxY = corners[i][1];
    }
#endif
}

bool PhysBox::boundsDisjoint(const PhysBox& other) const {
    return minX > other.maxX || maxX < other.minX || maxY < other.minY || minY > other.maxY;
}

bool PhysBox::hasSeparatingEdge(const PhysBox& other) const {
    // All four corners of an edge without stopping at the first one inside: which corner that is
    // cannot be predicted in a crowd, and a mispredicted branch costs more than the three
    // distances it would save.
    for (int i = 0; i < 4; i++) {
        const float* line = edgeLines[i];
        bool allOutside = true;
        for (int j = 0; j < 4; j++) {
            float d = line[0] * other.corners[j][0] + line[1] * other.corners[j][1] + line[2];
            allOutside &= d >= -overlapTolerance;
        }
        if (allOutside) return true;
    }
    return false;
}

bool PhysBox::overlaps(const PhysBox& other) const {
    if (boundsDisjoint(other)) return false;
    if (hasSeparatingEdge(other)) return false;
    if (other.hasSeparatingEdge(*this)) return false;
    return true;
}
