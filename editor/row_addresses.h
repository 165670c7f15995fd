// Where each row of the editor's list stands in button_id.ini: the section it was read
// from (never its fifth field, which a hand edit can make name another section) and its
// key. The rows are read from the file's own lines, so lines the profile service does
// not list (those under a repeated header) are listed too.
#pragma once

#include <string>
#include <vector>

#include "shortcut_list.h"
#include "table_lines.h"

struct RowAddress {
    std::string section; // the header's name, as read
    std::string key;     // as the profile service reads it
    std::string value;   // as read: a line whose value changed is no longer the one listed
    bool has_value = false;
    int line_number = 0; // 1-based, for messages
    // The line's own TableLine::addressable: false when the profile service cannot reach
    // it by section and key.
    bool addressable = true;
    // A line of the site's table, read from its local copy: listed, never written.
    bool site = false;
};

struct ListedLine {
    ShortcutRow row;
    RowAddress address;
    std::string text; // the line as it stands in the file
};

// Lines under a named header whose name does not start with "M" (the MODE section)
// are the editor's; lines before the first header belong to no section.
bool IsListedSection(const TableLine& line);

// Every keyed line of the listed sections, in file order.
std::vector<ListedLine> ListTableLines(const TableLines& table);
