// Test support: the stand-in host's record of calls, read back as events, texts,
// messages and command ids.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host_core.h"

namespace tarnwick_test {

struct RecordedEvent {
    int kind;
    int value;
    std::string text;
};

std::vector<RecordedEvent> Record();
std::vector<RecordedEvent> Record(int kind);
std::vector<std::string> RecordTexts(int kind);
// The messages shown through the host (text and flag), and the command ids the host
// window ran, in order.
typedef std::vector<std::pair<std::string, int>> Messages;
Messages RecordedMessages();
std::vector<int> RecordedCommandIds();

// One line per event, "kind value text", for failure messages.
std::string DescribeRecord();

} // namespace tarnwick_test
