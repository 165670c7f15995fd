// The export names and imported library names of a 64-bit PE file (a DLL or program),
// read from the file on disk without loading it: nothing of the file runs. Used where a
// library must be judged before anyone loads it (the seat check, the trace's start-up
// facts) and by the tests of the binary contract.
#pragma once

#include <string>
#include <vector>

struct PeImage {
    bool valid = false;               // a PE file whose tables could be read
    bool is_64bit = false;            // PE32+; the tables of a 32-bit file are not read
    unsigned long error = 0;          // the system's error when the file could not be read
    std::vector<std::string> exports; // names, as the export table holds them
    std::vector<std::string> imports; // library names, as the import table holds them
};

PeImage ReadPeImage(const std::string& path);

// True when the image's export table holds the name, compared byte for byte.
bool ExportsName(const PeImage& image, const char* name);
