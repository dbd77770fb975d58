#pragma once
// A championship under way, kept between runs in a small versioned text file:
//
//   trailerdash championship 1
//   players 2                      (a series of two people; left out for one)
//   course builtin 0 Clockwork
//   course file 9f3a0c21d4e5b678 Generated 23
//   course random 12345 Random 12345
//   result 4 2 0 3 1
//   end
//
// the courses in racing order, then one line per race run: the trucks from the winner to the
// last. Reading is strict: anything malformed, out of range, cut short (no "end") or from a
// newer version refuses the whole file with one message, so a damaged file never starts a
// series that was not the player's.
#include <cstdint>

const int championshipFormatVersion = 1;
// Races a series holds at most; the menu offers far fewer.
const int maxChampionshipRaces = 16;
// Trucks in every race: the user's and the four computer drivers.
const int championshipTrucks = 5;
// Longest course name kept, with its terminating zero (as the course files' own).
const int championshipNameSize = 64;
// A full file is well under a kilobyte; anything larger is not ours.
const int maxProgressFileSize = 4096;
// Room for the one message a refused file gets.
const int progressMessageSize = 160;

// How a course of the series is found again: a built-in course by number, a course file by its
// content's hash (in the game's course list), a random course by the seed that makes it.
enum ChampionshipCourseKind { championshipBuiltIn, championshipFile, championshipRandom };

struct ChampionshipCourse {
    ChampionshipCourseKind kind;
    int builtIn;    // championshipBuiltIn: the course's number
    uint64_t hash;  // championshipFile: the content's hash, never 0
    uint64_t seed;  // championshipRandom
    char name[championshipNameSize];  // printable, for the boards and the messages
};

// People racing in a series at most: player one on truck 0, player two on truck 1.
const int maxChampionshipHumans = 2;

struct ChampionshipProgress {
    int humans;  // 1 or 2
    int courseCount;
    ChampionshipCourse courses[maxChampionshipRaces];
    int racesRun;
    // Per race run: the trucks in finishing order, winner first.
    int places[maxChampionshipRaces][championshipTrucks];

    ChampionshipProgress();
    void clear();
    // Adds a course to the series; false when the series is full or the name does not fit.
    bool addCourse(const ChampionshipCourse& course);
    // Records the next race's finishing order; false when every race has run or order is not
    // each truck once.
    bool addResult(const int order[championshipTrucks]);
    bool finished() const { return courseCount > 0 && racesRun >= courseCount; }

    // Reads a progress file's text; false, with why filled ("line N: what"), for anything but a
    // whole file of this version or older. On false the progress is cleared.
    bool parse(const char* text, long length, char* why, int whySize);
    // The file's text; the length, or -1 when it does not fit.
    int format(char* buffer, int size) const;
};

enum ProgressLoad { progressNone, progressLoaded, progressRefused };
// Reads path: progressNone when there is no file, progressRefused (why filled) when it cannot be
// read or is refused.
ProgressLoad loadProgress(const char* path, ChampionshipProgress& progress, char* why, int whySize);
// Replaces path whole (temporary file + rename); false, the old file in place, on failure.
bool saveProgress(const char* path, const ChampionshipProgress& progress);
// "championship" in folder.
bool progressPath(const char* folder, char* buffer, int size);
