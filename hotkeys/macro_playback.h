// Custom menu buttons have no command id: they are run by writing a four-line host
// macro that clicks the button by name and having the host's UI library play it back.
#pragma once

enum {
    MacroPlayed = 0,
    MacroBadArgument = -1, // also: the library gave a null playback function
    MacroFileNotCreated = -2,
    MacroLibraryNotLoaded = -3,
};

enum { ButtonNameMax = 255 };

// Writes Tarnwick.macro naming the button and plays it back synchronously. The typed
// code is the caller's to empty once the macro has played.
int MacroPlayback(const char* button_name);
