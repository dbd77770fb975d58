#include "track/racingLine.h"

#include <algorithm>
#include <cmath>

#include "track/track.h"

// The drag up to which the ground counts as road: asphalt and kerbs drag 0.6 to 0.68, the grass
// and verges over 1. Only the hitch's ground sets a truck's drag.
static const float roadDragMost = 0.7f;
// Room the hitch keeps from the asphalt's edge on every side, so a truck that runs wide or cuts
// in still has the road under it. The most room every leg of the course has is taken: with
// plenty, the line keeps to the middle and the driver's own corner cutting does the rest.
static const float edgeRooms[] = {64.0f, 48.0f, 32.0f, 16.0f};
static const int edgeRoomCount = (int)(sizeof edgeRooms / sizeof edgeRooms[0]);
static const int edgeRoomDirections = 8;
// Passes of easing, and the share of the way to its eased place a point moves in one: enough
// for the line to settle into its smoothest shape.
static const int easingPasses = 400;
static const float easingShare = 0.5f;
// Steps either side of a point that its bending is measured over.
static const int bendSpanSteps = 2;
// The road as a grid of small cells, for finding a way along it from one waypoint to the next.
static const float cellUnits = 16.0f;
static const int cellsPerSide = trackGridSize * tileSizeUnits / (int)cellUnits;
static const int cellsPerTile = tileSizeUnits / (int)cellUnits;

static const float twoPi = 6.2831853f;

// Asphalt at (x, y) and all round it for `room` units.
static bool roomyRoad(const Track& track, float x, float y, float room) {
    if (track.frictionAt(x, y) > roadDragMost) return false;
    for (int k = 0; k < edgeRoomDirections; k++) {
        float a = twoPi * (float)k / (float)edgeRoomDirections;
        if (track.frictionAt(x + room * std::cos(a), y + room * std::sin(a)) > roadDragMost) return false;
    }
    return true;
}

static int tileCellOf(float x, float y) {
    int tileX, tileY;
    worldToTile(x, y, tileX, tileY);
    return tileY * trackGridSize + tileX;
}

static float cellCentre(int cell) { return ((float)cell + 0.5f) * cellUnits; }

// The roomy cell nearest the centre of tile (tileX, tileY) within the cell box; -1 for none.
static int nearestRoomyCell(const std::vector<char>& roomy, int tileX, int tileY, const int box[4]) {
    float centre[2] = {((float)tileX + 0.5f) * (float)tileSizeUnits, ((float)tileY + 0.5f) * (float)tileSizeUnits};
    int found = -1;
    float best = 0.0f;
    for (int cy = box[2]; cy < box[3]; cy++) {
        for (int cx = box[0]; cx < box[1]; cx++) {
            if (!roomy[cy * cellsPerSide + cx]) continue;
            float dx = cellCentre(cx) - centre[0], dy = cellCentre(cy) - centre[1];
            float d = dx * dx + dy * dy;
            if (found < 0 || d < best) best = d, found = cy * cellsPerSide + cx;
        }
    }
    return found;
}

