// The trace's line for each keystroke that reaches the keystroke filter: its key code
// and flags, the rule that decided it, the focused class and foreground title when the
// rules asked for them, and its name only when the host never sees the key.
#pragma once

#include "keystroke_port.h"

// Written when the rule has decided, before any of its effects, so that the lookup it
// starts follows the key in the trace.
void TraceKeystroke(KeystrokeRule rule, const KeystrokeFacts& facts);
