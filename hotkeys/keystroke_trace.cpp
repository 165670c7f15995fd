#include "keystroke_trace.h"

#include <cstring>

#include "trace.h"

namespace {

// The rules decided before the focused window is asked about, and those decided by the
// focused window alone: their lines name no window the rule never looked at.
const char* const RulesBeforeFocus[] = {"offered-again", "host-key", "not-first-down", "key-held"};
const char* const FocusRules[] = {"own-window", "text-field", "forms-field"};

template <size_t N> bool IsOneOf(const char* text, const char* const (&list)[N]) {
    for (const char* entry : list)
        if (strcmp(text, entry) == 0)
            return true;
    return false;
}

void TraceKeystroke(const Keystroke& k, const char* rule) {
    bool asked_focus = !IsOneOf(rule, RulesBeforeFocus);
    bool asked_foreground = asked_focus && !IsOneOf(rule, FocusRules);
    // The name only of a key the host never sees: keys typed into the host's own fields
    // can be anything, a password among them.
    bool named = RuleSwallows(rule) && k.key_name[0] != '\0';
    Trace("key vk=0x%02X flags=0x%08lX rule=%s%s%s%s%s%s%s%s%s%s", static_cast<unsigned>(k.key),
          static_cast<unsigned long>(k.flags & 0xFFFFFFFF), rule, asked_focus ? " class=\"" : "",
          asked_focus ? k.focus_class : "", asked_focus ? "\"" : "",
          asked_foreground ? " title=\"" : "", asked_foreground ? k.foreground_title : "",
          asked_foreground ? "\"" : "", named ? " name=\"" : "", named ? k.key_name : "",
          named ? "\"" : "");
}

} // namespace

void TracePassedKeystroke(const Keystroke& k) {
    TraceKeystroke(k, DecidingRuleName(k));
}

KeystrokeVerdict DecideAndTrace(const Keystroke& k, const KeystrokeEffects& effects) {
    TraceKeystroke(k, DecidingRuleName(k));
    return DecideKeystroke(k, effects);
}
