#include "physics/physBox.h"

#include <cmath>

PhysBox::PhysBox() { update(0, 0, 0, 0, 0, 0, 0, 0); }

PhysBox::~PhysBox() {}

void PhysBox::update(float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3) {
    corners[0][0] = x0;
    corners[0][1] = y0;
    corners[1][0] = x1;
    corners[1][1] = y1;
    corners[2][0] = x2;
    corners[2][1] = y2;
    corners[3][0] = x3;
    corners[3][1] = y3;
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
    computeBounds();
}

void PhysBox::computeBounds() {
    minX = maxX = corners[0][0];
    minY = maxY = corners[0][1];
    for (int i = 1; i < 4; i++) {
        if (corners[i][0] < minX) minX = corners[i][0];
        if (corners[i][0] > maxX) maxX = corners[i][0];
        if (corners[i][1] < minY) minY = corners[i][1];
        if (corners[i][1] > maxY) maxY = corners[i][1];
    }
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
