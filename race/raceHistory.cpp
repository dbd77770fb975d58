#include "race/raceHistory.h"

#include <cstring>

#include "core/input.h"
#include "core/platform.h"
#include "core/timing.h"
#include "race/game.h"
#include "race/player.h"
#include "track/courseLibrary.h"

static const char recordsName[] = "records";
static const char lastReplayName[] = "last.replay";
static const char courseRecordsName[] = "course-records";

CourseKey courseKeyOf(const Game& game) {
    CourseKey key = {game.currentTrack, 0, ""};
    if (game.currentTrack < 0 || game.currentTrack >= Game::maxTracks) return key;
    const Track& track = game.tracks[game.currentTrack];
    if (track.courseHash == 0) return key;
    // A course file that is a built-in course exactly keeps that course's records and replays.
    int builtIn = builtInCourseWithHash(track.courseHash);
    if (builtIn >= 0) {
        key.index = builtIn;
        return key;
    }
    key.hash = track.courseHash;
    snprintf(key.name, sizeof key.name, "%s", track.courseName);
    return key;
}

// The file of the best race on a course.
static void bestReplayName(const CourseKey& course, char* name, size_t size) {
    if (course.hash)
        snprintf(name, size, "best-%016llx.replay", (unsigned long long)course.hash);
    else
        snprintf(name, size, "best-course%d.replay", course.index);
}

RaceHistory::RaceHistory()
    : lastBeaten(0), recordingOn(false), ghostLoaded(false), ghostShown(true), ghostFrame(0),
      ghostSeconds(0), folder{}, extraPath{}, frameDelta(0), pendingCount(0), pendingOverflow(false),
      userFinished(false), recordingIsBest(false), warned(false), raceCourse{0, 0, ""} {}

float RaceHistory::bestLap(const Game& game) const {
    CourseKey key = courseKeyOf(game);
    return key.hash ? records.bestLapOf(key.hash) : records.bestLap(key.index);
}

float RaceHistory::bestRace(const Game& game) const {
    CourseKey key = courseKeyOf(game);
    return key.hash ? records.bestRaceOf(key.hash) : records.bestRace(key.index);
}

bool RaceHistory::pathOf(const char* name, char* buffer, int size) const {
    int n = snprintf(buffer, (size_t)size, "%s/%s", folder, name);
    return n > 0 && n < size;
}

void RaceHistory::keepIn(const char* where, FILE* err) {
    if (!where || strlen(where) >= sizeof folder) return;
    strcpy(folder, where);
    if (!makeFolders(folder)) cannotWrite(folder);
    char path[storagePathSize + 32];
    if (pathOf(recordsName, path, sizeof path)) records.load(path, err);
    if (pathOf(courseRecordsName, path, sizeof path)) records.load(path, err, courseFileRecords);
}

void RaceHistory::alsoRecordTo(const char* path) {
    if (path && strlen(path) < sizeof extraPath) strcpy(extraPath, path);
}

void RaceHistory::cannotWrite(const char* path) {
    // Once a run: the race goes on whether or not it can be kept.
    if (warned) return;
    warned = true;
    fprintf(stderr, "trailerdash: cannot write %s; records and replays are not kept this time\n", path);
}

// A replay names its messages by the window's own codes.
static_assert(replayKeyDown == WM_KEYDOWN && replayKeyUp == WM_KEYUP && replayFirstMouse == WM_LBUTTONDOWN &&
                  replayLastMouse == WM_MOUSEWHEEL,
              "replay message codes");

void RaceHistory::noteMessage(unsigned message, uint64_t wParam, int64_t lParam) {
    // Only what drives the game: keys and mouse buttons. Activation and the rest change no state
    // a replay needs.
    if (!isReplayInput(message) || (!keeping() && !extraPath[0])) return;
    if (pendingCount >= maxPendingMessages) {
        pendingOverflow = true;
        return;
    }
    pending[pendingCount++] = {message, wParam, lParam};
}

void RaceHistory::raceStarted(const Game& game) {
    finishRecording();
    lastBeaten = 0;
    userFinished = false;
    recordingIsBest = false;
    raceCourse = courseKeyOf(game);
    loadGhost(raceCourse);
    // A race of other laps or with a countdown is not the race the records and replays hold.
    if (offRecord) return;
    if (!keeping() && !extraPath[0]) return;
    // A replay does not carry a handed grid: it would play back on the classic grid, so such a
    // race is neither recorded nor kept as a record its replay could not prove.
    if (game.gridHanded) return;
    if (pendingOverflow) {
        fprintf(stderr, "trailerdash: too many key and mouse messages at the start; this race is not recorded\n");
        return;
    }
    // The keys held at the end of the last frame: this frame's messages come on top of them.
    recording.begin(game.currentTrack, perfFrequency, keys.previous);
    // A built-in course is named by its number, as replays always named it.
    if (raceCourse.hash)
        recording.setCourseFile(raceCourse.hash, raceCourse.name);
    else
        recording.course = raceCourse.index;
    recordingOn = true;
}

