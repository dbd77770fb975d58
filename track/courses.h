#pragma once
// The game's two built-in race courses, laid down in code: the tile palette they share, each
// course's layout, checkpoints and waypoints, and their wall lines.
#include "track/track.h"

class TrackTileSet;

// A tile of the palette: its picture in images/track and its surface map in images/track/physMap.
struct CourseTile {
    const char* picture;
    const char* physMap;
};

const int courseTileCount = 15;
static_assert(courseTileCount <= Track::maxTileTypes, "the palette must fit a track");
extern const CourseTile courseTiles[courseTileCount];

// A course's layout (written north up, top row first) and its two ordered cell lists.
struct CourseData {
    const int (*layout)[trackGridSize];
    const TileCoord* checkpoints;
    int checkpointCount;
    const TileCoord* waypoints;
    int waypointCount;
};

const int courseCount = 2;
extern const CourseData courseData[courseCount];

// Loads the wall texture and the tiles from dataFolder/images (null or "" for the working
// directory, which is never changed) and fills tracks[0] and tracks[1]. Returns how many
// tracks were built: 2, or fewer when trackCapacity is smaller.
int buildCourses(TrackTileSet& tileSet, Track* tracks, int trackCapacity, const char* dataFolder);
