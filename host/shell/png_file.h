// Writes 24-bit RGB images as PNG files. The image data goes into stored (uncompressed)
// deflate blocks, which every PNG reader accepts; no compression library is needed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// rgb: height rows of width * 3 bytes, top row first.
bool WritePngFile(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb);
