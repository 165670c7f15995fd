#include "site_table.h"

#include <cstdio>
#include <string>

#include "data_locations.h"
#include "site_copy.h"
#include "trace.h"

namespace {

const char* StateText(SiteCopyState state) {
    switch (state) {
    case SiteCopyState::NoSite:
        return "no site table";
    case SiteCopyState::Current:
        return "the copy is current";
    case SiteCopyState::Refreshed:
        return "copied afresh";
    case SiteCopyState::Unreachable:
        return "the site's file cannot be read, the last copy serves";
    case SiteCopyState::NoCopy:
        return "the site's file cannot be read and there is no copy";
    case SiteCopyState::CopyFailed:
        return "the copy could not be replaced, the last copy serves";
    }
    return "";
}

} // namespace

void LocateSiteTable() {
    SiteCopyPath[0] = '\0';
    if (!ReadSiteTableSetting())
        return;
    std::string copy = SiteCopyPathBeside(ShortcutTablePath);
    // Without the user's table there is no data folder to keep the copy in.
    if (copy.empty() || copy.size() >= sizeof SiteCopyPath) {
        Trace("site table \"%s\": no data folder for its copy", SiteTablePath);
        return;
    }
    snprintf(SiteCopyPath, sizeof SiteCopyPath, "%s", copy.c_str());
}

void RefreshSiteTable(const char* occasion) {
    if (!SiteCopyPath[0])
        return;
    SiteCopyStatus = RefreshSiteCopy(SiteTablePath, SiteCopyPath);
    Trace("site table \"%s\" at %s: %s (copy \"%s\")", SiteTablePath, occasion,
          StateText(SiteCopyStatus), SiteCopyPath);
}
