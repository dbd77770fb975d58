#include "records/replay.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "records/storage.h"

static const uint8_t replayMagic[4] = {'T', 'D', 'R', 'P'};

uint32_t crc32Of(const uint8_t* data, size_t size) {
    // The common reflected CRC-32 (polynomial 0xEDB88320), as zip and PNG use.
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; i++) {
        crc ^= data[i];
        for (int k = 0; k < 8; k++) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

Replay::Replay()
    : course(0), setup(classicReplaySetup), courseHash(0), courseName{}, frequency(1), heldKeys{}, frameCount(0), messageCount(0), frames(new ReplayFrame[maxReplayFrames]),
      messages(new ReplayMessage[maxReplayMessages]), pendingMessages(0) {}

Replay::~Replay() {
    delete[] frames;
    delete[] messages;
}

void Replay::begin(int c, int64_t f, const uint8_t* held) {
    course = c;
    setup = classicReplaySetup;
    courseHash = 0;
    courseName[0] = '\0';
    frequency = f;
    memset(heldKeys, 0, sizeof heldKeys);
    for (int code = 0; held && code < 256; code++)
        if (held[code]) heldKeys[code / 8] |= (uint8_t)(1u << (code % 8));
    frameCount = 0;
    messageCount = 0;
    pendingMessages = 0;
}

void Replay::setCourseFile(uint64_t hash, const char* name) {
    courseHash = hash;
    snprintf(courseName, sizeof courseName, "%s", name ? name : "");
}

bool Replay::isKeyHeld(int code) const { return code >= 0 && code < 256 && (heldKeys[code / 8] >> (code % 8) & 1u); }

bool Replay::addMessage(uint32_t message, uint64_t wParam, int64_t lParam) {
    if (messageCount >= maxReplayMessages) return false;
    messages[messageCount++] = {message, wParam, lParam};
    pendingMessages++;
    return true;
}

bool Replay::addFrame(int64_t counterDelta, const TruckPose& pose, const TruckPose& second) {
    if (frameCount >= maxReplayFrames) return false;
    ReplayFrame& f = frames[frameCount++];
    f.counterDelta = counterDelta;
    f.firstMessage = messageCount - pendingMessages;
    f.messageCount = pendingMessages;
    f.pose = pose;
    f.second = second;
    pendingMessages = 0;
    return true;
}

// --- Bytes -------------------------------------------------------------------------------

namespace {

struct Writer {
    uint8_t* out;
    size_t size;
    size_t at;
    void byte(uint8_t b) {
        if (at < size) out[at] = b;
        at++;
    }
    void fixed(uint64_t v, int bytes) {
        for (int i = 0; i < bytes; i++) byte((uint8_t)(v >> (8 * i)));
    }
    void varint(uint64_t v) {
        while (v >= 0x80) {
            byte((uint8_t)(v | 0x80));
            v >>= 7;
        }
        byte((uint8_t)v);
    }
    // Small negative numbers stay short: 0, -1, 1, -2 ... become 0, 1, 2, 3 ...
    void signedVarint(int64_t v) { varint(((uint64_t)v << 1) ^ (uint64_t)(v >> 63)); }
    void real(float f) {
        uint32_t bits;
        memcpy(&bits, &f, 4);
        fixed(bits, 4);
    }
};

struct Reader {
    const uint8_t* data;
    size_t size;
    size_t at;
    bool failed;
    uint64_t fixed(int bytes) {
        if (size - at < (size_t)bytes) {
            failed = true;
            return 0;
        }
        uint64_t v = 0;
        for (int i = 0; i < bytes; i++) v |= (uint64_t)data[at + i] << (8 * i);
        at += (size_t)bytes;
        return v;
    }
    uint64_t varint() {
        uint64_t v = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (at >= size) break;
            uint8_t b = data[at++];
            // The tenth byte holds bit 63 alone; more would be a number past 64 bits.
            if (shift == 63 && b > 1) break;
            v |= (uint64_t)(b & 0x7F) << shift;
            if (!(b & 0x80)) return v;
        }
        failed = true;
        return 0;
    }
    int64_t signedVarint() {
        uint64_t v = varint();
        return (int64_t)(v >> 1) ^ -(int64_t)(v & 1);
    }
    float real() {
        uint32_t bits = (uint32_t)fixed(4);
        float f;
        memcpy(&f, &bits, 4);
        return f;
    }
};

}  // namespace

size_t Replay::encodedBound() const {
    return (size_t)replayHeaderSize + maxReplayCourseBytes + (size_t)frameCount * maxReplayFrameBytes +
           (size_t)messageCount * maxReplayMessageBytes + 4;
}

