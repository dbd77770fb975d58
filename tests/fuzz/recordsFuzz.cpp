// libFuzzer target for the records parser: the records file is text anyone can edit. Every time
// it keeps must be one the game could have set, and the file the game writes back must read as
// the same times, bit for bit, with the same holders' names.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "records/records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The game never reads more of a file than this.
    if (size > (size_t)maxRecordsFileSize) return 0;
    Records read;
    bool taken = read.parse((const char*)data, (long)size, nullptr);
    if (!taken && !read.readOnly) abort();  // only a newer file is refused whole
    for (int c = 0; c < maxRecordCourses; c++) {
        float lap = read.bestLap(c), race = read.bestRace(c);
        if (lap != 0.0f && !(lap > 0.0f && lap < maxRecordSeconds)) abort();
        if (race != 0.0f && !(race > 0.0f && race < maxRecordSeconds)) abort();
        // A holder is a name the game could show, and only of a time kept.
        for (const char* by : {read.lapHolder(c), read.raceHolder(c)})
            if (by[0] && !isRecordName(by)) abort();
        if ((read.lapHolder(c)[0] && lap == 0.0f) || (read.raceHolder(c)[0] && race == 0.0f)) abort();
    }
    static char text[maxRecordsFileSize];
    int n = read.format(text, sizeof text);
    if (n < 0) abort();  // every course's two lines always fit
    Records back;
    if (!back.parse(text, n, nullptr) || back.readOnly) abort();
    if (memcmp(back.laps, read.laps, sizeof back.laps) || memcmp(back.races, read.races, sizeof back.races)) abort();
    for (int c = 0; c < maxRecordCourses; c++)
        if (strcmp(back.lapHolder(c), read.lapHolder(c)) || strcmp(back.raceHolder(c), read.raceHolder(c))) abort();
    return 0;
}
