// A user's first start. An installation for every user of a machine sets TARNWICK_DIR
// to each user's own folder (%APPDATA%\Tarnwick), which holds nothing until then; the
// installation's own data folder, beside the startup folder that holds the plug-in,
// has the default table and settings.
#pragma once

// When the data folder of the installation root (TARNWICK_DIR as read) does not exist,
// makes it and copies the installation's default data files into it (only files that
// are missing: nothing is overwritten), and says so once in the listing window. True
// when it made the folder; false, doing nothing, otherwise.
bool FillDataFolderFromDefaults(const char* install_root);
