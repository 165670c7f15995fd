#include "table_findings.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <unordered_map>
#include <string_view>

#include "shortcut_store.h"
#include "table_encoding.h"
#include "table_lines.h"
#include "typed_code_rules.h"

namespace {

enum class SectionKind { None, Mode, Module, Global, Custom, Unknown };

// The lookup names a module's section by the module number written with "%d", so only
// that exact form is ever read ("040" or "+40" is not).
bool ModuleNumberOf(const std::string& name, int* module) {
    if (name.empty() || name.size() >= ModuleNumberTextSize)
        return false;
    char* end = nullptr;
    long number = strtol(name.c_str(), &end, 10);
    if (*end || number < INT_MIN || number > INT_MAX)
        return false;
    char text[ModuleNumberTextSize];
    FormatModuleNumber(static_cast<int>(number), text, sizeof text);
    if (name != text)
        return false;
    *module = static_cast<int>(number);
    return true;
}

SectionKind ClassifySection(const TableLine& line, int* module) {
    if (line.section_line == 0)
        return SectionKind::None;
    if (SameProfileName(line.section, ModeSection))
        return SectionKind::Mode;
    if (SameProfileName(line.section, GlobalSection))
        return SectionKind::Global;
    if (SameProfileName(line.section, CustomSection))
        return SectionKind::Custom;
    if (ModuleNumberOf(line.section, module))
        return SectionKind::Module;
    return SectionKind::Unknown;
}

bool IsShortcutSection(SectionKind kind) {
    return kind == SectionKind::Module || kind == SectionKind::Global ||
           kind == SectionKind::Custom;
}

// The fields as the line stands, split at every "=" (empty fields kept): the first five
// and how many there are.
struct EntryFields {
    std::string_view field[5];
    int count = 0;
};

EntryFields FieldsOf(const TableLine& line) {
    EntryFields fields;
    fields.field[0] = line.key;
    fields.count = 1;
    std::string_view value = line.value;
    for (;;) {
        size_t equals = value.find('=');
        if (fields.count < 5)
            fields.field[fields.count] = value.substr(0, equals);
        ++fields.count;
        if (equals == std::string_view::npos)
            break;
        value.remove_prefix(equals + 1);
    }
    return fields;
}

// A code the lookup finds: the first line with its key under a section's first header.
struct Definition {
    const TableLine* line;
    std::string folded; // the key as the service compares it
    std::string button; // the lookup's first field; empty when none
    size_t value_size;  // of the value as a read returns it
    bool fits;          // the value fits the lookup's read
    bool typable;       // a run of key names
};

// The codes of one section, sorted by folded key (a map node per code would cost an
// allocation per line).
class Codes {
  public:
    void Add(Definition definition) { definitions_.push_back(std::move(definition)); }
    void Sort() {
        std::sort(definitions_.begin(), definitions_.end(),
                  [](const Definition& a, const Definition& b) { return a.folded < b.folded; });
    }
    const Definition* Find(const std::string& folded) const {
        auto found = std::lower_bound(
            definitions_.begin(), definitions_.end(), folded,
            [](const Definition& a, const std::string& key) { return a.folded < key; });
        return found != definitions_.end() && found->folded == folded ? &*found : nullptr;
    }
    bool Has(const std::string& folded) const { return Find(folded) != nullptr; }
    const std::vector<Definition>& All() const { return definitions_; }

