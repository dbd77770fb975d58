#pragma once
// One race as the game saw it: the course, the keys held when it started, and for every frame
// the counter's advance, the key and mouse messages handed to the window procedure before it,
// and where the user's truck stood after it. The simulation is deterministic, so feeding the
// same frames to a freshly loaded game drives the same race.
//
// The file, all numbers little-endian:
//   "TDRP", version u16, course u16, frame count u32, message count u32, counter frequency u64,
//   held keys (256 bits), then per frame: counter delta (zigzag varint), message count (varint),
//   each message (code, wParam, zigzag lParam: varints), the pose (5 float32); last, the CRC-32
//   of everything before it.
// A race on a course file is version 3: after the held keys come the course's hash (u64) and its
// name (length u8, bytes), so it is never played on another course. Races on the built-in
// courses stay version 2, readable by every game that plays replays.
// A race other than the classic one (other laps, level, or fewer computer trucks, as time attack
// races alone) is version 4: the course hash (u64, 0 for a built-in course), its name when the
// hash is not 0, then laps, level and computer trucks (u8 each), so it is never played as another.
// A race started by a 3-2-1-go countdown (a quick race) is version 5: version 4's header and one
// byte more, 1, for the countdown that holds the grid before the race clock runs.
// A race of two people on one screen is version 6: version 4's header, the countdown byte (0 or
// 1), the humans byte (2), and every frame carries a second pose, player two's truck, after the
// first, so both trucks are checked as it plays again. Player two's keys are messages like any.
#include <cstddef>
#include <cstdint>

#include "records/courseKey.h"

// The version names the simulation too: 2 rounds the engine's directions and the normalised
// vectors' lengths to float, so a version 1 replay would drive a different race.
const unsigned replayFormatVersion = 2;
const unsigned replayCourseFileVersion = 3;
const unsigned replaySetupVersion = 4;
const unsigned replayCountdownVersion = 5;
const unsigned replayTwoPlayerVersion = 6;
// About 36 minutes at 60 frames a second; a longer race is kept up to here.
const int maxReplayFrames = 1 << 17;
const int maxReplayMessages = 1 << 16;
const int replayHeaderSize = 56;
// Every byte a frame can take: two varints, both humans' poses.
const int maxReplayFrameBytes = 10 + 5 + 2 * 20;
const int maxReplayMessageBytes = 5 + 10 + 10;
// The course file's hash and name in a version 3 header.
const int maxReplayCourseBytes = 8 + 1 + courseKeyNameSize + 4;

// What was raced, beside the course: the classic race unless a mode says otherwise. The level is
// the race's own numbering of its levels (0 easy, 1 normal, 2 hard).
struct ReplaySetup {
    uint8_t laps;
    uint8_t level;
    uint8_t rivals;  // trucks beside player one's (computer trucks, and player two's), 0 to 4
    uint8_t countdown = 0;  // 1: the race waited for a quick race's countdown, not for Space
    uint8_t humans = 1;     // 2: truck 1 was player two's
};
const ReplaySetup classicReplaySetup = {6, 1, 4, 0, 1};
const int maxReplayLaps = 10;
const int maxReplayLevel = 2;
const int maxReplayRivals = 4;
const int maxReplayHumans = 2;
inline bool isClassicSetup(const ReplaySetup& s) {
    return s.laps == classicReplaySetup.laps && s.level == classicReplaySetup.level &&
           s.rivals == classicReplaySetup.rivals && s.countdown == 0 && s.humans == 1;
}

// The window messages a replay carries: keys, mouse buttons and the wheel, the only ones that
// drive the game. Anything else (activation, close, quit) would steer the program, not the race.
const uint32_t replayKeyDown = 0x0100, replayKeyUp = 0x0101;
const uint32_t replayFirstMouse = 0x0201, replayLastMouse = 0x020A;  // left button down .. wheel
inline bool isReplayInput(uint32_t message) {
    return message == replayKeyDown || message == replayKeyUp ||
           (message >= replayFirstMouse && message <= replayLastMouse);
}

struct ReplayMessage {
    uint32_t message;
    uint64_t wParam;
    int64_t lParam;
};

// The user's truck after a frame, enough to draw it.
struct TruckPose {
    float x, y;
    float cabHeading, trailerHeading, steerAngle;
};

struct ReplayFrame {
    int64_t counterDelta;
    int firstMessage;
    int messageCount;
    TruckPose pose;
    TruckPose second;  // player two's truck in a two-player race; zero otherwise
};

class Replay {
public:
    Replay();
    ~Replay();
    Replay(const Replay&) = delete;
    Replay& operator=(const Replay&) = delete;

    // Empties it for a race on built-in course; heldKeys has one byte per key code, nonzero when held.
    void begin(int course, int64_t frequency, const uint8_t* heldKeys);
    // The race is on a course file: its hash (not 0) and name go into the file.
    void setCourseFile(uint64_t hash, const char* name);
    // A message for the next frame; false when the replay is full.
    bool addMessage(uint32_t message, uint64_t wParam, int64_t lParam);
    // Ends a frame: the messages added since the last one belong to it. second is player two's
    // truck, kept only when setup.humans is 2. False when full.
    bool addFrame(int64_t counterDelta, const TruckPose& pose, const TruckPose& second = TruckPose{});
    bool isKeyHeld(int code) const;

    // The bytes of the file; size must be encodedBound() or more. Returns the length.
    size_t encode(uint8_t* out, size_t size) const;
    size_t encodedBound() const;
    // Reads a whole file's bytes: at least one frame, and only input messages. On failure the
    // replay is left empty and why says what is wrong.
    bool decode(const uint8_t* data, size_t size, char* why, int whySize);

    // Whole file; false with why filled in. save writes atomically.
    bool load(const char* path, char* why, int whySize);
    bool save(const char* path) const;

    int course;
    ReplaySetup setup;    // begin sets the classic race
    uint64_t courseHash;  // 0 for a built-in course
    char courseName[courseKeyNameSize];
    int64_t frequency;
    uint8_t heldKeys[32];
    int frameCount;
    int messageCount;
    ReplayFrame* frames;      // maxReplayFrames, allocated once
    ReplayMessage* messages;  // maxReplayMessages
    int pendingMessages;      // added since the last frame
};

uint32_t crc32Of(const uint8_t* data, size_t size);
