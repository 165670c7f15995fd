// The plug-in's messages through the host, each written to the trace as it is shown.
#pragma once

// uc1601: flag 0 the host's status line, flag 1 its modal box.
void HostMessage(const char* text, int flag);
// A message that stands in the host's status line (UF_UI_set_status), such as the
// macro playback's failures; the typed code's echo is no message and goes untraced.
void HostStatusMessage(const char* text);
