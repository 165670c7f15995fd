// Test support: reads the export names and imported DLL names of a PE file on disk.
#pragma once

#include <string>
#include <vector>

namespace tarnwick_test {

struct PeImage {
    bool valid = false;
    bool is_64bit = false;
    std::vector<std::string> exports;
    std::vector<std::string> imports; // DLL names as stored
};

PeImage ReadPeImage(const std::string& path);

} // namespace tarnwick_test