size_t Replay::encode(uint8_t* out, size_t size) const {
    Writer w = {out, size, 0};
    for (uint8_t b : replayMagic) w.byte(b);
    // The oldest version that says everything, so classic races stay readable by older games.
    bool classic = isClassicSetup(setup);
    w.fixed(setup.humans > 1   ? replayTwoPlayerVersion
            : setup.countdown ? replayCountdownVersion
            : !classic      ? replaySetupVersion
            : courseHash    ? replayCourseFileVersion
                            : replayFormatVersion,
            2);
    w.fixed((uint64_t)course, 2);
    w.fixed((uint64_t)frameCount, 4);
    w.fixed((uint64_t)messageCount, 4);
    w.fixed((uint64_t)frequency, 8);
    for (uint8_t b : heldKeys) w.byte(b);
    if (!classic && !courseHash) w.fixed(0, 8);
    if (courseHash) {
        size_t nameLength = strnlen(courseName, sizeof courseName - 1);
        w.fixed(courseHash, 8);
        w.byte((uint8_t)nameLength);
        for (size_t i = 0; i < nameLength; i++) w.byte((uint8_t)courseName[i]);
    }
    if (!classic) {
        w.byte(setup.laps);
        w.byte(setup.level);
        w.byte(setup.rivals);
        if (setup.humans > 1) {
            w.byte(setup.countdown);
            w.byte(setup.humans);
        } else if (setup.countdown) {
            w.byte(1);
        }
    }
    for (int i = 0; i < frameCount; i++) {
        const ReplayFrame& f = frames[i];
        w.signedVarint(f.counterDelta);
        w.varint((uint64_t)f.messageCount);
        for (int m = 0; m < f.messageCount; m++) {
            const ReplayMessage& msg = messages[f.firstMessage + m];
            w.varint(msg.message);
            w.varint(msg.wParam);
            w.signedVarint(msg.lParam);
        }
        w.real(f.pose.x);
        w.real(f.pose.y);
        w.real(f.pose.cabHeading);
        w.real(f.pose.trailerHeading);
        w.real(f.pose.steerAngle);
        if (setup.humans > 1) {
            w.real(f.second.x);
            w.real(f.second.y);
            w.real(f.second.cabHeading);
            w.real(f.second.trailerHeading);
            w.real(f.second.steerAngle);
        }
    }
    if (w.at + 4 > size) return 0;
    w.fixed(crc32Of(out, w.at), 4);
    return w.at;
}

