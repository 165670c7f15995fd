// tarnwick-check --seat: one seat as the plug-in will see it, from the environment of
// the user who runs it (run it as that user, outside the host): the code page, the
// installation and its data files, the host's custom-directories file and UI library,
// and the trace. Nothing is written; no file of the host is loaded or run.
#pragma once

#include <string>
#include <vector>

#include "check_texts.h"

enum class SeatStatus { Ok, Warning, Error };

struct SeatItem {
    SeatStatus status;
    std::string text; // what was found and, unless ok, what to do
};

std::vector<SeatItem> CheckSeat(Language language);

// Prints each item as "ok: ", "warning: " or "error: " and its text, then a summary;
// returns the exit status: 0 when every item is ok, 1 otherwise.
int PrintSeatCheck(Language language);
