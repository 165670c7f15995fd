// The user's table and the site's together, as the lookup reads them: the user's three
// sections first, then the site's (through its local copy) in the same order.
#pragma once

#include <string>
#include <vector>

#include "check_texts.h"
#include "table_findings.h"

struct SiteFinding {
    bool in_site = false; // the line is the site table's, else the user's
    int line = 0;
    Severity severity = Severity::Warning;
    std::string text;
};

// A user's entry that overrides a site code, one identical to the site's (redundant),
// and a site code that a shorter code of the user's hides in immediate mode.
std::vector<SiteFinding> CheckTablePair(const std::string& user_bytes,
                                        const std::string& site_bytes, Language language);

// What runs in the module, code by code: the user's effective entries, and the site's
// whose codes the user's table does not hold there (nor hides in immediate mode).
struct PairEntry {
    EffectiveEntry entry;
    bool site = false;
};
std::vector<PairEntry> EffectivePair(const CheckInput& user, const CheckInput& site, int module);

enum class SiteTextId { SiteHeading, PairClean, PairFindings, SiteNote };
const char* SiteText(Language language, SiteTextId id);
