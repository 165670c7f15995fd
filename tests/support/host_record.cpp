#include "host_record.h"

#include <sstream>

namespace tarnwick_test {

std::vector<RecordedEvent> Record() {
    std::vector<RecordedEvent> events;
    HostEvent e;
    for (int i = 0; HostRecord_Get(i, &e); ++i)
        events.push_back({e.kind, e.value, std::string(e.text, e.length)});
    return events;
}

std::vector<RecordedEvent> Record(int kind) {
    std::vector<RecordedEvent> events;
    for (const RecordedEvent& e : Record())
        if (e.kind == kind)
            events.push_back(e);
    return events;
}

std::vector<std::string> RecordTexts(int kind) {
    std::vector<std::string> texts;
    for (const RecordedEvent& e : Record(kind))
        texts.push_back(e.text);
    return texts;
}

Messages RecordedMessages() {
    Messages messages;
    for (const RecordedEvent& e : Record(HOST_EV_MESSAGE))
        messages.emplace_back(e.text, e.value);
    return messages;
}

std::vector<int> RecordedCommandIds() {
    std::vector<int> ids;
    for (const RecordedEvent& e : Record(HOST_EV_COMMAND))
        ids.push_back(e.value);
    return ids;
}

std::string DescribeRecord() {
    std::ostringstream out;
    for (const RecordedEvent& e : Record())
        out << HostRecord_KindName(e.kind) << " " << e.value << " " << e.text << "\n";
    return out.str();
}

} // namespace tarnwick_test
