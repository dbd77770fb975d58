// The replay file: it reads back exactly, and anything damaged or foreign is refused whole.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "records/replay.h"

namespace {
// A short race's worth of frames, messages and poses, some negative and some large.
void fill(Replay& r) {
    uint8_t held[256] = {};
    held[0x26] = 1;
    r.begin(1, 1000000000, held);
    for (int i = 0; i < 500; i++) {
        if (i % 7 == 0) r.addMessage(0x0100, (uint64_t)(0x25 + i % 4), (int64_t)i - 250);
        if (i % 11 == 0) r.addMessage(0x020A, 0xFF880000u, 0);
        TruckPose p = {250.0f + i, 1960.0f - 0.5f * i, -90.0f + i * 0.1f, -90.0f, (float)(i % 21) - 10};
        TruckPose second = {300.0f - i, 1900.0f, 90.0f, 90.0f - i * 0.1f, 0.5f};
        r.addFrame(i == 3 ? -5 : 16666667 + i, p, second);
    }
}

std::vector<uint8_t> bytesOf(const Replay& r) {
    std::vector<uint8_t> bytes(r.encodedBound());
    bytes.resize(r.encode(bytes.data(), bytes.size()));
    return bytes;
}
}  // namespace

TEST(Replay, ReadsBackExactly) {
    auto r = std::make_unique<Replay>();
    fill(*r);
    std::vector<uint8_t> bytes = bytesOf(*r);
    printf("500 frames, %d messages: %zu bytes\n", r->messageCount, bytes.size());
    ASSERT_GT(bytes.size(), (size_t)replayHeaderSize);

    auto back = std::make_unique<Replay>();
    char why[128] = "";
    ASSERT_TRUE(back->decode(bytes.data(), bytes.size(), why, sizeof why)) << why;
    EXPECT_EQ(back->course, 1);
    EXPECT_EQ(back->frequency, 1000000000);
    EXPECT_TRUE(back->isKeyHeld(0x26));
    EXPECT_FALSE(back->isKeyHeld(0x25));
    ASSERT_EQ(back->frameCount, r->frameCount);
    ASSERT_EQ(back->messageCount, r->messageCount);
    for (int i = 0; i < r->frameCount; i++) {
        EXPECT_EQ(back->frames[i].counterDelta, r->frames[i].counterDelta);
        EXPECT_EQ(back->frames[i].messageCount, r->frames[i].messageCount);
        EXPECT_EQ(memcmp(&back->frames[i].pose, &r->frames[i].pose, sizeof(TruckPose)), 0) << "frame " << i;
    }
    for (int m = 0; m < r->messageCount; m++) {
        EXPECT_EQ(back->messages[m].message, r->messages[m].message);
        EXPECT_EQ(back->messages[m].wParam, r->messages[m].wParam);
        EXPECT_EQ(back->messages[m].lParam, r->messages[m].lParam);
    }
}

