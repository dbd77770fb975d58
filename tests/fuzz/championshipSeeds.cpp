// The championship fuzzer's starting corpus: a series just begun, one half run, one finished,
// and the damaged and newer forms the reader must refuse.
//   championshipSeeds FOLDER
#include <cstdio>
#include <cstring>
#include <string>

#include "records/championshipProgress.h"

static bool save(const std::string& folder, const char* name, const std::string& text) {
    std::string path = folder + "/" + name;
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(text.data(), 1, text.size(), f) == text.size();
    return fclose(f) == 0 && ok;
}

static std::string formatted(const ChampionshipProgress& p) {
    char text[maxProgressFileSize];
    int n = p.format(text, sizeof text);
    return n < 0 ? std::string() : std::string(text, (size_t)n);
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s folder\n", argv[0]);
        return 2;
    }
    std::string folder = argv[1];
    ChampionshipProgress p;
    ChampionshipCourse c = {};
    c.kind = championshipBuiltIn;
    strcpy(c.name, "Clockwork");
    p.addCourse(c);
    c.kind = championshipFile;
    c.hash = 0x9f3a0c21d4e5b678ull;
    strcpy(c.name, "Generated 23");
    p.addCourse(c);
    c.kind = championshipRandom;
    c.seed = 12345;
    strcpy(c.name, "Generated 12345");
    p.addCourse(c);
    bool ok = save(folder, "begun", formatted(p));
    const int first[championshipTrucks] = {4, 2, 0, 3, 1};
    p.addResult(first);
    ok = ok && save(folder, "half", formatted(p));
    const int second[championshipTrucks] = {0, 1, 2, 3, 4};
    p.addResult(second);
    p.addResult(first);
    ok = ok && save(folder, "finished", formatted(p)) &&
         save(folder, "newer", "trailerdash championship 2\ncourse builtin 0 Clockwork\nend\n") &&
         save(folder, "damaged", "trailerdash championship 1\ncourse builtin 0 Clockwork\nresult 1 1 2 3 4\nend") &&
         save(folder, "cut", "trailerdash championship 1\ncourse file 9f3a0c21d4e5b678 Gen");
    return ok ? 0 : 1;
}