void RaceHistory::frameEnded(const Game& game) {
    int count = pendingCount;
    pendingCount = 0;
    pendingOverflow = false;
    if (!recordingOn) return;
    bool room = true;
    for (int i = 0; i < count && room; i++)
        room = recording.addMessage(pending[i].message, pending[i].wParam, pending[i].lParam);
    const Truck& t = game.trucks[0];
    TruckPose pose = {t.getX(), t.getY(), t.cabHeading, t.trailerHeading, t.steerAngle};
    room = room && recording.addFrame(frameDelta, pose);

    const Player* user = game.players[0];
    if (!userFinished && user && user->isFinished()) {
        userFinished = true;
        lastBeaten = raceCourse.hash ? records.offerFor(raceCourse.hash, user->getTime(), t.getBestLapTime())
                                     : records.offer(raceCourse.index, user->getTime(), t.getBestLapTime());
        if (lastBeaten & newRaceRecord) recordingIsBest = true;
        if (lastBeaten) saveRecords(raceCourse.hash ? courseFileRecords : builtInRecords);
    }
    if (!room) {
        // Kept up to here; the rest of a race this long is the results screen left standing.
        fprintf(stderr, "trailerdash: the race's replay is full; it ends here\n");
        finishRecording();
    }
}

void RaceHistory::stop() { finishRecording(); }

void RaceHistory::saveRecords(RecordsPart part) {
    if (!keeping()) return;
    if (part == builtInRecords ? records.readOnly : records.hashedReadOnly) return;
    char path[storagePathSize + 32];
    const char* name = part == builtInRecords ? recordsName : courseRecordsName;
    if (!pathOf(name, path, sizeof path) || !records.save(path, part)) cannotWrite(path);
}

void RaceHistory::finishRecording() {
    if (!recordingOn) return;
    recordingOn = false;
    char path[storagePathSize + 32];
    if (keeping()) {
        if (!pathOf(lastReplayName, path, sizeof path) || !recording.save(path)) cannotWrite(path);
        char best[48];
        bestReplayName(raceCourse, best, sizeof best);
        if (recordingIsBest && (!pathOf(best, path, sizeof path) || !recording.save(path))) cannotWrite(path);
    }
    if (extraPath[0] && !recording.save(extraPath)) fprintf(stderr, "trailerdash: cannot write %s\n", extraPath);
}

void RaceHistory::loadGhost(const CourseKey& course) {
    ghostLoaded = false;
    ghostFrame = 0;
    ghostSeconds = 0;
    if (!keeping()) return;
    char name[48], path[storagePathSize + 32], why[128];
    bestReplayName(course, name, sizeof name);
    if (!pathOf(name, path, sizeof path)) return;
    FILE* f = fopen(path, "rb");
    if (!f) return;  // no best race yet
    fclose(f);
    if (!ghostRun.load(path, why, sizeof why)) {
        fprintf(stderr, "trailerdash: no ghost: %s %s\n", path, why);
        return;
    }
    bool sameCourse = course.hash ? ghostRun.courseHash == course.hash
                                  : ghostRun.courseHash == 0 && ghostRun.course == course.index;
    if (!sameCourse || ghostRun.frameCount == 0) {
        fprintf(stderr, "trailerdash: no ghost: %s is not a race on this course\n", path);
        return;
    }
    ghostLoaded = true;
}

bool RaceHistory::ghostVisible(const Game& game) const { return ghostLoaded && ghostShown && !game.waitingForStart; }

void RaceHistory::drawGhost(const Game& game) {
    if (!ghostVisible(game)) return;
    // Both clocks in seconds: the best race may have run on a counter of another frequency.
    double now = game.raceClock.elapsedSeconds();
    while (ghostFrame + 1 < ghostRun.frameCount) {
        double next = ghostSeconds + (double)ghostRun.frames[ghostFrame + 1].counterDelta / (double)ghostRun.frequency;
        if (next > now) break;
        ghostSeconds = next;
        ghostFrame++;
    }
    const TruckPose& p = ghostRun.frames[ghostFrame].pose;
    ghostTruck.texture = game.trucks[0].texture;
    ghostTruck.setPosition(p.x, p.y);
    ghostTruck.cabHeading = p.cabHeading;
    ghostTruck.trailerHeading = p.trailerHeading;
    ghostTruck.steerAngle = p.steerAngle;
    ghostTruck.draw(ghostAlpha);
}
