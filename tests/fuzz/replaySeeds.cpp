// The replay fuzzer's starting corpus, made with the game's own encoder: replays it plays and a
// few it refuses, so mutation starts from every branch of the decoder. Also counts how far the
// inputs of a corpus get, which says whether the fuzzer reaches past the checksum.
//   replaySeeds write FOLDER        replaySeeds count FOLDER...
#include <dirent.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "records/replay.h"

namespace {

// The game's window message codes, as its replays carry them.
const uint32_t keyDown = 0x0100, keyUp = 0x0101, rightButtonDown = 0x0204, wheel = 0x020A, quit = 0x0012;

std::vector<uint8_t> bytesOf(const Replay& r) {
    std::vector<uint8_t> bytes(r.encodedBound());
    bytes.resize(r.encode(bytes.data(), bytes.size()));
    return bytes;
}

// A short race: frames of uneven length, one stepping back, steering, the wheel, a button.
void race(Replay& r, int frames) {
    uint8_t held[256] = {};
    held[0x25] = 1;
    r.begin(1, 1000000000, held);
    for (int i = 0; i < frames; i++) {
        if (i == 0) r.addMessage(keyDown, 0x20, 0);
        if (i % 5 == 1) r.addMessage(i % 10 == 1 ? keyDown : keyUp, 0x26, 0x00480001);
        if (i % 7 == 3) r.addMessage(wheel, 0xFF880000u, -1);
        if (i == 9) r.addMessage(rightButtonDown, 0, 0);
        TruckPose pose = {250.0f + i, 1960.0f - i, -90.0f + i, -90.0f, (float)(i % 5) - 2};
        r.addFrame(i == 4 ? -3 : 16666667 + 1000 * i, pose);
    }
}

bool save(const std::string& folder, const char* name, const std::vector<uint8_t>& bytes) {
    std::string path = folder + "/" + name;
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

int write(const std::string& folder) {
    auto r = std::make_unique<Replay>();
    race(*r, 24);
    std::vector<uint8_t> good = bytesOf(*r);
    std::vector<uint8_t> damaged = good;
    damaged[good.size() / 2] ^= 0x40;
    race(*r, 1);
    std::vector<uint8_t> one = bytesOf(*r);
    // Two people on one screen: the setup's own version and a second pose every frame.
    race(*r, 12);
    r->setup = {3, 2, 4, 1, 2};
    for (int i = 0; i < r->frameCount; i++) r->frames[i].second = {300.0f - i, 1900.0f + i, 90.0f, 91.0f, 1.5f};
    std::vector<uint8_t> twoPlayers = bytesOf(*r);
    // The longest varints: every bit of a wParam and the most negative counter step.
    r->begin(0, 1, nullptr);
    r->addMessage(keyDown, UINT64_MAX, INT64_MIN);
    r->addFrame(INT64_MIN / 4, TruckPose{});
    std::vector<uint8_t> wide = bytesOf(*r);
    // Refused with a good checksum: no frames, and a message the game never records.
    r->begin(0, 1000, nullptr);
    std::vector<uint8_t> empty = bytesOf(*r);
    r->addMessage(quit, 7, 0);
    r->addFrame(1, TruckPose{});
    std::vector<uint8_t> quitting = bytesOf(*r);
    bool ok = save(folder, "race.replay", good) && save(folder, "one-frame.replay", one) &&
              save(folder, "two-players.replay", twoPlayers) &&
              save(folder, "wide.replay", wide) && save(folder, "damaged.replay", damaged) &&
              save(folder, "empty.replay", empty) && save(folder, "quit.replay", quitting);
    return ok ? 0 : 1;
}

// Reads every file of each folder and says how many decode and how many match their checksum.
int count(int folders, char** names) {
    auto r = std::make_unique<Replay>();
    std::vector<uint8_t> data;
    long inputs = 0, pastChecksum = 0, decoding = 0;
    for (int f = 0; f < folders; f++) {
        DIR* dir = opendir(names[f]);
        if (!dir) {
            fprintf(stderr, "replaySeeds: no folder %s\n", names[f]);
            return 1;
        }
        while (dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.') continue;
            std::string path = std::string(names[f]) + "/" + entry->d_name;
            FILE* file = fopen(path.c_str(), "rb");
            if (!file) continue;
            data.clear();
            int c;
            while ((c = fgetc(file)) != EOF) data.push_back((uint8_t)c);
            fclose(file);
            inputs++;
            size_t n = data.size();
            if (n >= (size_t)replayHeaderSize + 4 && memcmp(data.data(), "TDRP", 4) == 0) {
                uint32_t stored = (uint32_t)data[n - 4] | (uint32_t)data[n - 3] << 8 | (uint32_t)data[n - 2] << 16 |
                                  (uint32_t)data[n - 1] << 24;
                if (crc32Of(data.data(), n - 4) == stored) pastChecksum++;
            }
            char why[160];
            if (r->decode(data.data(), n, why, sizeof why)) decoding++;
        }
        closedir(dir);
    }
    printf("%ld inputs: %ld past the checksum, %ld decode\n", inputs, pastChecksum, decoding);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && !strcmp(argv[1], "write")) return write(argv[2]);
    if (argc >= 3 && !strcmp(argv[1], "count")) return count(argc - 2, argv + 2);
    fprintf(stderr, "usage: %s write FOLDER | count FOLDER...\n", argv[0]);
    return 2;
}