bool Replay::decode(const uint8_t* data, size_t size, char* why, int whySize) {
    begin(0, 1, nullptr);
    if (size < 4 || memcmp(data, replayMagic, 4) != 0) {
        snprintf(why, (size_t)whySize, "not a Trailer Dash replay");
        return false;
    }
    if (size < (size_t)replayHeaderSize + 4) {
        snprintf(why, (size_t)whySize, "the replay is cut short");
        return false;
    }
    uint32_t stored = (uint32_t)data[size - 4] | (uint32_t)data[size - 3] << 8 | (uint32_t)data[size - 2] << 16 |
                      (uint32_t)data[size - 1] << 24;
    if (crc32Of(data, size - 4) != stored) {
        snprintf(why, (size_t)whySize, "the replay is damaged (its checksum does not match)");
        return false;
    }
    Reader r = {data, size - 4, 4, false};
    unsigned version = (unsigned)r.fixed(2);
    if (version < replayFormatVersion) {
        // The simulation's arithmetic has changed since: its keys would drive a different race.
        snprintf(why, (size_t)whySize, "the replay was recorded by an older version of the game");
        return false;
    }
    if (version != replayFormatVersion && version != replayCourseFileVersion && version != replaySetupVersion &&
        version != replayCountdownVersion && version != replayTwoPlayerVersion) {
        snprintf(why, (size_t)whySize, "the replay is of version %u; this game plays version %u", version,
                 replayTwoPlayerVersion);
        return false;
    }
    int c = (int)r.fixed(2);
    uint64_t frameTotal = r.fixed(4);
    uint64_t messageTotal = r.fixed(4);
    int64_t f = (int64_t)r.fixed(8);
    uint8_t held[32];
    for (uint8_t& b : held) b = (uint8_t)r.fixed(1);
    uint64_t hash = 0;
    char name[courseKeyNameSize] = "";
    ReplaySetup raced = classicReplaySetup;
    if (version >= replayCourseFileVersion) {
        hash = r.fixed(8);
        // Version 4 names a built-in course by the number alone, with a hash of 0.
        size_t nameLength = hash || version == replayCourseFileVersion ? (size_t)r.fixed(1) : 0;
        if ((hash == 0 && version == replayCourseFileVersion) || nameLength >= sizeof name) r.failed = true;
        for (size_t i = 0; i < nameLength && !r.failed; i++) {
            name[i] = (char)r.fixed(1);
            // A name is one printable line.
            if ((unsigned char)name[i] < ' ') r.failed = true;
        }
        if (version >= replaySetupVersion) {
            raced.laps = (uint8_t)r.fixed(1);
            raced.level = (uint8_t)r.fixed(1);
            raced.rivals = (uint8_t)r.fixed(1);
            // Version 5 says the countdown, and says it only as 1.
            if (version == replayCountdownVersion) {
                raced.countdown = (uint8_t)r.fixed(1);
                if (raced.countdown != 1) r.failed = true;
            }
            // Version 6 says the countdown either way, then the humans, only as 2; player two
            // drives truck 1, so there is one.
            if (version == replayTwoPlayerVersion) {
                raced.countdown = (uint8_t)r.fixed(1);
                raced.humans = (uint8_t)r.fixed(1);
                if (raced.countdown > 1 || raced.humans != maxReplayHumans || raced.rivals < 1) r.failed = true;
            }
            // Only a race the game can set up; a classic one is never written as version 4.
            if (raced.laps < 1 || raced.laps > maxReplayLaps || raced.level > maxReplayLevel ||
                raced.rivals > maxReplayRivals || isClassicSetup(raced))
                r.failed = true;
        }
        if (r.failed) {
            snprintf(why, (size_t)whySize, "the replay's course or race is not usable");
            return false;
        }
    }
    if (frameTotal > (uint64_t)maxReplayFrames || messageTotal > (uint64_t)maxReplayMessages || f <= 0) {
        snprintf(why, (size_t)whySize, "the replay's header is not usable");
        return false;
    }
    // Every recorded race has its first frame, the one that started it.
    if (frameTotal == 0) {
        snprintf(why, (size_t)whySize, "the replay holds no frames");
        return false;
    }
    // The counter the frames add up to must stay far inside its range, whatever the file says.
    const uint64_t maxCounts = (uint64_t)1 << 62;
    uint64_t counts = 0;
    bool foreign = false;
    for (uint64_t i = 0; i < frameTotal && !r.failed; i++) {
        int64_t delta = r.signedVarint();
        uint64_t advance = delta < 0 ? 0 - (uint64_t)delta : (uint64_t)delta;
        if (advance > maxCounts - counts) {
            r.failed = true;
            break;
        }
        counts += advance;
        uint64_t count = r.varint();
        if (count > messageTotal - (uint64_t)messageCount) {
            r.failed = true;
            break;
        }
        for (uint64_t m = 0; m < count && !r.failed; m++) {
            uint64_t code = r.varint();
            uint64_t wParam = r.varint();
            int64_t lParam = r.signedVarint();
            if (code > 0xFFFFFFFFu) r.failed = true;
            if (!isReplayInput((uint32_t)code)) foreign = r.failed = true;
            addMessage((uint32_t)code, wParam, lParam);
        }
        TruckPose pose;
        pose.x = r.real();
        pose.y = r.real();
        pose.cabHeading = r.real();
        pose.trailerHeading = r.real();
        pose.steerAngle = r.real();
        TruckPose second = {};
        if (raced.humans > 1) {
            second.x = r.real();
            second.y = r.real();
            second.cabHeading = r.real();
            second.trailerHeading = r.real();
            second.steerAngle = r.real();
        }
        addFrame(delta, pose, second);
    }
    // Every byte accounted for, and the counts as the header gave them.
    if (r.failed || r.at != r.size || (uint64_t)messageCount != messageTotal) {
        begin(0, 1, nullptr);
        snprintf(why, (size_t)whySize, "%s",
                 foreign ? "the replay holds a message the game never records"
                         : "the replay's frames do not match its header");
        return false;
    }
    course = c;
    setup = raced;
    courseHash = hash;
    memcpy(courseName, name, sizeof courseName);
    frequency = f;
    memcpy(heldKeys, held, sizeof heldKeys);
    return true;
}

bool Replay::load(const char* path, char* why, int whySize) {
    begin(0, 1, nullptr);
    // The largest file a full replay can make.
    const size_t capacity = (size_t)replayHeaderSize + maxReplayCourseBytes + (size_t)maxReplayFrames * maxReplayFrameBytes +
                            (size_t)maxReplayMessages * maxReplayMessageBytes + 4;
    uint8_t* data = (uint8_t*)malloc(capacity);
    if (!data) {
        snprintf(why, (size_t)whySize, "no memory to read it");
        return false;
    }
    bool tooLong;
    long n = readWholeFile(path, data, capacity, tooLong);
    bool ok;
    if (n < 0) {
        snprintf(why, (size_t)whySize, "cannot be opened");
        ok = false;
    } else if (tooLong) {
        snprintf(why, (size_t)whySize, "too large to be a Trailer Dash replay");
        ok = false;
    } else {
        ok = decode(data, (size_t)n, why, whySize);
    }
    free(data);
    return ok;
}

bool Replay::save(const char* path) const {
    size_t bound = encodedBound();
    uint8_t* data = (uint8_t*)malloc(bound);
    if (!data) return false;
    size_t n = encode(data, bound);
    bool ok = n > 0 && writeFileAtomically(path, data, n);
    free(data);
    return ok;
}
