// The first ten seconds of both courses, idle and driven, hashed: any change to a single bit of
// any truck's motion changes a hash. A deliberate change of the numbers updates them here, with
// the reason in its commit.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <unistd.h>

#include "tools/runner/raceRunner.h"

namespace {
// FNV-1a, 64 bits, over the whole trace file.
uint64_t hashFile(const char* path) {
    uint64_t h = 1469598103934665603ull;
    FILE* f = fopen(path, "rb");
    if (!f) return 0;
    int c;
    while ((c = fgetc(f)) != EOF) h = (h ^ (uint64_t)(unsigned char)c) * 1099511628211ull;
    fclose(f);
    return h;
}
}  // namespace

TEST(TraceHash, TenSecondsOfBothCoursesKeepTheirBits) {
    // idle course 0, driven course 0, idle course 1, driven course 1
    const uint64_t expected[4] = {0x03b6685333c87bd6ull, 0x616aa6a85042b117ull, 0x5d18660d0b57eae0ull,
                                  0x78e72aa6fa6dc15aull};
    char path[] = "/tmp/tdTraceXXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    for (int k = 0; k < 4; k++) {
        RunnerOptions o;
        snprintf(o.dataFolder, sizeof o.dataFolder, "%s", TD_BINARY_DIR);
        snprintf(o.tracePath, sizeof o.tracePath, "%s", path);
        o.track = k / 2;
        o.idle = k % 2 == 0;
        o.drawEvery = 0;
        o.maxSeconds = 10.0;
        FILE* out = tmpfile();
        {
            RaceRunner runner(o, out);
            ASSERT_TRUE(runner.start(stderr));
            runner.runRaces();
            printf("course %d %s: %lld frames\n", o.track, o.idle ? "idle" : "driven", runner.frame);
        }
        fclose(out);
        uint64_t h = hashFile(path);
        printf("  trace hash 0x%016llxull\n", (unsigned long long)h);
        EXPECT_EQ(expected[k], h) << "course " << o.track << (o.idle ? " idle" : " driven");
    }
    unlink(path);
}