  private:
    std::vector<Definition> definitions_;
};

// The table as the plug-in reads it, with what every check needs.
class TableModel {
  public:
    explicit TableModel(const CheckInput& input) : input_(input) {
        TableLines raw = ReadTableLines(input.bytes);
        encoding_ = raw.encoding;
        if (encoding_ == TableEncoding::Utf8 || encoding_ == TableEncoding::Utf8Bom) {
            // Checked as it reads once converted; the line numbers stay.
            for (const TableLine& line : raw.lines) {
                if (!first_non_ascii_) {
                    for (char c : line.text)
                        if (static_cast<unsigned char>(c) >= 0x80)
                            first_non_ascii_ = line.number;
                }
            }
            // A table that does not convert is read as the profile service reads it.
            GbkConversion gbk = Utf8TableToGbk(input.bytes);
            table_ = gbk.converted ? ReadTableLines(gbk.gbk) : std::move(raw);
        } else {
            table_ = std::move(raw);
        }
        kinds_.resize(table_.lines.size());
        modules_.resize(table_.lines.size());
        for (size_t i = 0; i < table_.lines.size(); ++i) {
            const TableLine& line = table_.lines[i];
            kinds_[i] = ClassifySection(line, &modules_[i]);
            if (line.kind == LineKind::Section && line.section_occurrence == 1)
                first_header_.emplace(FoldProfileName(line.section), line.number);
            if (line.section_occurrence != 1 || line.first_key_line != 0 ||
                !IsShortcutSection(kinds_[i]) || !line.has_value)
                continue;
            if (line.kind != LineKind::Entry && line.kind != LineKind::Comment)
                continue;
            std::string value = ProfileValueOf(line.value);
            Definition definition{
                &line,        FoldProfileName(line.key),        ButtonNameOfValue(value.c_str()),
                value.size(), ValueFitsTheLookup(value.size()), input.key_names->CanType(line.key)};
            Codes& codes = kinds_[i] == SectionKind::Global   ? global_
                           : kinds_[i] == SectionKind::Custom ? custom_
                                                              : modules_codes_[modules_[i]];
            codes.Add(std::move(definition));
        }
        definition_of_line_.assign(table_.lines.size(), nullptr);
        for (Codes* codes : AllCodes()) {
            codes->Sort();
            for (const Definition& definition : codes->All())
                definition_of_line_[static_cast<size_t>(definition.line->number - 1)] = &definition;
        }
    }

    std::vector<Codes*> AllCodes() {
        std::vector<Codes*> all{&global_, &custom_};
        for (auto& module : modules_codes_)
            all.push_back(&module.second);
        return all;
    }

    const CheckInput& input_;
    TableEncoding encoding_;
    int first_non_ascii_ = 0;
    TableLines table_;
    std::vector<SectionKind> kinds_;
    std::vector<int> modules_;
    std::unordered_map<std::string, int> first_header_;
    Codes global_, custom_;
    std::map<int, Codes> modules_codes_;
    std::vector<const Definition*> definition_of_line_; // by line index

    const Codes* ModuleCodes(int module) const {
        auto found = modules_codes_.find(module);
        return found == modules_codes_.end() ? nullptr : &found->second;
    }

    // The lookup in a module: its section, then 全局, then 二次开发. `module` null: a
    // module without a section of its own.
    const Definition* Find(const Codes* module, const std::string& folded) const {
        for (const Codes* codes : InLookupOrder(module)) {
            const Definition* found = codes ? codes->Find(folded) : nullptr;
            if (found)
                return found;
        }
        return nullptr;
    }

    // The codes of each section the lookup reads, in its order; the module's own may be
    // null.
    std::vector<const Codes*> InLookupOrder(const Codes* module) const {
        LookupSection sections[LookupSectionCount];
        LookupSectionsInOrder("", sections);
        std::vector<const Codes*> order;
        for (const LookupSection& s : sections)
            order.push_back(SameProfileName(s.section, GlobalSection)   ? &global_
                            : SameProfileName(s.section, CustomSection) ? &custom_
                                                                        : module);
        return order;
    }

    // In immediate mode: the definition that fires before `folded` can be typed in the
    // module, or null.
    const Definition* BlockerIn(const Codes* module, const std::string& folded) const {
        std::string blocker = input_.key_names->Blocker(folded, [&](const std::string& code) {
            const Definition* hit = Find(module, code);
            return hit && !hit->button.empty();
        });
        return blocker.empty() || blocker == folded ? nullptr : Find(module, blocker);
    }
};

class Checker {
  public:
    explicit Checker(const CheckInput& input) : model_(input), input_(input) {}

