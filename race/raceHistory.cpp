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
// In front of every records and best-race file of races with no computer trucks.
static const char alonePrefix[] = "alone-";

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

// The file of the best race on a course, or of the race that set its best lap.
static void bestReplayName(const CourseKey& course, char* name, size_t size, bool alone = false, bool lap = false) {
    const char* prefix = alone ? alonePrefix : "";
    const char* kind = lap ? "bestlap" : "best";
    if (course.hash)
        snprintf(name, size, "%s%s-%016llx.replay", prefix, kind, (unsigned long long)course.hash);
    else
        snprintf(name, size, "%s%s-course%d.replay", prefix, kind, course.index);
}

// A records file's name for one kind of race.
static void recordsFileName(RecordsPart part, bool alone, char* name, size_t size) {
    snprintf(name, size, "%s%s", alone ? alonePrefix : "", part == builtInRecords ? recordsName : courseRecordsName);
}

static bool isAlone(const Game& game) { return game.rivals() == 0; }

RaceHistory::RaceHistory()
    : lastBeaten(0), recordingOn(false), ghostLoaded(false), ghostShown(true), ghostFrame(0),
      ghostSeconds(0), folder{}, extraPath{}, frameDelta(0), pendingCount(0), pendingOverflow(false),
      userFinished(false), recordingIsBest(false), warned(false), raceCourse{0, 0, ""} {}

float RaceHistory::bestLap(const Game& game) const {
    CourseKey key = courseKeyOf(game);
    const Records& r = isAlone(game) ? aloneRecords : records;
    return key.hash ? r.bestLapOf(key.hash) : r.bestLap(key.index);
}

float RaceHistory::bestRace(const Game& game) const {
    CourseKey key = courseKeyOf(game);
    const Records& r = isAlone(game) ? aloneRecords : records;
    return key.hash ? r.bestRaceOf(key.hash) : r.bestRace(key.index);
}

const char* RaceHistory::lapHolder(const Game& game) const {
    CourseKey key = courseKeyOf(game);
    const Records& r = isAlone(game) ? aloneRecords : records;
    return key.hash ? r.lapHolderOf(key.hash) : r.lapHolder(key.index);
}

const char* RaceHistory::raceHolder(const Game& game) const {
    CourseKey key = courseKeyOf(game);
    const Records& r = isAlone(game) ? aloneRecords : records;
    return key.hash ? r.raceHolderOf(key.hash) : r.raceHolder(key.index);
}

RecordProof RaceHistory::lapProof(const Game& game) const {
    const ProvenRecord* p = proofEntry(isAlone(game), courseKeyOf(game));
    return p ? p->lap : proofNotChecked;
}

RecordProof RaceHistory::raceProof(const Game& game) const {
    const ProvenRecord* p = proofEntry(isAlone(game), courseKeyOf(game));
    return p ? p->race : proofNotChecked;
}

const RaceHistory::ProvenRecord* RaceHistory::proofEntry(bool alone, const CourseKey& course) const {
    for (int i = 0; i < proofCount; i++) {
        const ProvenRecord& p = proofs[i];
        if (p.alone == alone && p.hash == course.hash && (course.hash || p.index == course.index)) return &p;
    }
    return nullptr;
}

RaceHistory::ProvenRecord* RaceHistory::proofEntry(bool alone, const CourseKey& course, bool make) {
    ProvenRecord* found = const_cast<ProvenRecord*>(static_cast<const RaceHistory*>(this)->proofEntry(alone, course));
    if (found || !make || proofCount >= maxProvenRecords) return found;
    proofs[proofCount] = {alone, course.index, course.hash, proofNotChecked, proofNotChecked};
    return &proofs[proofCount++];
}

bool RaceHistory::loadBest(const Game& game, Replay& replay) const {
    char name[64], path[storagePathSize + 32], why[128];
    bestReplayName(courseKeyOf(game), name, sizeof name, isAlone(game));
    return keeping() && pathOf(name, path, sizeof path) && replay.load(path, why, sizeof why);
}

RecordProof RaceHistory::prove(const char* path, float seconds, bool lap) {
    Replay* replay = new Replay();
    char why[128];
    ReplayVerdict verdict = {false, false, 0, 0};
    bool played = replay->load(path, why, sizeof why) && prover(*replay, verdict, proverUser);
    delete replay;
    // Exactly the time kept: the simulation is deterministic, so anything else is another race.
    float reproduced = lap ? verdict.bestLapSeconds : verdict.raceSeconds;
    return played && verdict.reproduced && verdict.finished && reproduced == seconds ? proofHeld : proofFailed;
}

void RaceHistory::proveAll(bool alone) {
    const Records& r = recordsFor(alone);
    CourseKey key = {0, 0, ""};
    int total = maxRecordCourses + r.hashedCount;
    for (int i = 0; i < total; i++) {
        key.index = i < maxRecordCourses ? i : 0;
        key.hash = i < maxRecordCourses ? 0 : r.hashed[i - maxRecordCourses].hash;
        float lap = key.hash ? r.bestLapOf(key.hash) : r.bestLap(key.index);
        float race = key.hash ? r.bestRaceOf(key.hash) : r.bestRace(key.index);
        if (lap <= 0.0f && race <= 0.0f) continue;
        ProvenRecord* p = proofEntry(alone, key, true);
        if (!p) return;
        char name[64], path[storagePathSize + 32];
        // A lap record set in the best race is proved by that race's replay.
        for (int asLap = 0; asLap < 2; asLap++) {
            float seconds = asLap ? lap : race;
            if (seconds <= 0.0f) continue;
            RecordProof proof = proofFailed;
            for (int file = asLap; file >= 0 && proof != proofHeld; file--) {
                bestReplayName(key, name, sizeof name, alone, file == 1);
                if (pathOf(name, path, sizeof path)) proof = prove(path, seconds, asLap == 1);
            }
            (asLap ? p->lap : p->race) = proof;
        }
    }
}

