#include "assetsFiles.h"

#include <gtest/gtest.h>

#include <cstdio>

std::string assetPath(const std::string& relative) { return std::string(TD_BINARY_DIR) + "/images/" + relative; }

bool readAssetHeader(const std::string& relative, BmpHeader& header) {
    FILE* f = std::fopen(assetPath(relative).c_str(), "rb");
    if (!f) return false;
    bool ok = header.read(f);
    std::fclose(f);
    return ok;
}

bool loadAsset(const std::string& relative, Image& image) {
    bool ok = image.LoadBMP(assetPath(relative).c_str());
    EXPECT_TRUE(ok) << relative << " did not load";
    return ok && image.data != nullptr;
}
