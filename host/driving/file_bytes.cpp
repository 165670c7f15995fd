#include "file_bytes.h"

#include <cstdio>

namespace driving {

bool ReadFileBytes(const std::string& path, std::string* bytes) {
    bytes->clear();
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return false;
    char chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes->append(chunk, got);
    fclose(f);
    return true;
}

std::string FileBytes(const std::string& path) {
    std::string bytes;
    ReadFileBytes(path, &bytes);
    return bytes;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

} // namespace driving
