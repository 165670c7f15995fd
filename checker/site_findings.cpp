#include "site_findings.h"

#include <algorithm>
#include <cstdlib>

#include "shortcut_store.h"
#include "table_lines.h"

namespace {

struct Code {
    std::string key;
    std::string folded;
    std::string section; // folded
    std::string button;
    int module = 0; // the module number of a module section
    bool module_section = false;
    int line = 0;
};

bool ModuleNumber(const std::string& name, int* module) {
    if (name.empty())
        return false;
    size_t start = name[0] == '-' ? 1 : 0;
    if (start == name.size() || name.size() - start > 9)
        return false;
    for (size_t i = start; i < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9')
            return false;
    *module = atoi(name.c_str());
    char back[ModuleNumberTextSize];
    FormatModuleNumber(*module, back, sizeof back);
    return name == back;
}

// The entries of the lookup's sections; a key repeated under one header reads as its
// first line, as the profile service reads it.
std::vector<Code> CodesOf(const std::string& bytes) {
    TableLines table = ReadTableLines(bytes);
    std::vector<Code> codes;
    const std::string global = FoldProfileName(GlobalSection);
    const std::string custom = FoldProfileName(CustomSection);
    for (const TableLine& line : table.lines) {
        if (line.kind != LineKind::Entry || line.first_key_line != 0 || line.key.empty())
            continue;
        Code code;
        code.section = FoldProfileName(line.section);
        code.module_section = ModuleNumber(line.section, &code.module);
        if (!code.module_section && code.section != global && code.section != custom)
            continue;
        code.key = line.key;
        code.folded = FoldProfileName(line.key);
        code.button = ButtonNameOfValue(ProfileValueOf(line.value).c_str());
        code.line = line.number;
        codes.push_back(code);
    }
    return codes;
}

// Whether some module reads both entries, the user's first; *only_module is set when
// that is one module alone.
bool ReadTogether(const Code& user, const Code& site, const Code** only_module) {
    *only_module = nullptr;
    if (!user.module_section && !site.module_section)
        return true;
    if (user.module_section && site.module_section)
        return user.module == site.module;
    *only_module = user.module_section ? &user : &site;
    return true;
}

struct Entry {
    const char* english;
    const char* chinese;
};

const Entry PairTexts[] = {
    // The user's code, then the site line's number and button; the module last.
    {"code \"%s\" overrides the site table's entry (line %d, button %s): this entry runs "
     "instead",
     "快捷键“%s”覆盖了站点表中的同一快捷键（第 %d 行，按钮 %s）：运行的是此行"},
    {"code \"%s\" overrides the site table's entry (line %d, button %s): in application "
     "module %d this entry runs instead",
     "快捷键“%s”覆盖了站点表中的同一快捷键（第 %d 行，按钮 %s）：在应用模块 %d 中运行的是此行"},
    {"code \"%s\" is the same as the site table's (line %d, button %s): this entry is "
     "redundant and may be deleted",
     "快捷键“%s”与站点表中的相同（第 %d 行，按钮 %s）：此行多余，可以删除"},
    {"in immediate mode the site's code \"%s\" can never be typed: the user's \"%s\" (line %d) "
     "runs first",
     "立即模式下永远输入不了站点的快捷键“%s”：用户表中的“%s”（第 %d 行）会先运行"},
};

const Entry SiteTexts[] = {
    {"site table %s:", "站点表 %s："},
    {"%s and %s together: no findings", "%s 与 %s 合起来：没有发现问题"},
    {"%s and %s together: %d finding(s)", "%s 与 %s 合起来：发现 %d 个问题"},
    {"site", "站点"},
};

const char* T(Language language, const Entry& entry) {
    return language == Language::Chinese ? entry.chinese : entry.english;
}

} // namespace

const char* SiteText(Language language, SiteTextId id) {
    return T(language, SiteTexts[static_cast<int>(id)]);
}

std::vector<SiteFinding> CheckTablePair(const std::string& user_bytes,
                                        const std::string& site_bytes, Language language) {
    std::vector<Code> user = CodesOf(user_bytes);
    std::vector<Code> site = CodesOf(site_bytes);
    std::vector<SiteFinding> findings;
    for (const Code& mine : user) {
        for (const Code& theirs : site) {
            const Code* only = nullptr;
            if (!ReadTogether(mine, theirs, &only))
                continue;
            if (mine.folded == theirs.folded) {
                SiteFinding finding;
                finding.line = mine.line;
                if (mine.section == theirs.section &&
                    FoldProfileName(mine.button) == FoldProfileName(theirs.button)) {
                    finding.text = Format(T(language, PairTexts[2]), mine.key.c_str(), theirs.line,
                                          theirs.button.c_str());
                } else if (only) {
                    finding.text = Format(T(language, PairTexts[1]), mine.key.c_str(), theirs.line,
                                          theirs.button.c_str(), only->module);
                } else {
                    finding.text = Format(T(language, PairTexts[0]), mine.key.c_str(), theirs.line,
                                          theirs.button.c_str());
                }
                findings.push_back(finding);
            } else if (mine.folded.size() < theirs.folded.size() &&
                       theirs.folded.compare(0, mine.folded.size(), mine.folded) == 0 &&
                       !mine.button.empty()) {
                SiteFinding finding;
                finding.in_site = true;
                finding.line = theirs.line;
                finding.severity = Severity::Error;
                finding.text = Format(T(language, PairTexts[3]), theirs.key.c_str(),
                                      mine.key.c_str(), mine.line);
                findings.push_back(finding);
            }
        }
    }
    std::stable_sort(findings.begin(), findings.end(),
                     [](const SiteFinding& a, const SiteFinding& b) {
                         return a.in_site != b.in_site ? !a.in_site : a.line < b.line;
                     });
    return findings;
}

std::vector<PairEntry> EffectivePair(const CheckInput& user, const CheckInput& site, int module) {
    std::vector<PairEntry> entries;
    for (const EffectiveEntry& entry : EffectiveTable(user, module))
        entries.push_back({entry, false});
    // Every code the user's table holds for the module stops the lookup there, whatever
    // it runs.
    std::vector<std::string> held;
    for (const Code& code : CodesOf(user.bytes))
        if (!code.module_section || code.module == module)
            held.push_back(code.folded);
    for (const EffectiveEntry& entry : EffectiveTable(site, module)) {
        std::string folded = FoldProfileName(entry.code);
        bool stopped = false;
        for (const std::string& code : held) {
            stopped = stopped || code == folded ||
                      (user.mode == TypingMode::Immediate && code.size() < folded.size() &&
                       folded.compare(0, code.size(), code) == 0);
        }
        if (!stopped)
            entries.push_back({entry, true});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const PairEntry& a, const PairEntry& b) {
        return FoldProfileName(a.entry.code) < FoldProfileName(b.entry.code);
    });
    return entries;
}