    CheckReport Run() {
        ReportEncoding();
        for (size_t i = 0; i < model_.table_.lines.size(); ++i)
            CheckLine(i);
        CheckScopes();
        if (input_.mode == TypingMode::Immediate)
            CheckImmediateMode();
        std::stable_sort(report_.findings.begin(), report_.findings.end(),
                         [](const Finding& a, const Finding& b) { return a.line < b.line; });
        return report_;
    }

  private:
    const char* T(TextId id) const { return Text(input_.language, id); }

    void Add(int line, Severity severity, const std::string& text) {
        report_.findings.push_back({line, severity, text});
        ++(severity == Severity::Error ? report_.errors : report_.warnings);
    }

    void ReportEncoding() {
        switch (model_.encoding_) {
        case TableEncoding::Utf8Bom:
            Add(1, Severity::Error, T(TextId::Utf8Bom));
            break;
        case TableEncoding::Utf8:
            Add(model_.first_non_ascii_ ? model_.first_non_ascii_ : 1, Severity::Error,
                T(TextId::Utf8));
            break;
        case TableEncoding::Utf16Le:
        case TableEncoding::Utf16Be:
            Add(1, Severity::Warning, T(TextId::Utf16));
            break;
        case TableEncoding::Gbk:
            break;
        }
    }

    void CheckLine(size_t index) {
        const TableLine& line = model_.table_.lines[index];
        const SectionKind kind = model_.kinds_[index];
        if (line.invalid_gbk && model_.encoding_ == TableEncoding::Gbk)
            Add(line.number, Severity::Error, T(TextId::NotGbk));
        if (line.has_nul)
            Add(line.number, Severity::Error, T(TextId::NulByte));

        switch (line.kind) {
        case LineKind::Blank:
            return;
        case LineKind::Section:
            CheckHeader(line, kind);
            return;
        default:
            break;
        }
        if (IsShortcutSection(kind) && line.kind == LineKind::Entry)
            ++report_.entries;
        if (line.section_line == 0) {
            if (line.kind != LineKind::Comment)
                Add(line.number, Severity::Warning, T(TextId::BeforeSection));
            return;
        }
        if (line.section_occurrence != 1)
            return; // named once, at its header
        if (line.kind == LineKind::Comment) {
            if (line.has_value && IsShortcutSection(kind) && input_.key_names->CanType(line.key))
                Add(line.number, Severity::Warning,
                    Format(T(TextId::CommentEntry), line.key.c_str()));
            return;
        }
        if (line.kind == LineKind::NoEquals) {
            if (IsShortcutSection(kind) || kind == SectionKind::Mode)
                Add(line.number, Severity::Error, T(TextId::NoEquals));
            return;
        }
        if (kind == SectionKind::Mode) {
            if (SameProfileName(line.key, ModeSection) && line.first_key_line == 0) {
                std::string value = ProfileValueOf(line.value);
                if (value != "0" && value != "1")
                    Add(line.number, Severity::Warning,
                        Format(T(TextId::ModeValue), value.c_str()));
            }
            return;
        }
        if (IsShortcutSection(kind))
            CheckEntry(line, kind, model_.modules_[index]);
    }

    void CheckHeader(const TableLine& line, SectionKind kind) {
        if (line.text.find('=') != std::string::npos) {
            Add(line.number, Severity::Error,
                Format(T(TextId::HeaderNotEntry), line.section.c_str()));
            return;
        }
        if (line.section_occurrence > 1 && !line.section.empty()) {
            int first = model_.first_header_[FoldProfileName(line.section)];
            Add(line.number, Severity::Error,
                Format(T(TextId::RepeatedSection), line.section.c_str(), first));
            return;
        }
        if (kind == SectionKind::Unknown || line.section.empty())
            Add(line.number, Severity::Warning,
                Format(T(TextId::UnknownSection), line.section.c_str()));
    }

