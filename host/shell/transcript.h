// The readable form of the host's record: one line per event, "[tag] text", in the
// order the events happened. Paths under the stage root or the installation folder
// are shown as "<root>" and "<TARNWICK_DIR>", so that a rerun prints the same text
// wherever the stage lies.
#pragma once

#include <string>

#include "host_core.h"

struct TranscriptPaths {
    std::string root;         // the stage root (the parent of the working folder)
    std::string tarnwick_dir; // the installation folder the plug-in is given
};

void Transcript_SetPaths(const TranscriptPaths& paths);
// GBK lines, each ended by "\n"; events of several lines give several.
std::string Transcript_Event(const HostEvent& event);
// The whole record as UTF-8.
std::string Transcript_Record();
