// The site's table (TARNWICK_SITE_TABLE, usually on a share) and its local copy in the
// data folder, site_button_id.ini. Only the refresh reads the site's file; the lookup and
// the editor read the copy, so no keystroke waits for the network. The refresh is the
// copy's only writer; nothing of the plug-in writes the site's file.
#pragma once

#include <string>

enum { SiteTablePathSize = 260 };

// The site's table as the environment names it; empty when there is none.
extern char SiteTablePath[SiteTablePathSize];

enum class SiteCopyState {
    NoSite,      // no site table, or no data folder to keep its copy in
    Current,     // the copy matches the site's file (size and last-write time)
    Refreshed,   // the copy was made afresh
    Unreachable, // the site's file cannot be read: the last copy serves
    NoCopy,      // the site's file cannot be read and there is no copy yet
    CopyFailed,  // the site's file was read but the copy could not be replaced
};

// The result of the last refresh of this process.
extern SiteCopyState SiteCopyStatus;

// Reads TARNWICK_SITE_TABLE from the process environment into SiteTablePath; a value
// that does not fit leaves it empty. False when there is no usable site table.
bool ReadSiteTableSetting();

// The copy's path in the folder of the user's table; empty when it would not fit.
std::string SiteCopyPathBeside(const char* table_path);

// Copies the site's file to the copy when their size or last-write time differ: whole,
// into a file beside the copy, read back and compared, then put in place. The copy keeps
// the site's last-write time, so the next refresh compares with the copy itself.
// Every state but NoSite also reads the copy's keys afresh (SiteCopyMayHold).
SiteCopyState RefreshSiteCopy(const char* site_path, const char* copy_path);

// False only when the copy, as the last refresh read it, holds no such key in that
// section (names compared as the profile service compares them): the lookup then spares
// the read. True whenever the copy could not be read plainly (not GBK, NUL bytes).
bool SiteCopyMayHold(const char* section, const char* key);
