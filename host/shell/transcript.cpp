#include "transcript.h"

#include <cstdio>

#include "text_codes.h"

namespace {

TranscriptPaths Paths;

std::string Line(const std::string& tag, const std::string& text) {
    std::string head = "[" + tag + "]";
    if (head.size() < 8)
        head.append(8 - head.size(), ' ');
    std::string out;
    // A text of several lines continues under the first one's text.
    size_t start = 0;
    bool first = true;
    while (true) {
        size_t end = text.find('\n', start);
        std::string piece = text.substr(start, end == std::string::npos ? end : end - start);
        if (!piece.empty() && piece.back() == '\r')
            piece.pop_back();
        out += (first ? head : std::string(head.size(), ' ')) + " " + piece + "\n";
        first = false;
        if (end == std::string::npos || end + 1 == text.size())
            break;
        start = end + 1;
    }
    return out;
}

std::string ShowPaths(const std::string& text) {
    std::string out = text;
    if (!Paths.tarnwick_dir.empty())
        out = ReplacePathText(out, Paths.tarnwick_dir, "<TARNWICK_DIR>");
    if (!Paths.root.empty())
        out = ReplacePathText(out, Paths.root, "<root>");
    return out;
}

std::string FileName(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string LastLine(const std::string& bytes) {
    size_t end = bytes.size();
    while (end > 0 && (bytes[end - 1] == '\n' || bytes[end - 1] == '\r'))
        --end;
    size_t start = end == 0 ? std::string::npos : bytes.rfind('\n', end - 1);
    start = start == std::string::npos ? 0 : start + 1;
    return bytes.substr(start, end - start);
}

std::string LastPlaybackPath;

} // namespace

void Transcript_SetPaths(const TranscriptPaths& paths) {
    Paths = paths;
}

std::string Transcript_Event(const HostEvent& e) {
    std::string text(e.text, e.length);
    const bool from_plugin = e.kind == HOST_EV_LISTING || e.kind == HOST_EV_SYSLOG ||
                             e.kind == HOST_EV_STATUS || e.kind == HOST_EV_MESSAGE;
    if (from_plugin)
        text = AnsiToGbk(text);
    std::string value = std::to_string(e.value);
    switch (e.kind) {
    case HOST_EV_INITIALIZE:
        return Line("host", "UF_initialize -> " + value);
    case HOST_EV_TERMINATE:
        return Line("host", "UF_terminate -> " + value);
    case HOST_EV_FAIL_MESSAGE:
        return Line("host", "UF_get_fail_message " + value + " -> " + text);
    case HOST_EV_LISTING_OPEN:
        return Line("listing", "(opened)");
    case HOST_EV_LISTING:
        return Line("listing", ShowPaths(text));
    case HOST_EV_SYSLOG:
        return Line("syslog", ShowPaths(text));
    case HOST_EV_VARIABLE:
        return Line("host", "UF_translate_variable " + text + " -> " +
                                (e.value ? "defined" : "not defined"));
    case HOST_EV_RELEASE:
        return Line("host", "UF_get_release -> " + text);
    case HOST_EV_MODULE:
        return Line("host", "UF_ask_application_module -> " + value);
    case HOST_EV_DISPLAY_PART:
        return Line("host", "UF_PART_ask_display_part -> " + value);
    case HOST_EV_LOAD_LIBRARY: {
        size_t bar = text.find('|');
        std::string path = text.substr(0, bar);
        std::string symbol = bar == std::string::npos ? std::string() : text.substr(bar + 1);
        return Line("host", "UF_load_library " + ShowPaths(path) + " " + symbol + " -> " + value);
    }
    case HOST_EV_ADD_ACTION:
        return Line("host", "menu action registered: " + text);
    case HOST_EV_BUTTON_ID:
        return Line("host", "UF_MB_ask_button_id " + text + " -> " +
                                (e.value ? value : std::string("none")));
    case HOST_EV_STATUS:
        return Line("status", text.empty() ? std::string("(empty)") : text);
    case HOST_EV_MESSAGE:
        // Flag 0 is a status-line text, flag 1 the host's modal box.
        return Line("msg", "(flag " + value + (e.value == 0 ? ", status line) " : ") ") + text);
    case HOST_EV_PLAYBACK_PATH: {
        // The length the plug-in passes is checked rather than printed: it varies with
        // where the stage lies.
        bool matches = static_cast<size_t>(e.value) == text.size();
        LastPlaybackPath = text;
        return Line("host", "macro playback " + ShowPaths(text) + " (path length " +
                                (matches ? std::string("matches") : "given as " + value) + ")");
    }
    case HOST_EV_PLAYBACK:
        return Line("playback", FileName(LastPlaybackPath) + " (" + std::to_string(e.length) +
                                    " bytes): " + LastLine(text));
    case HOST_EV_COMMAND:
        return Line("run", text.empty() ? "command " + value + " (no host button has this id)"
                                        : "host button " + value + " " + text);
    case HOST_EV_CUSTOM_COMMAND:
        return Line("run", "custom button " + text);
    case HOST_EV_ACTION:
        return Line("action", text + " -> " + value);
    case HOST_EV_NOTE: {
        size_t space = text.find(' ');
        if (space == std::string::npos)
            return Line("note", ShowPaths(text));
        return Line(text.substr(0, space), ShowPaths(text.substr(space + 1)));
    }
    }
    return Line(HostRecord_KindName(e.kind), value + " " + text);
}

std::string Transcript_Record() {
    std::string out;
    LastPlaybackPath.clear();
    HostEvent e;
    for (int i = 0; HostRecord_Get(i, &e); ++i)
        out += Transcript_Event(e);
    return GbkToUtf8(out);
}
