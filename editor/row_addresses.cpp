#include "row_addresses.h"

#include <utility>

bool IsListedSection(const TableLine& line) {
    return line.section_line != 0 && !line.section.empty() && line.section[0] != 'M';
}

std::vector<ListedLine> ListTableLines(const TableLines& table) {
    std::vector<ListedLine> listed;
    for (const TableLine& line : table.lines) {
        if (!IsListedSection(line) || !IsKeyedLine(line))
            continue;
        ListedLine entry;
        entry.text = line.text;
        RowAddress& address = entry.address;
        address.section = line.section;
        address.key = line.key;
        address.value = line.value;
        address.has_value = line.has_value;
        address.line_number = line.number;
        address.addressable = line.addressable;
        // The row shows the line as the profile service lists it: key=value, trimmed.
        std::string shown = line.has_value ? line.key + "=" + line.value : line.key;
        entry.row = RowOfLine(line.section.c_str(), shown.c_str());
        listed.push_back(std::move(entry));
    }
    return listed;
}
