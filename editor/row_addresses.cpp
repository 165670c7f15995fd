#include "row_addresses.h"

#include <map>
#include <utility>

bool IsListedSection(const TableLine& line) {
    return line.section_line != 0 && !line.section.empty() && line.section[0] != 'M';
}

bool IsKeyedLine(const TableLine& line) {
    return line.kind == LineKind::Entry || line.kind == LineKind::NoEquals;
}

std::vector<ListedLine> ListTableLines(const TableLines& table) {
    // How often each section's header and each key under one header occur.
    std::map<std::string, int> headers;
    std::map<std::pair<int, std::string>, int> keys;
    for (const TableLine& line : table.lines) {
        if (line.kind == LineKind::Section)
            ++headers[FoldProfileName(line.section)];
        else if (IsKeyedLine(line))
            ++keys[{line.section_line, FoldProfileName(line.key)}];
    }

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
        address.addressable = !line.has_nul && headers[FoldProfileName(line.section)] == 1 &&
                              keys[{line.section_line, FoldProfileName(line.key)}] == 1;
        // The row shows the line as the profile service lists it: key=value, trimmed.
        std::string shown = line.has_value ? line.key + "=" + line.value : line.key;
        entry.row = RowOfLine(line.section.c_str(), shown.c_str());
        listed.push_back(std::move(entry));
    }
    return listed;
}
