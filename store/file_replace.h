// Replacing a whole file safely: the new bytes go into a file beside it, which then
// takes its place, so a failed write leaves the old file (or the older copy) whole.
#pragma once

#include <string>

// Writes the bytes into path + ".new"; false, with no file left there, on any failure.
bool WriteFreshFile(const std::string& path, const std::string& bytes);
// False, with the old file untouched and no file left beside it, on any failure.
bool ReplaceFileBytes(const std::string& path, const std::string& bytes);
