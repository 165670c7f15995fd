// Where the plug-in's files are, worked out once at start-up and kept for the run.
// The data files live in the "data" folder of the installation named by TARNWICK_DIR;
// a path stays empty when its file did not open at start-up.
#pragma once

enum { DataPathSize = 256, UiLibraryPathSize = 260 };

extern char ShortcutTablePath[DataPathSize]; // button_id.ini
extern char MacroFilePath[DataPathSize];     // Tarnwick.macro
extern char SettingsFilePath[DataPathSize];  // chick.ini
// site_button_id.ini, the local copy of the site's table beside button_id.ini; empty
// when no site table is set.
extern char SiteCopyPath[DataPathSize];
extern char UiLibraryPath[UiLibraryPathSize]; // libugui.dll

// Fills the 256-byte buffer with TARNWICK_DIR (at most 255 characters, one trailing
// backslash removed); false, after a message box, when the variable is not set.
bool ReadInstallRoot(char* buffer);
// The same rule for a value already read: at most 255 characters, one trailing
// backslash (not the trail byte of a double-byte character) removed.
void CopyInstallRoot(const char* value, char* buffer);

// 0 recorded, -1 no install root, -2 the file does not open for reading,
// -3 the composed path does not fit its 256-byte buffer.
int LocateDataFile(const char* file_name, char* path);

// Sets UiLibraryPath: the path of the libugui.dll the host process has loaded, or,
// when it has none loaded, the folder chosen by the host's release number beside the
// working directory.
void LocateUiLibrary();
