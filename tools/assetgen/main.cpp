// Draws every picture the game loads, its surface maps and its font into an images folder:
//   td_assetgen <images folder> <folder of the DejaVu fonts> [<icons folder>]
// The output depends only on the code and the fonts: fixed seeds, no clock, one thread.
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/assetgen/fontAtlas.h"
#include "tools/assetgen/icon.h"
#include "tools/assetgen/tilePictures.h"
#include "tools/assetgen/truckPictures.h"

namespace {

bool makeFolder(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (error) std::fprintf(stderr, "assetgen: cannot create %s: %s\n", path.c_str(), error.message().c_str());
    return !error;
}

bool writeTiles(const std::string& images) {
    std::string track = images + "/track";
    if (!makeFolder(track + "/physMap")) return false;
    bool ok = true;
    for (const TileDesc& tile : tilePictures)
        ok = writeBmp24((track + "/" + tile.name + ".bmp").c_str(), paintTile(tile)) && ok;
    for (const SurfaceMapDesc& map : surfaceMaps)
        ok = writeBmp8((track + "/physMap/" + map.name + ".bmp").c_str(), paintSurfaceMap(map)) && ok;
    return writeBmp24((images + "/wall.bmp").c_str(), paintWall()) && ok;
}

bool writeTrucks(const std::string& images) {
    std::string trucks = images + "/trucks";
    if (!makeFolder(trucks)) return false;
    bool ok = true;
    for (int i = 0; i < truckStyleCount; ++i)
        ok = writeBmp24((trucks + "/" + truckStyles[i].name + ".bmp").c_str(), paintTruck(truckStyles[i])) && ok;
    return ok;
}

bool writeFont(const std::string& images, const std::string& fonts) {
    std::string text = images + "/text";
    if (!makeFolder(text)) return false;
    return writeFontAtlas((text + "/impactVerdana16").c_str(), (fonts + "/DejaVuSans-Bold.ttf").c_str(),
                          (fonts + "/DejaVuSans.ttf").c_str());
}

// The desktop icon at the sizes the icon theme folders hold: <icons>/<n>x<n>/trailerdash.png.
bool writeIcons(const std::string& icons) {
    bool ok = true;
    for (int size : {64, 256}) {
        std::string folder = icons + "/" + std::to_string(size) + "x" + std::to_string(size);
        ok = makeFolder(folder) && writePng((folder + "/trailerdash.png").c_str(), paintIcon(size)) && ok;
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s <images folder> <font folder> [<icons folder>]\n", argv[0]);
        return 2;
    }
    std::string images = argv[1];
    bool ok = writeTiles(images);
    ok = writeTrucks(images) && ok;
    ok = writeFont(images, argv[2]) && ok;
    if (argc == 4) ok = writeIcons(argv[3]) && ok;
    return ok ? 0 : 1;
}
