// The records fuzzer's starting corpus: a file the game writes, and the damaged and foreign
// forms the parser must survive, so mutation starts from each of its branches.
//   recordsSeeds FOLDER
#include <cstdio>
#include <string>

#include "records/records.h"

namespace {

bool save(const std::string& folder, const char* name, const std::string& text) {
    std::string path = folder + "/" + name;
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(text.data(), 1, text.size(), f) == text.size();
    return fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s folder\n", argv[0]);
        return 2;
    }
    std::string folder = argv[1];
    Records r;
    for (int c = 0; c < maxRecordCourses; c++) r.offer(c, 263.15f + 10.0f * c, 41.28f + c, c % 2 ? "Ada L" : nullptr);
    char text[maxRecordsFileSize];
    int n = r.format(text, sizeof text);
    if (n < 0) return 1;
    bool ok = save(folder, "full", std::string(text, (size_t)n)) &&
              save(folder, "written", "trailerdash records 1\nlap 0 41.2799988\nrace 0 263.149994\n") &&
              save(folder, "newer", "trailerdash records 2\nlap 0 41.5\n") &&
              save(folder, "windows", "trailerdash records 1\r\nlap 1 1e+02\r\nrace 1 3.5e2\r\n") &&
              save(folder, "damaged",
                   "trailerdash records 1\nlap 0 4.5 x\nrace 9 3\nlap 4294967296 1.5\nrace 0 nan\nrace 1 30") &&
              save(folder, "versionless", "lap 0 41.5\n\nrace 1 301.25\n") &&
              save(folder, "stale-name", "race 0 263.5\nby race 0 270 Bo\nby lap 0 1 \x01\n");
    return ok ? 0 : 1;
}
