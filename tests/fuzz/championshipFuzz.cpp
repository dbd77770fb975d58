// libFuzzer target for the championship progress reader: the file sits in the data folder where
// anything may happen to it. A file it takes must hold only what a series can (each result every
// truck once, no more results than courses), and must read back the same once written.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "records/championshipProgress.h"

static void checkValues(const ChampionshipProgress& p) {
    if (p.courseCount < 1 || p.courseCount > maxChampionshipRaces) abort();
    if (p.racesRun < 0 || p.racesRun > p.courseCount) abort();
    for (int i = 0; i < p.courseCount; i++) {
        const ChampionshipCourse& c = p.courses[i];
        size_t length = strnlen(c.name, championshipNameSize);
        if (length < 1 || length >= (size_t)championshipNameSize) abort();
        if (c.kind == championshipFile && c.hash == 0) abort();
    }
    for (int r = 0; r < p.racesRun; r++) {
        int seen = 0;
        for (int k = 0; k < championshipTrucks; k++) {
            int t = p.places[r][k];
            if (t < 0 || t >= championshipTrucks || (seen & 1 << t)) abort();
            seen |= 1 << t;
        }
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (size_t)maxProgressFileSize) return 0;
    ChampionshipProgress read;
    char why[progressMessageSize];
    if (!read.parse((const char*)data, (long)size, why, sizeof why)) {
        // Refused whole: nothing of it kept, and a reason given.
        if (read.courseCount != 0 || read.racesRun != 0 || why[0] == '\0') abort();
        return 0;
    }
    checkValues(read);
    static char text[maxProgressFileSize];
    int n = read.format(text, sizeof text);
    if (n < 0) abort();
    ChampionshipProgress back;
    if (!back.parse(text, n, why, sizeof why) || back.courseCount != read.courseCount ||
        back.racesRun != read.racesRun || memcmp(back.courses, read.courses, sizeof back.courses) != 0 ||
        memcmp(back.places, read.places, sizeof back.places) != 0)
        abort();
    return 0;
}