    void CheckEntry(const TableLine& line, SectionKind kind, int module) {
        if (line.first_key_line) {
            Add(line.number, Severity::Error,
                Format(T(TextId::RepeatedKey), line.key.c_str(), line.first_key_line,
                       line.first_key_line));
            return;
        }
        CheckKey(line);

        const EntryFields fields = FieldsOf(line);
        if (fields.count < 5)
            Add(line.number, Severity::Error, Format(T(TextId::FieldsMissing), fields.count));
        else if (fields.count > 5)
            Add(line.number, Severity::Warning, Format(T(TextId::FieldsExtra), fields.count));
        const TextId names[] = {TextId::FieldCode, TextId::FieldButton, TextId::FieldDescription,
                                TextId::FieldScope, TextId::FieldSection};
        for (int f = 1; f < std::min(fields.count, 5); ++f) {
            if (fields.field[f].empty())
                Add(line.number, Severity::Error,
                    Format(T(TextId::FieldEmpty), f + 1, T(names[f])));
        }

        const Definition& definition =
            *model_.definition_of_line_[static_cast<size_t>(line.number - 1)];
        if (!definition.fits) {
            Add(line.number, Severity::Error,
                Format(T(TextId::ValueTooLong), static_cast<int>(definition.value_size),
                       LookupValueSize - 1));
        } else if (definition.button.empty()) {
            Add(line.number, Severity::Error, T(TextId::NoButton));
        } else if (input_.buttons && !KnownButton(definition.button)) {
            Add(line.number, Severity::Warning,
                Format(T(TextId::UnknownButton), definition.button.c_str()));
        }

        // Section names hold no ASCII letters here, so the bytes compare as the service does.
        if (fields.count == 5 && !fields.field[3].empty() && !fields.field[4].empty()) {
            const std::string scope(fields.field[3]);
            if (SectionForScope(scope.c_str(), module) != line.section ||
                fields.field[4] != line.section ||
                (kind == SectionKind::Module) != (scope == ModuleScope))
                Add(line.number, Severity::Warning,
                    Format(T(TextId::ScopeMismatch), scope.c_str(),
                           std::string(fields.field[4]).c_str(), line.section.c_str()));
        }
    }

    void CheckKey(const TableLine& line) {
        const std::string& key = line.key;
        if (key.empty()) {
            Add(line.number, Severity::Error, T(TextId::KeyEmpty));
            return;
        }
        if (key.size() > ShortcutTextMax)
            Add(line.number, Severity::Error, Format(T(TextId::KeyTooLong), key.c_str()));
        else if (!input_.key_names->CanType(key))
            Add(line.number, Severity::Error, Format(T(TextId::KeyNotTypable), key.c_str()));
        if (line.text.compare(0, line.text.find('='), key) != 0)
            Add(line.number, Severity::Warning, Format(T(TextId::KeyBlanks), key.c_str()));
        if (key[0] == '[')
            Add(line.number, Severity::Warning, Format(T(TextId::KeyBracket), key.c_str()));
    }

    bool KnownButton(const std::string& name) {
        if (known_.empty()) {
            for (const MenuButton& button : *input_.buttons)
                known_.push_back(button.name);
            std::sort(known_.begin(), known_.end());
        }
        return std::binary_search(known_.begin(), known_.end(), std::string_view(name));
    }

