// The table's sections and their lines as the profile service gives them: every
// section name, and every line of one section as stored ("key=value"), in file order.
// Nothing is cut: the lists grow until the whole list fits.
#pragma once

#include <string>
#include <vector>

// An empty path (no table found at start-up) reads as a missing file: the profile
// service would take a bare name for a file of the Windows folder.
std::vector<std::string> ReadTableSectionNames(const char* table_path);
std::vector<std::string> ReadTableSectionLines(const char* table_path, const char* section);