bool RaceHistory::pathOf(const char* name, char* buffer, int size) const {
    int n = snprintf(buffer, (size_t)size, "%s/%s", folder, name);
    return n > 0 && n < size;
}

void RaceHistory::keepIn(const char* where, FILE* err) {
    if (!where || strlen(where) >= sizeof folder) return;
    strcpy(folder, where);
    if (!makeFolders(folder)) cannotWrite(folder);
    char path[storagePathSize + 32], name[64];
    for (int alone = 0; alone < 2; alone++)
        for (RecordsPart part : {builtInRecords, courseFileRecords}) {
            recordsFileName(part, alone == 1, name, sizeof name);
            if (pathOf(name, path, sizeof path)) recordsFor(alone == 1).load(path, err, part);
        }
    proofCount = 0;
    if (!prover) return;
    proveAll(false);
    proveAll(true);
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
    recordingIsBestLap = false;
    raceCourse = courseKeyOf(game);
    raceAlone = isAlone(game);
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
    recording.setup = {(uint8_t)game.lapsToRace, (uint8_t)game.difficulty, (uint8_t)game.rivals(),
                       (uint8_t)(countdownStart ? 1 : 0), (uint8_t)game.humans()};
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
    const Truck& t2 = game.trucks[1];
    TruckPose second = {};
    if (recording.setup.humans > 1) second = {t2.getX(), t2.getY(), t2.cabHeading, t2.trailerHeading, t2.steerAngle};
    room = room && recording.addFrame(frameDelta, pose, second);

    const Player* user = game.players[0];
    // Records are times over the classic six laps; a race of other laps sets none. Nor does a
    // two-player race: the records name one driver against four computer trucks, and there
    // player one has a human beside them and one computer truck fewer.
    if (!userFinished && user && user->isFinished()) {
        userFinished = true;
        if (game.lapsToRace == Game::classicLaps && recording.setup.humans == 1)
            offerRecords(user->getTime(), t.getBestLapTime());
    }
    if (!room) {
        // Kept up to here; the rest of a race this long is the results screen left standing.
        fprintf(stderr, "trailerdash: the race's replay is full; it ends here\n");
        finishRecording();
    }
}

void RaceHistory::offerRecords(float raceSeconds, float lapSeconds) {
    Records& r = recordsFor(raceAlone);
    lastBeaten = raceCourse.hash ? r.offerFor(raceCourse.hash, raceSeconds, lapSeconds, holder)
                                 : r.offer(raceCourse.index, raceSeconds, lapSeconds, holder);
    if (lastBeaten & newRaceRecord) recordingIsBest = true;
    if (lastBeaten & newLapRecord) recordingIsBestLap = true;
    if (lastBeaten) saveRecords(raceCourse.hash ? courseFileRecords : builtInRecords);
    // This game has just driven it: the new record stands on its own replay.
    ProvenRecord* p = lastBeaten ? proofEntry(raceAlone, raceCourse, true) : nullptr;
    if (p && (lastBeaten & newRaceRecord)) p->race = proofHeld;
    if (p && (lastBeaten & newLapRecord)) p->lap = proofHeld;
}

void RaceHistory::stop() { finishRecording(); }

void RaceHistory::saveRecords(RecordsPart part) {
    if (!keeping()) return;
    const Records& r = recordsFor(raceAlone);
    if (part == builtInRecords ? r.readOnly : r.hashedReadOnly) return;
    char path[storagePathSize + 32], name[64];
    recordsFileName(part, raceAlone, name, sizeof name);
    if (!pathOf(name, path, sizeof path) || !r.save(path, part)) cannotWrite(path);
}

void RaceHistory::finishRecording() {
    if (!recordingOn) return;
    recordingOn = false;
    char path[storagePathSize + 32];
    if (keeping()) {
        if (!pathOf(lastReplayName, path, sizeof path) || !recording.save(path)) cannotWrite(path);
        char best[64];
        bestReplayName(raceCourse, best, sizeof best, raceAlone);
        if (recordingIsBest && (!pathOf(best, path, sizeof path) || !recording.save(path))) cannotWrite(path);
        // A lap record set in the best race stands on that race's file; one set in another race
        // needs its own, and an older one of its own would only be stale.
        bestReplayName(raceCourse, best, sizeof best, raceAlone, true);
        if (recordingIsBestLap && recordingIsBest && pathOf(best, path, sizeof path)) remove(path);
        if (recordingIsBestLap && !recordingIsBest && (!pathOf(best, path, sizeof path) || !recording.save(path)))
            cannotWrite(path);
    }
    if (extraPath[0] && !recording.save(extraPath)) fprintf(stderr, "trailerdash: cannot write %s\n", extraPath);
}

void RaceHistory::loadGhost(const CourseKey& course) {
    ghostLoaded = false;
    ghostFrame = 0;
    ghostSeconds = 0;
    if (!keeping()) return;
    char name[64], path[storagePathSize + 32], why[128];
    bestReplayName(course, name, sizeof name, raceAlone);
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

// A two-player race has no ghost: the best race is one human's, beside two.
bool RaceHistory::ghostVisible(const Game& game) const {
    return ghostLoaded && ghostShown && !game.waitingForStart && game.humans() == 1;
}

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