// One flipped byte anywhere, a cut, another file or another version: refused with a reason,
// and nothing of it is left to play.
TEST(Replay, DamagedOrForeignFilesAreRefused) {
    auto r = std::make_unique<Replay>();
    fill(*r);
    std::vector<uint8_t> good = bytesOf(*r);
    auto back = std::make_unique<Replay>();
    char why[128];

    for (size_t at : {(size_t)5, (size_t)replayHeaderSize + 3, good.size() / 2, good.size() - 1}) {
        std::vector<uint8_t> bad = good;
        bad[at] ^= 0x10;
        EXPECT_FALSE(back->decode(bad.data(), bad.size(), why, sizeof why)) << "byte " << at;
        EXPECT_NE(strstr(why, "checksum"), nullptr) << why;
        EXPECT_EQ(back->frameCount, 0);
    }
    std::vector<uint8_t> cut(good.begin(), good.begin() + (long)good.size() / 2);
    EXPECT_FALSE(back->decode(cut.data(), cut.size(), why, sizeof why));
    printf("cut: %s\n", why);

    const char foreign[] = "trailerdash records 1\nlap 0 41.5\n";
    EXPECT_FALSE(back->decode((const uint8_t*)foreign, sizeof foreign - 1, why, sizeof why));
    EXPECT_NE(strstr(why, "not a Trailer Dash replay"), nullptr) << why;

    // Another version, with a checksum that matches: a newer one is refused by its number, an
    // older one because its race was simulated with other arithmetic.
    struct {
        unsigned version;
        const char* said;
    } versions[] = {{replayTwoPlayerVersion + 1, "this game plays version"},
                    {replayFormatVersion - 1, "recorded by an older version of the game"}};
    uint32_t crc;
    for (const auto& v : versions) {
        std::vector<uint8_t> other = good;
        other[4] = (uint8_t)v.version;
        crc = crc32Of(other.data(), other.size() - 4);
        for (int i = 0; i < 4; i++) other[other.size() - 4 + i] = (uint8_t)(crc >> (8 * i));
        EXPECT_FALSE(back->decode(other.data(), other.size(), why, sizeof why));
        EXPECT_NE(strstr(why, v.said), nullptr) << why;
    }

    // A frame count that promises more than the file holds, checksum intact.
    std::vector<uint8_t> lying = good;
    lying[8] += 1;
    crc = crc32Of(lying.data(), lying.size() - 4);
    for (int i = 0; i < 4; i++) lying[lying.size() - 4 + i] = (uint8_t)(crc >> (8 * i));
    EXPECT_FALSE(back->decode(lying.data(), lying.size(), why, sizeof why));
    EXPECT_EQ(back->frameCount, 0);
    printf("lying header: %s\n", why);

    // Frames whose counter advances add up past the counter's range.
    auto huge = std::make_unique<Replay>();
    huge->begin(0, 1000000000, nullptr);
    for (int i = 0; i < 4; i++) huge->addFrame(INT64_MAX / 2, TruckPose{});
    std::vector<uint8_t> bytes = bytesOf(*huge);
    EXPECT_FALSE(back->decode(bytes.data(), bytes.size(), why, sizeof why));
}

// A race on a course file carries the course's hash and name (version 3); one on a built-in
// course stays version 2, byte for byte as before, so older games still play it.
TEST(Replay, ACourseFileRaceCarriesItsCourse) {
    auto r = std::make_unique<Replay>();
    fill(*r);
    std::vector<uint8_t> builtIn = bytesOf(*r);
    EXPECT_EQ(builtIn[4], replayFormatVersion);
    r->setCourseFile(0x9f3a0c21d4e5b678ull, "Generated 23");
    std::vector<uint8_t> file = bytesOf(*r);
    EXPECT_EQ(file[4], replayCourseFileVersion);
    EXPECT_EQ(file.size(), builtIn.size() + 8 + 1 + strlen("Generated 23"));

    auto back = std::make_unique<Replay>();
    char why[128];
    ASSERT_TRUE(back->decode(file.data(), file.size(), why, sizeof why)) << why;
    EXPECT_EQ(back->courseHash, 0x9f3a0c21d4e5b678ull);
    EXPECT_STREQ(back->courseName, "Generated 23");
    EXPECT_EQ(back->frameCount, r->frameCount);
    ASSERT_TRUE(back->decode(builtIn.data(), builtIn.size(), why, sizeof why)) << why;
    EXPECT_EQ(back->courseHash, 0u);
    EXPECT_STREQ(back->courseName, "");

    // The course's part damaged with its checksum made to match: a zero hash, a name too long
    // for the game, a name that is not one line.
    const size_t hashAt = replayHeaderSize, nameLengthAt = hashAt + 8;
    struct Case {
        size_t at;
        uint8_t value;
    } cases[] = {{hashAt, 0}, {nameLengthAt, (uint8_t)courseKeyNameSize}, {nameLengthAt + 3, '\n'}};
    for (const Case& c : cases) {
        std::vector<uint8_t> bad = file;
        if (c.at == hashAt) memset(&bad[hashAt], 0, 8);
        bad[c.at] = c.value;
        uint32_t crc = crc32Of(bad.data(), bad.size() - 4);
        for (int i = 0; i < 4; i++) bad[bad.size() - 4 + i] = (uint8_t)(crc >> (8 * i));
        EXPECT_FALSE(back->decode(bad.data(), bad.size(), why, sizeof why)) << "byte " << c.at;
        EXPECT_EQ(back->courseHash, 0u);
    }
}

