// The site's table in the plug-in's life: located at start-up, its local copy refreshed
// at start-up, at each switch-on and at each opening of the editor.
#pragma once

// Reads TARNWICK_SITE_TABLE and sets SiteCopyPath beside the user's table. Asks the
// host nothing, so a seat without a site table makes the same calls as before.
void LocateSiteTable();
// Refreshes the copy when the site's file changed; `occasion` names the moment in the
// trace.
void RefreshSiteTable(const char* occasion);