    // A code in more than one scope: which line runs where.
    void CheckScopes() {
        for (const Definition& custom : model_.custom_.All()) {
            if (const Definition* global = model_.global_.Find(custom.folded))
                Add(custom.line->number, Severity::Warning,
                    Format(T(TextId::GlobalHidesCustom), custom.line->key.c_str(),
                           global->line->number));
        }
        for (const auto& module : model_.modules_codes_) {
            char number[ModuleNumberTextSize];
            FormatModuleNumber(module.first, number, sizeof number);
            for (const Definition& code : module.second.All()) {
                if (const Definition* other = model_.Find(nullptr, code.folded))
                    Add(other->line->number, Severity::Warning,
                        Format(T(TextId::ModuleOverrides), other->line->key.c_str(), number,
                               code.line->number));
            }
        }
    }

    void CheckImmediateMode() {
        for (const auto& module : model_.modules_codes_) {
            for (const Definition& code : module.second.All())
                ReportBlocked(code, &module.second, nullptr);
        }
        for (const Codes* codes : {&model_.global_, &model_.custom_}) {
            for (const Definition& code : codes->All()) {
                if (codes == &model_.custom_ && model_.global_.Has(code.folded))
                    continue; // never reached at all, said above
                if (ReportBlocked(code, nullptr, nullptr))
                    continue; // blocked everywhere
                // Here only a shorter code of the module's own section can stop it.
                for (const auto& module : model_.modules_codes_) {
                    if (!module.second.Has(code.folded) && HasShorterIn(module.second, code.folded))
                        ReportBlocked(code, &module.second, &module.first);
                }
            }
        }
    }

    static bool HasShorterIn(const Codes& codes, const std::string& folded) {
        for (size_t length = 1; length < folded.size(); ++length) {
            if (codes.Has(folded.substr(0, length)))
                return true;
        }
        return false;
    }

    bool ReportBlocked(const Definition& definition, const Codes* module_codes, const int* module) {
        if (!definition.typable)
            return false;
        const Definition* blocker = model_.BlockerIn(module_codes, definition.folded);
        if (!blocker)
            return false;
        const TableLine& line = *definition.line;
        if (module) {
            char number[ModuleNumberTextSize];
            FormatModuleNumber(*module, number, sizeof number);
            Add(line.number, Severity::Error,
                Format(T(TextId::ImmediateBlockedInModule), number, line.key.c_str(),
                       blocker->line->key.c_str(), blocker->line->number));
        } else {
            Add(line.number, Severity::Error,
                Format(T(TextId::ImmediateBlocked), line.key.c_str(), blocker->line->key.c_str(),
                       blocker->line->number));
        }
        return true;
    }

    TableModel model_;
    const CheckInput& input_;
    CheckReport report_;
    std::vector<std::string_view> known_; // sorted
};

} // namespace

CheckReport CheckTable(const CheckInput& input) {
    return Checker(input).Run();
}

std::vector<EffectiveEntry> EffectiveTable(const CheckInput& input, int module) {
    TableModel model(input);
    const Codes* module_codes = model.ModuleCodes(module);
    std::vector<EffectiveEntry> entries;
    for (const Codes* codes : model.InLookupOrder(module_codes)) {
        if (!codes)
            continue;
        for (const Definition& definition : codes->All()) {
            if (model.Find(module_codes, definition.folded) != &definition)
                continue; // an earlier section wins
            if (definition.button.empty() || !definition.fits || !definition.typable)
                continue;
            if (input.mode == TypingMode::Immediate &&
                model.BlockerIn(module_codes, definition.folded))
                continue;
            const TableLine& line = *definition.line;
            EffectiveEntry entry;
            entry.code = line.key;
            entry.button = definition.button;
            std::vector<std::string> fields =
                SplitEntryLine((line.key + "=" + ProfileValueOf(line.value)).c_str());
            entry.description = fields.size() > 2 ? fields[2] : std::string();
            entry.section = line.section;
            entry.line = line.number;
            entry.custom = codes == &model.custom_;
            entries.push_back(entry);
        }
    }
    std::sort(entries.begin(), entries.end(), [](const EffectiveEntry& a, const EffectiveEntry& b) {
        return FoldProfileName(a.code) < FoldProfileName(b.code);
    });
    return entries;
}