// A way over roomy cells from near the centre of waypoint `from` to near that of `to`, searched
// within the tiles the two span (wider only when the road leaves them, so it never takes
// another part of the course), appended to `out` as world points without its last cell; false
// when there is none.
static bool roadWay(const Track& track, const std::vector<char>& roomy, int from, int to, std::vector<float>& out) {
    const TileCoord &a = track.waypoints[from], &b = track.waypoints[to];
    std::vector<int> previous(cellsPerSide * cellsPerSide);
    std::vector<int> queue;
    for (int grow = 0; grow < trackGridSize; grow++) {
        int x0 = std::max(std::min(a.x, b.x) - grow, 0), x1 = std::min(std::max(a.x, b.x) + grow, trackGridSize - 1);
        int y0 = std::max(std::min(a.y, b.y) - grow, 0), y1 = std::min(std::max(a.y, b.y) + grow, trackGridSize - 1);
        const int box[4] = {x0 * cellsPerTile, (x1 + 1) * cellsPerTile, y0 * cellsPerTile, (y1 + 1) * cellsPerTile};
        int start = nearestRoomyCell(roomy, a.x, a.y, box), end = nearestRoomyCell(roomy, b.x, b.y, box);
        if (start < 0 || end < 0) continue;
        std::fill(previous.begin(), previous.end(), -1);
        queue.assign(1, start);
        previous[start] = start;
        for (size_t q = 0; q < queue.size() && previous[end] < 0; q++) {
            int c = queue[q], cx = c % cellsPerSide, cy = c / cellsPerSide;
            const int moves[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
            for (const auto& m : moves) {
                int nx = cx + m[0], ny = cy + m[1];
                if (nx < box[0] || nx >= box[1] || ny < box[2] || ny >= box[3]) continue;
                int n = ny * cellsPerSide + nx;
                if (!roomy[n] || previous[n] >= 0) continue;
                previous[n] = c;
                queue.push_back(n);
            }
        }
        if (previous[end] < 0) continue;
        // Found from the far end back, so turned round; the last cell starts the next leg.
        std::vector<int> way;
        for (int c = previous[end]; c != start; c = previous[c]) way.push_back(c);
        way.push_back(start);
        for (auto c = way.rbegin(); c != way.rend(); ++c) {
            out.push_back(cellCentre(*c % cellsPerSide));
            out.push_back(cellCentre(*c / cellsPerSide));
        }
        return true;
    }
    return false;
}

// The road's way through every waypoint in turn, keeping `room` from the edge; false when a
// leg has no such way.
static bool roadWayRound(const Track& track, float room, std::vector<float>& path) {
    std::vector<char> roomy(cellsPerSide * cellsPerSide);
    for (int cy = 0; cy < cellsPerSide; cy++)
        for (int cx = 0; cx < cellsPerSide; cx++)
            roomy[cy * cellsPerSide + cx] = roomyRoad(track, cellCentre(cx), cellCentre(cy), room);
    path.clear();
    int waypoints = track.getWaypointCount();
    for (int i = 0; i < waypoints; i++)
        if (!roadWay(track, roomy, i, (i + 1) % waypoints, path)) return false;
    return true;
}

// Points near RacingLine::stepUnits apart along the closed path through `path` (x, y pairs).
static void cutIntoSteps(const std::vector<float>& path, std::vector<float>& out) {
    out.clear();
    int corners = (int)path.size() / 2;
    float length = 0.0f;
    for (int i = 0; i < corners; i++) {
        int j = (i + 1) % corners;
        length += std::hypot(path[2 * j] - path[2 * i], path[2 * j + 1] - path[2 * i + 1]);
    }
    int steps = (int)std::lround(length / RacingLine::stepUnits);
    if (steps < 3) return;
    float step = length / (float)steps;
    float along = 0.0f;  // how far the next point lies into the current leg
    for (int i = 0; i < corners && (int)out.size() < 2 * steps; i++) {
        int j = (i + 1) % corners;
        float ax = path[2 * i], ay = path[2 * i + 1], bx = path[2 * j], by = path[2 * j + 1];
        float leg = std::hypot(bx - ax, by - ay);
        for (; along < leg && (int)out.size() < 2 * steps; along += step) {
            float f = along / leg;
            out.push_back(ax + (bx - ax) * f);
            out.push_back(ay + (by - ay) * f);
        }
        along -= leg;
    }
}

int RacingLine::wrap(int i) const {
    int n = count();
    i %= n;
    return i < 0 ? i + n : i;
}

void RacingLine::build(const Track& track) {
    points.clear();
    int waypoints = track.getWaypointCount();
    if (waypoints < 3) return;
    // The roomiest way round the road; with none at all, straight from waypoint to waypoint.
    std::vector<float> path;
    float room = 0.0f;
    for (int r = 0; r < edgeRoomCount && room == 0.0f; r++)
        if (roadWayRound(track, edgeRooms[r], path)) room = edgeRooms[r];
    if (room == 0.0f) {
        path.clear();
        for (int i = 0; i < waypoints; i++) {
            float x, y;
            track.waypointCentre(i, x, y);
            path.push_back(x);
            path.push_back(y);
        }
    }
    std::vector<float> cut;
    cutIntoSteps(path, cut);
    for (size_t i = 0; i + 1 < cut.size(); i += 2) points.push_back(Point{cut[i], cut[i + 1], 0.0f, -1});
    int n = count();
    if (n < 3) {
        points.clear();
        return;
    }
    // A point in a checkpoint's cell stays in it, so the line counts every lap.
    for (Point& p : points)
        if (track.checkpointAt(p.x, p.y) >= 0) p.keepInCell = tileCellOf(p.x, p.y);
    // Each point towards where its neighbours' curve would put it, the fourth-order easing that
    // straightens bends without shrinking straights, as far as the road's room allows.
    for (int pass = 0; pass < easingPasses && room > 0.0f; pass++) {
        for (int i = 0; i < n; i++) {
            const Point &a = points[wrap(i - 2)], &b = points[wrap(i - 1)], &d = points[wrap(i + 1)],
                        &e = points[wrap(i + 2)];
            Point& p = points[i];
            float tx = (-a.x + 4.0f * b.x + 4.0f * d.x - e.x) / 6.0f;
            float ty = (-a.y + 4.0f * b.y + 4.0f * d.y - e.y) / 6.0f;
            float nx = p.x + (tx - p.x) * easingShare, ny = p.y + (ty - p.y) * easingShare;
            if (p.keepInCell >= 0 && tileCellOf(nx, ny) != p.keepInCell) continue;
            if (!roomyRoad(track, nx, ny, room)) continue;
            p.x = nx;
            p.y = ny;
        }
    }
    // The bending at each point: the circle through it and its neighbours a span either side.
    for (int i = 0; i < n; i++) {
        const Point &a = points[wrap(i - bendSpanSteps)], &b = points[i], &c = points[wrap(i + bendSpanSteps)];
        float ux = b.x - a.x, uy = b.y - a.y, vx = c.x - b.x, vy = c.y - b.y;
        float cross = ux * vy - uy * vx;
        float lengths = std::hypot(ux, uy) * std::hypot(vx, vy) * std::hypot(c.x - a.x, c.y - a.y);
        points[i].curvature = lengths > 0.0f ? 2.0f * cross / lengths : 0.0f;
    }
}

int RacingLine::nearest(float px, float py, int from, int span) const {
    int best = wrap(from);
    float bestDistance = -1.0f;
    for (int k = 0; k < span; k++) {
        const Point& p = points[wrap(from + k)];
        float d = (p.x - px) * (p.x - px) + (p.y - py) * (p.y - py);
        if (bestDistance < 0.0f || d < bestDistance) {
            bestDistance = d;
            best = wrap(from + k);
        }
    }
    return best;
}
