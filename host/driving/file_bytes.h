// Whole files, byte for byte.
#pragma once

#include <string>

namespace driving {

// False when the file does not open; bytes then is empty.
bool ReadFileBytes(const std::string& path, std::string* bytes);
// The file's bytes, empty when it does not open.
std::string FileBytes(const std::string& path);
// Creates or replaces the file; false when it cannot be written completely.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

} // namespace driving
