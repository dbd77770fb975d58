// Writes the fuzzer's starting corpus: one small file of each form the BMP loader reads, plus
// a few it refuses, so that mutation starts from every branch of the header checks.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

void put(std::vector<uint8_t>& b, size_t at, uint32_t value, int bytes) {
    if (b.size() < at + bytes) b.resize(at + bytes);
    for (int i = 0; i < bytes; i++) b[at + i] = (uint8_t)(value >> (8 * i));
}

// An uncompressed file: header, colour table for 8 bits, rows padded to 4 bytes.
std::vector<uint8_t> bmp(int width, int height, int bits, uint32_t compression = 0) {
    int rows = height < 0 ? -height : height;
    int stride = (width * bits / 8 + 3) / 4 * 4;
    size_t offset = 54 + (bits == 8 ? 1024 : 0) + (compression == 3 ? 12 : 0);
    std::vector<uint8_t> b(offset + (size_t)stride * rows);
    b[0] = 'B';
    b[1] = 'M';
    put(b, 2, (uint32_t)b.size(), 4);
    put(b, 10, (uint32_t)offset, 4);
    put(b, 14, 40, 4);
    put(b, 18, (uint32_t)width, 4);
    put(b, 22, (uint32_t)height, 4);
    put(b, 26, 1, 2);
    put(b, 28, (uint32_t)bits, 2);
    put(b, 30, compression, 4);
    if (compression == 3) {
        put(b, 54, 0x00FF0000, 4);
        put(b, 58, 0x0000FF00, 4);
        put(b, 62, 0x000000FF, 4);
    }
    for (size_t i = offset; i < b.size(); i++) b[i] = (uint8_t)(i * 37);
    return b;
}

bool save(const std::string& folder, const char* name, const std::vector<uint8_t>& bytes) {
    std::string path = folder + "/" + name;
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s folder\n", argv[0]);
        return 2;
    }
    std::string folder = argv[1];
    std::vector<uint8_t> cut = bmp(5, 3, 24);
    cut.resize(cut.size() - 7);
    std::vector<uint8_t> rle = bmp(4, 4, 8, 1);
    bool ok = save(folder, "rgb3x2.bmp", bmp(3, 2, 24)) && save(folder, "rgb4x4.bmp", bmp(4, 4, 24)) &&
              save(folder, "grey5x3.bmp", bmp(5, 3, 8)) && save(folder, "argb2x2.bmp", bmp(2, 2, 32)) &&
              save(folder, "masks2x2.bmp", bmp(2, 2, 32, 3)) && save(folder, "topdown3x3.bmp", bmp(3, -3, 24)) &&
              save(folder, "truncated.bmp", cut) && save(folder, "rle8.bmp", rle) &&
              save(folder, "sixteen.bmp", bmp(2, 2, 16)) && save(folder, "short.bmp", {'B', 'M', 0, 0});
    return ok ? 0 : 1;
}
