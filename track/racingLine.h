#pragma once
// A smooth line round a course for the computer drivers that race it closely. The waypoints'
// path is cut into short steps, and each step is then eased, many times over, towards the
// least bending it can have, but only as far as the hitch keeps the asphalt under it with room
// to spare either side. Built once when the course is laid, never while racing.
#include <vector>

class Track;

class RacingLine {
public:
    // Length of a step of the line, world units.
    static constexpr float stepUnits = 32.0f;

    // From the track's waypoints and surface; a course with fewer than three waypoints gets none.
    void build(const Track& track);
    void clear() { points.clear(); }
    int count() const { return (int)points.size(); }
    // Any index, taken round the loop.
    int wrap(int i) const;
    float x(int i) const { return points[wrap(i)].x; }
    float y(int i) const { return points[wrap(i)].y; }
    // How sharply the line bends at a point: 1 / radius, world units; left turns positive.
    float curvature(int i) const { return points[wrap(i)].curvature; }
    // The point nearest (px, py) among the `span` points from index `from` on.
    int nearest(float px, float py, int from, int span) const;

private:
    struct Point {
        float x, y;
        float curvature;
        int keepInCell;  // a checkpoint's cell (y * grid + x) the point must stay in, or -1
    };
    std::vector<Point> points;
};