// A race other than the classic one carries its laps, level and computer trucks (version 4), on a
// built-in course (hash 0, no name) or a course file; a setup the game cannot race is refused.
TEST(Replay, ARaceOtherThanTheClassicCarriesItsSetup) {
    struct Case {
        ReplaySetup setup;
        uint64_t hash;
        unsigned version;
    } cases[] = {
        {classicReplaySetup, 0, replayFormatVersion},
        {{6, 1, 0}, 0, replaySetupVersion},  // time attack: alone
        {{3, 2, 4}, 0x9f3a0c21d4e5b678ull, replaySetupVersion},
        {{6, 1, 4, 1}, 0, replayCountdownVersion},  // a quick race: six laps, but counted down
        {{1, 0, 4, 1}, 0x9f3a0c21d4e5b678ull, replayCountdownVersion},
        // Two players: the classic laps and field are no longer the classic race.
        {{6, 1, 4, 0, 2}, 0, replayTwoPlayerVersion},
        {{2, 0, 1, 1, 2}, 0x9f3a0c21d4e5b678ull, replayTwoPlayerVersion},
    };
    auto back = std::make_unique<Replay>();
    char why[128];
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "version " << c.version);
        auto r = std::make_unique<Replay>();
        fill(*r);
        r->setup = c.setup;
        if (c.hash) r->setCourseFile(c.hash, "Generated 23");
        std::vector<uint8_t> bytes = bytesOf(*r);
        EXPECT_EQ(bytes[4], c.version);
        ASSERT_TRUE(back->decode(bytes.data(), bytes.size(), why, sizeof why)) << why;
        EXPECT_EQ(back->setup.laps, c.setup.laps);
        EXPECT_EQ(back->setup.level, c.setup.level);
        EXPECT_EQ(back->setup.rivals, c.setup.rivals);
        EXPECT_EQ(back->setup.countdown, c.setup.countdown);
        EXPECT_EQ(back->setup.humans, c.setup.humans);
        EXPECT_EQ(back->courseHash, c.hash);
        EXPECT_EQ(back->frameCount, r->frameCount);
        for (int i = 0; i < r->frameCount && c.setup.humans == 2; i++)
            EXPECT_EQ(back->frames[i].second.x, r->frames[i].second.x) << "frame " << i;
    }
    // The setup's three bytes of an alone race on a built-in course, each made impossible with the
    // checksum made to match: no laps, five computer trucks, and the classic race itself.
    auto r = std::make_unique<Replay>();
    fill(*r);
    r->setup = {6, 1, 0};
    std::vector<uint8_t> alone = bytesOf(*r);
    const size_t setupAt = replayHeaderSize + 8;
    const uint8_t bad[][3] = {{0, 1, 0}, {6, 1, 5}, {6, 1, 4}};
    for (const auto& b : bad) {
        std::vector<uint8_t> bytes = alone;
        memcpy(&bytes[setupAt], b, 3);
        uint32_t crc = crc32Of(bytes.data(), bytes.size() - 4);
        for (int i = 0; i < 4; i++) bytes[bytes.size() - 4 + i] = (uint8_t)(crc >> (8 * i));
        EXPECT_FALSE(back->decode(bytes.data(), bytes.size(), why, sizeof why)) << int(b[0]) << int(b[2]);
    }
    // The countdown's byte says only 1.
    r->setup = {6, 1, 4, 1};
    std::vector<uint8_t> counted = bytesOf(*r);
    counted[setupAt + 3] = 2;
    uint32_t crc = crc32Of(counted.data(), counted.size() - 4);
    for (int i = 0; i < 4; i++) counted[counted.size() - 4 + i] = (uint8_t)(crc >> (8 * i));
    EXPECT_FALSE(back->decode(counted.data(), counted.size(), why, sizeof why));
    // Two players' countdown and humans bytes: only 0 or 1, then only 2; and player two needs a truck.
    r->setup = {6, 1, 4, 0, 2};
    std::vector<uint8_t> two = bytesOf(*r);
    const uint8_t badTwo[][5] = {{6, 1, 4, 2, 2}, {6, 1, 4, 0, 1}, {6, 1, 4, 0, 3}, {6, 1, 0, 0, 2}};
    for (const auto& b : badTwo) {
        std::vector<uint8_t> bytes = two;
        memcpy(&bytes[setupAt], b, 5);
        uint32_t sum = crc32Of(bytes.data(), bytes.size() - 4);
        for (int i = 0; i < 4; i++) bytes[bytes.size() - 4 + i] = (uint8_t)(sum >> (8 * i));
        EXPECT_FALSE(back->decode(bytes.data(), bytes.size(), why, sizeof why))
            << int(b[2]) << " " << int(b[3]) << " " << int(b[4]);
    }
}
