#include "keystroke_trace.h"

#include "keystroke_decision.h"
#include "trace.h"

void TraceKeystroke(KeystrokeRule rule, const KeystrokeFacts& k) {
    bool with_class = k.has_focus_class;
    bool with_title = k.has_foreground_title;
    // The name only of a key the host never sees: keys typed into the host's own fields
    // can be anything, a password among them.
    bool named = RuleSwallows(rule) && k.has_key_name && k.key_name[0] != '\0';
    Trace("key vk=0x%02X flags=0x%08lX rule=%s%s%s%s%s%s%s%s%s%s", static_cast<unsigned>(k.key),
          static_cast<unsigned long>(k.flags & 0xFFFFFFFF), DecidingRuleName(rule),
          with_class ? " class=\"" : "", with_class ? k.focus_class : "", with_class ? "\"" : "",
          with_title ? " title=\"" : "", with_title ? k.foreground_title : "",
          with_title ? "\"" : "", named ? " name=\"" : "", named ? k.key_name : "",
          named ? "\"" : "");
}
