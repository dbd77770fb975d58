// libFuzzer target for the replay decoder: replays are files players hand each other. A replay
// that decodes must hold only what the game records, and must come back the same through
// encode and decode. The mutator makes most inputs' checksum match again, or mutation would
// never get past it.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "records/replay.h"

namespace {

Replay* decoded;
Replay* again;

// Every frame, message and header field the same, the poses bit for bit (NaN included).
bool sameReplay(const Replay& a, const Replay& b) {
    if (a.course != b.course || a.frequency != b.frequency || memcmp(a.heldKeys, b.heldKeys, sizeof a.heldKeys) ||
        a.frameCount != b.frameCount || a.messageCount != b.messageCount || a.courseHash != b.courseHash ||
        memcmp(&a.setup, &b.setup, sizeof a.setup))
        return false;
    for (int i = 0; i < a.frameCount; i++) {
        const ReplayFrame& x = a.frames[i];
        const ReplayFrame& y = b.frames[i];
        if (x.counterDelta != y.counterDelta || x.firstMessage != y.firstMessage || x.messageCount != y.messageCount ||
            memcmp(&x.pose, &y.pose, sizeof x.pose) || memcmp(&x.second, &y.second, sizeof x.second))
            return false;
    }
    for (int m = 0; m < a.messageCount; m++) {
        const ReplayMessage& x = a.messages[m];
        const ReplayMessage& y = b.messages[m];
        if (x.message != y.message || x.wParam != y.wParam || x.lParam != y.lParam) return false;
    }
    return true;
}

}  // namespace

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    decoded = new Replay();
    again = new Replay();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    char why[160] = "";
    if (!decoded->decode(data, size, why, sizeof why)) {
        if (decoded->frameCount || decoded->messageCount) abort();  // a refusal leaves nothing to play
        if (!why[0]) abort();
        return 0;
    }
    if (decoded->frameCount < 1) abort();
    for (int m = 0; m < decoded->messageCount; m++)
        if (!isReplayInput(decoded->messages[m].message)) abort();
    std::vector<uint8_t> bytes(decoded->encodedBound());
    size_t n = decoded->encode(bytes.data(), bytes.size());
    if (n == 0 || n > size) abort();  // the encoder's varints are the shortest there are
    if (!again->decode(bytes.data(), n, why, sizeof why)) abort();
    if (!sameReplay(*decoded, *again)) abort();
    return 0;
}

// Mutates, then seals the result with its checksum; one input in sixteen keeps whatever the
// mutation left there, so the checksum's refusal stays covered.
extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed) {
    size = LLVMFuzzerMutate(data, size, maxSize);
    if (size < 8 || seed % 16 == 0) return size;
    uint32_t crc = crc32Of(data, size - 4);
    for (int i = 0; i < 4; i++) data[size - 4 + i] = (uint8_t)(crc >> (8 * i));
    return size;
}
