// The settings fuzzer's starting corpus: the file the game writes, one with every value changed,
// and the damaged, newer and foreign forms the reader must survive.
//   settingsSeeds FOLDER
#include <cstdio>
#include <string>

#include "records/settings.h"

static bool save(const std::string& folder, const char* name, const std::string& text) {
    std::string path = folder + "/" + name;
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(text.data(), 1, text.size(), f) == text.size();
    return fclose(f) == 0 && ok;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s folder\n", argv[0]);
        return 2;
    }
    std::string folder = argv[1];
    char text[maxSettingsFileSize];
    Settings s;
    int n = s.format(text, sizeof text);
    if (n < 0) return 1;
    bool ok = save(folder, "defaults", std::string(text, (size_t)n));
    s.setName("Ada Lovelace");
    s.difficulty = settingsHard;
    s.laps = 10;
    s.volume[volumeEngines] = 35;
    s.ghost = false;
    s.start = startWindowed;
    s.bindKey(keyAccelerate, 'W');
    s.bindKey(keyHelp, 0x70);
    s.bindKey(keyQuit, 0xBA);
    n = s.format(text, sizeof text);
    if (n < 0) return 1;
    ok = ok && save(folder, "changed", std::string(text, (size_t)n)) &&
         save(folder, "newer", "trailerdash settings 2\nlaps 3\ncolour blue\n") &&
         save(folder, "damaged", "trailerdash settings 1\nlaps 11\nvolume master 101\nkey brake Up\nname  x\nlaps 4") &&
         save(folder, "swapped", "trailerdash settings 1\nkey accelerate Down\nkey brake Up\nkey pause Escape\n");
    return ok ? 0 : 1;
}
