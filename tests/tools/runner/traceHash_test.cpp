// The first ten seconds of both courses, idle and driven, hashed: any change to a single bit of
// any truck's motion changes a hash. A deliberate change of the numbers updates them here, with
// the reason in its commit.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <unistd.h>

#include "tools/runner/raceRunner.h"

namespace {
// FNV-1a, 64 bits, over an open file from its start.
uint64_t hashOpenFile(FILE* f) {
    uint64_t h = 1469598103934665603ull;
    rewind(f);
    int c;
    while ((c = fgetc(f)) != EOF) h = (h ^ (uint64_t)(unsigned char)c) * 1099511628211ull;
    return h;
}

// The same over a named file; 0 when it cannot be read.
uint64_t hashFile(const char* path) {
    FILE* f = fopen(path, "rb");
    if (!f) return 0;
    uint64_t h = hashOpenFile(f);
    fclose(f);
    return h;
}
}  // namespace

TEST(TraceHash, TenSecondsOfBothCoursesKeepTheirBits) {
    // idle course 0, driven course 0, idle course 1, driven course 1
    const uint64_t expected[4] = {0x03b6685333c87bd6ull, 0x616aa6a85042b117ull, 0x5d18660d0b57eae0ull,
                                  0x78e72aa6fa6dc15aull};
    // Undrawn runs make no GL context and read no picture; drawn ones do both. Neither may move
    // a truck by a bit or change a result.
    const int drawEvery[2] = {0, 30};
    char path[] = "/tmp/tdTraceXXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    for (int k = 0; k < 4; k++) {
        uint64_t results[2] = {0, 0};
        for (int d = 0; d < 2; d++) {
            RunnerOptions o;
            snprintf(o.dataFolder, sizeof o.dataFolder, "%s", TD_BINARY_DIR);
            snprintf(o.tracePath, sizeof o.tracePath, "%s", path);
            o.track = k / 2;
            o.idle = k % 2 == 0;
            o.drawEvery = drawEvery[d];
            o.maxSeconds = 10.0;
            FILE* out = tmpfile();
            {
                RaceRunner runner(o, out);
                ASSERT_TRUE(runner.start(stderr));
                runner.runRaces();
                printf("course %d %s, drawn every %d: %lld frames\n", o.track, o.idle ? "idle" : "driven",
                       o.drawEvery, runner.frame);
            }
            results[d] = hashOpenFile(out);
            fclose(out);
            uint64_t h = hashFile(path);
            printf("  trace hash 0x%016llxull\n", (unsigned long long)h);
            EXPECT_EQ(expected[k], h) << "course " << o.track << (o.idle ? " idle" : " driven") << ", drawn every "
                                      << o.drawEvery;
        }
        EXPECT_EQ(results[0], results[1]) << "results of course " << k / 2 << (k % 2 == 0 ? " idle" : " driven");
    }
    unlink(path);
}
