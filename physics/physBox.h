#pragma once
// A convex quadrilateral collision shape given by four world corners in clockwise order (y up).
// The owner writes the corners; the box derives the edges, outward edge lines and bounds that the
// separating-axis overlap test needs.

// Corners may lie this far inside an edge line and still count as outside, so touching boxes
// never overlap and every overlap is deeper than this along every edge normal (world units).
const float overlapTolerance = 0.01f;

class PhysBox {
public:
    // All corners at the origin: every edge line is zero, so the box overlaps nothing until its
    // owner calls update.
    PhysBox();
    virtual ~PhysBox();

    // Corners 0..3 as x, y pairs, clockwise.
    void update(float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3);
    void computeBounds();
    bool boundsDisjoint(const PhysBox& other) const;
    // True when some edge of this box has all of the other's corners on or near its outer side.
    bool hasSeparatingEdge(const PhysBox& other) const;
    bool overlaps(const PhysBox& other) const;

    float corners[4][2];
    float maxY, minY, maxX, minX;
    // Edge i runs from corner i to corner (i + 1) mod 4.
    float edges[4][2];
    // (a, b, c) per edge: (a, b) the outward unit normal, a*x + b*y + c the signed distance.
    float edgeLines[4][3];

    // The edges and edge lines from the corners, an edge at a time: the reference whose bits the
    // four-at-once path must give, and the path for boxes with a zero or non-finite edge.
    void deriveOneByOne();
    // The same four edges side by side where the processor can; false, with nothing written,
    // for a box it leaves to deriveOneByOne.
    bool deriveFourAtOnce();

private:
    // The edges, edge lines and bounds from the corners.
    void derive();
};
