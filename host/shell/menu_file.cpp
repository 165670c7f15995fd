#include "menu_file.h"

#include <cstdlib>

#include "text_codes.h"

namespace {

struct Block {
    enum Kind { None, Edit, Menu };
    Kind kind = None;
    size_t index = 0; // into MenuFile::edits or MenuFile::menus
};

const char* EndKeyword(MenuEdit::Place place) {
    switch (place) {
    case MenuEdit::After:
        return "END_OF_AFTER";
    case MenuEdit::Before:
        return "END_OF_BEFORE";
    case MenuEdit::Top:
        return "END_OF_TOP";
    case MenuEdit::Bottom:
        return "END_OF_BOTTOM";
    }
    return "";
}

class Parser {
  public:
    MenuFile Run(const std::string& text) {
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            ++line_;
            Line(Trim(text.substr(start, end - start)));
            start = end + 1;
        }
        if (block_.kind == Block::Menu)
            Problem("END_OF_MENU missing for " + file_.menus[block_.index].name);
        else if (block_.kind == Block::Edit)
            Problem(std::string(EndKeyword(file_.edits[block_.index].place)) + " missing");
        if (file_.version == 0)
            Problem("VERSION missing");
        return file_;
    }

  private:
    void Problem(const std::string& what) {
        file_.problems.push_back("line " + std::to_string(line_) + ": " + what);
    }

    std::vector<MenuItem>* Items() {
        if (block_.kind == Block::Edit)
            return &file_.edits[block_.index].items;
        if (block_.kind == Block::Menu)
            return &file_.menus[block_.index].items;
        return nullptr;
    }

    void StartEdit(MenuEdit::Place place, const std::string& anchor, const std::string& word) {
        if (block_.kind != Block::None) {
            Problem(word + " inside a block");
            return;
        }
        if (edit_target_.empty()) {
            Problem(word + " without EDIT");
            return;
        }
        if ((place == MenuEdit::After || place == MenuEdit::Before) && anchor.empty()) {
            Problem(word + " without an item name");
            return;
        }
        MenuEdit edit;
        edit.target = edit_target_;
        edit.place = place;
        edit.anchor = anchor;
        file_.edits.push_back(edit);
        block_ = {Block::Edit, file_.edits.size() - 1};
    }

    void AddItem(MenuItem::Kind kind, const std::string& name, const std::string& word) {
        std::vector<MenuItem>* items = Items();
        if (!items) {
            Problem(word + " outside a menu");
            return;
        }
        if (kind != MenuItem::Separator && name.empty()) {
            Problem(word + " without a name");
            return;
        }
        MenuItem item;
        item.kind = kind;
        item.name = name;
        items->push_back(item);
    }

    MenuItem* LastItem(const std::string& word) {
        std::vector<MenuItem>* items = Items();
        if (!items || items->empty() || items->back().kind == MenuItem::Separator) {
            Problem(word + " without a button");
            return nullptr;
        }
        return &items->back();
    }

    void Line(const std::string& line) {
        if (line.empty() || line[0] == '!')
            return;
        size_t space = line.find_first_of(" \t");
        std::string word = line.substr(0, space);
        std::string rest = space == std::string::npos ? std::string() : Trim(line.substr(space));

        if (word == "VERSION") {
            file_.version = atoi(rest.c_str());
        } else if (word == "EDIT") {
            if (block_.kind != Block::None)
                Problem("EDIT inside a block");
            else
                edit_target_ = rest;
        } else if (word == "AFTER") {
            StartEdit(MenuEdit::After, rest, word);
        } else if (word == "BEFORE") {
            StartEdit(MenuEdit::Before, rest, word);
        } else if (word == "TOP") {
            StartEdit(MenuEdit::Top, rest, word);
        } else if (word == "BOTTOM") {
            StartEdit(MenuEdit::Bottom, rest, word);
        } else if (word == "END_OF_AFTER" || word == "END_OF_BEFORE" || word == "END_OF_TOP" ||
                   word == "END_OF_BOTTOM") {
            if (block_.kind != Block::Edit || word != EndKeyword(file_.edits[block_.index].place))
                Problem(word + " without its opening line");
            else
                block_ = Block();
        } else if (word == "MENU") {
            if (block_.kind != Block::None) {
                Problem("MENU inside a block");
            } else if (rest.empty()) {
                Problem("MENU without a name");
            } else {
                edit_target_.clear(); // a menu definition ends the EDIT context
                MenuDefinition menu;
                menu.name = rest;
                file_.menus.push_back(menu);
                block_ = {Block::Menu, file_.menus.size() - 1};
            }
        } else if (word == "END_OF_MENU") {
            if (block_.kind != Block::Menu)
                Problem("END_OF_MENU without MENU");
            else
                block_ = Block();
        } else if (word == "BUTTON" || word == "TOGGLE_BUTTON") {
            AddItem(MenuItem::Button, rest, word);
        } else if (word == "CASCADE_BUTTON") {
            AddItem(MenuItem::Cascade, rest, word);
        } else if (word == "SEPARATOR") {
            AddItem(MenuItem::Separator, std::string(), word);
        } else if (word == "LABEL") {
            if (MenuItem* item = LastItem(word))
                item->label = rest;
        } else if (word == "ACTIONS") {
            MenuItem* item = LastItem(word);
            if (item && item->kind != MenuItem::Button)
                Problem("ACTIONS on a cascade button");
            else if (item)
                item->action = rest;
        } else {
            Problem("unsupported line " + word + " ignored");
        }
    }

    MenuFile file_;
    Block block_;
    std::string edit_target_;
    int line_ = 0;
};

} // namespace

MenuFile ParseMenuFile(const std::string& text) {
    return Parser().Run(text);
}
