// The trace's line for each keystroke that reaches the keystroke filter: its key code
// and flags, the rule that decided it, the focused class and foreground title when a
// window rule was asked, and its name only when the host never sees the key.
#pragma once

#include "keystroke_decision.h"

// A keystroke that the facts gathered so far pass on to the host: never named.
void TracePassedKeystroke(const Keystroke& keystroke);

// DecideKeystroke, its line written first, so that the lookup it starts follows the
// key in the trace.
KeystrokeVerdict DecideAndTrace(const Keystroke& keystroke, const KeystrokeEffects& effects);
