// A user's first start. An installation for every user of a machine sets TARNWICK_DIR
// to each user's own folder (%APPDATA%\Tarnwick), which holds nothing until then; the
// installation's own data folder, beside the startup folder that holds the plug-in,
// has the default table and settings.
#pragma once

// When the data folder under TARNWICK_DIR does not exist, makes it and copies the
// installation's default data files into it (only files that are missing: nothing is
// overwritten), and says so once in the listing window. Does nothing otherwise, and
// shows no message when TARNWICK_DIR is not set (locating the data files does).
void FillDataFolderFromDefaults();
