#pragma once
// A fresh folder under /tmp for one test, removed with everything in it when the test ends.
#include <stdlib.h>

#include <filesystem>
#include <string>

struct TempFolder {
    std::string path;  // empty when no folder could be made

    explicit TempFolder(const char* prefix = "td") {
        std::string pattern = std::string("/tmp/") + prefix + "-XXXXXX";
        if (mkdtemp(pattern.data())) path = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
    std::string file(const char* name) const { return path + "/" + name; }
};
