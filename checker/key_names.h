// Which codes can be typed. The keystroke filter appends the system's name of each key
// it takes (GetKeyNameTextA) and resets the code once it grows beyond five characters,
// so a code can be typed only as a run of key names; the profile service then compares
// it with the table's key without regard to ASCII letter case.
#pragma once

#include <functional>
#include <string>
#include <unordered_set>

class KeyNames {
  public:
    // The names of this system's keyboard layout, of every key the filter takes: not
    // the function, navigation, Enter and modifier keys it leaves to the host (the
    // number pad's keys are taken, as digits with Num Lock on), not Space, Esc and
    // Backspace, which steer, and no name longer than a code can be.
    static KeyNames FromSystem();

    void Add(const std::string& name);

    // True when the code, compared as the profile service compares keys, is a run of
    // key names of at most five characters.
    bool CanType(const std::string& code) const;

    // Immediate mode looks the code up after every key, so a code fires as soon as
    // what was typed so far is defined. Returns the defined shorter code that stops
    // every way of typing `code` (the shortest such), or an empty text when some way
    // reaches the whole code.
    std::string Blocker(const std::string& code,
                        const std::function<bool(const std::string&)>& defined) const;

  private:
    bool Walk(const std::string& folded, size_t at,
              const std::function<bool(const std::string&)>& defined, std::string* best) const;

    std::unordered_set<std::string> names_; // folded
};
