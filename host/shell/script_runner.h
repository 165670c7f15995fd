// The shell's script language, one command a line ("#" starts a comment; the file is
// UTF-8). Each command runs on the UI thread between message pumps, so hooks, posted
// commands and dialogs run as they do for a user:
//
//   key Space | key Shift+A | key Ctrl+F1   press keys by name into the main window
//   type ABC                                letters one by one
//   menu 开启快捷键                          choose a menu item by its label
//   action NAME                             run a registered menu action directly
//   module 40 | part open | part close      the host's application module and part
//   button NAME=ID                          add a host menu button
//   wait 200                                pump messages for 200 ms
//   screenshot main FILE.png                screenshot of the main window, or of the
//   screenshot "caption" FILE.png           top-level window with that caption
//   note TEXT                               a line in the transcript
//   editor use "caption"                    the dialog the editor commands drive
//                                           (default: the top dialog of the host)
//   editor set ID TEXT | editor select ID TEXT | editor scope TEXT
//   editor click ID | editor check ID on|off | editor row ID N
//   editor list ID | editor text ID | editor close
#pragma once

#include <string>

// Runs the script; returns the number of lines in error (each is noted in the record).
// Screenshot files with a relative name go into `shots_folder`.
int RunScript(const std::string& path, const std::string& shots_folder);
