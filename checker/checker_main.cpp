// tarnwick-check: checks a shortcut table as the plug-in reads it, lists the buttons of
// the host's menu files, and checks a seat. Exit status: 0 no findings, 1 findings, 2
// the table or a menu folder cannot be read, or the command line is wrong.
#include <windows.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "check_texts.h"
#include "key_names.h"
#include "menu_catalogue.h"
#include "seat_check.h"
#include "shortcut_store.h"
#include "site_findings.h"
#include "table_findings.h"
#include "table_lines.h"

namespace {

enum { ExitClean = 0, ExitFindings = 1, ExitUnreadable = 2 };

struct Options {
    std::vector<std::string> menus;
    std::string table;
    std::string site;
    std::string find;
    bool list_buttons = false;
    bool seat = false;
    bool help = false;
    bool have_module = false;
    int module = 0;
    Language language = DefaultLanguage();
};

// long has 32 bits on Windows and strtol saturates at its ends, so the range is taken
// from a 64-bit read with its overflow flag.
bool ParseInt(const char* text, int* value) {
    char* end = nullptr;
    errno = 0;
    long long number = strtoll(text, &end, 10);
    if (!*text || *end || errno == ERANGE || number < INT_MIN || number > INT_MAX)
        return false;
    *value = static_cast<int>(number);
    return true;
}

bool ParseArguments(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool has_next = i + 1 < argc;
        if (arg == "--help" || arg == "-h" || arg == "/?") {
            options->help = true;
        } else if (arg == "--seat") {
            options->seat = true;
        } else if (arg == "--list-buttons") {
            options->list_buttons = true;
        } else if (arg == "--menus" && has_next) {
            options->menus.push_back(argv[++i]);
        } else if (arg == "--site" && has_next) {
            options->site = argv[++i];
        } else if (arg == "--find" && has_next) {
            options->find = argv[++i];
        } else if (arg == "--module" && has_next) {
            if (!ParseInt(argv[++i], &options->module))
                return false;
            options->have_module = true;
        } else if (arg == "--lang" && has_next) {
            std::string language = argv[++i];
            if (language == "en")
                options->language = Language::English;
            else if (language == "zh")
                options->language = Language::Chinese;
            else
                return false;
        } else if (arg.compare(0, 2, "--") == 0 || !options->table.empty()) {
            return false;
        } else {
            options->table = arg;
        }
    }
    if (options->help)
        return true;
    if (options->seat)
        return !options->list_buttons && options->menus.empty() && options->table.empty() &&
               options->find.empty() && !options->have_module && options->site.empty();
    if (options->list_buttons)
        return !options->menus.empty() && options->table.empty() && options->site.empty();
    return !options->table.empty() && options->find.empty();
}

// Reads every --menus folder; false (after saying why) when one cannot be read.
bool ReadMenus(const Options& options, std::vector<MenuButton>* buttons) {
    for (const std::string& folder : options.menus) {
        int files = 0;
        unsigned long error = ReadMenuFolder(folder, buttons, &files);
        if (error) {
            printf("%s\n", Format(Text(options.language, TextId::MenusUnreadable), folder.c_str(),
                                  SystemMessage(error, options.language).c_str())
                               .c_str());
            return false;
        }
        if (files == 0) {
            printf("%s\n",
                   Format(Text(options.language, TextId::NoMenuFiles), folder.c_str()).c_str());
            return false;
        }
    }
    return true;
}

int ListButtons(const Options& options) {
    std::vector<MenuButton> buttons;
    if (!ReadMenus(options, &buttons))
        return ExitUnreadable;
    int listed = 0;
    for (const MenuButton& button : buttons) {
        if (!options.find.empty() && !ButtonMatches(button, options.find))
            continue;
        printf("%-32s %-24s %s:%d\n", button.name.c_str(), button.label.c_str(),
               button.file.c_str(), button.line);
        ++listed;
    }
    printf("%s\n", Format(Text(options.language, TextId::ButtonsSummary), listed).c_str());
    return ExitClean;
}

// chick.ini beside the table gives the mode, read as the plug-in reads it at start-up.
TypingMode ModeBesideTable(const std::string& table) {
    char full[MAX_PATH] = {};
    char* name = nullptr;
    DWORD size = GetFullPathNameA(table.c_str(), sizeof full, full, &name);
    if (size == 0 || size >= sizeof full || !name)
        return TypingMode::Unknown;
    std::string settings = std::string(full, static_cast<size_t>(name - full)) + "chick.ini";
    DWORD attributes = GetFileAttributesA(settings.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return TypingMode::Unknown;
    return ReadSpaceModeSetting(settings.c_str()) == 1 ? TypingMode::Space : TypingMode::Immediate;
}

void PrintModule(const Options& options, const CheckInput& input, const CheckInput* site) {
    std::vector<PairEntry> entries;
    if (site) {
        entries = EffectivePair(input, *site, options.module);
    } else {
        for (const EffectiveEntry& entry : EffectiveTable(input, options.module))
            entries.push_back({entry, false});
    }
    TextId mode = input.mode == TypingMode::Space       ? TextId::ModeSpace
                  : input.mode == TypingMode::Immediate ? TextId::ModeImmediate
                                                        : TextId::ModeUnknown;
    printf("%s\n", Format(Text(options.language, TextId::ModuleHeading), options.module,
                          Text(options.language, mode), static_cast<int>(entries.size()))
                       .c_str());
    for (const PairEntry& pair : entries) {
        const EffectiveEntry& entry = pair.entry;
        std::string where =
            Format("[%s] %s:%d", entry.section.c_str(),
                   pair.site ? options.site.c_str() : options.table.c_str(), entry.line);
        if (pair.site)
            where += Format(" (%s)", SiteText(options.language, SiteTextId::SiteNote));
        if (entry.custom)
            where += Format(" (%s)", Text(options.language, TextId::MacroNote));
        printf("  %-5s  %-32s %-16s %s\n", entry.code.c_str(), entry.button.c_str(),
               entry.description.c_str(), where.c_str());
    }
}

bool ReadTable(const Options& options, const std::string& path, std::string* bytes) {
    unsigned long error = ReadFileBytes(path.c_str(), bytes);
    if (error)
        printf("%s\n", Format(Text(options.language, TextId::Unreadable), path.c_str(),
                              SystemMessage(error, options.language).c_str())
                           .c_str());
    return error == 0;
}

std::string FindingLine(const std::string& path, int line, Severity severity,
                        const std::string& text) {
    return Format("%s:%d: %s: ", path.c_str(), line,
                  severity == Severity::Error ? "error" : "warning") +
           text + '\n';
}

// The table's findings and summary; false when it has findings.
bool PrintTableReport(const Options& options, const std::string& path, const CheckInput& input) {
    CheckReport report = CheckTable(input);
    std::string out;
    for (const Finding& finding : report.findings)
        out += FindingLine(path, finding.line, finding.severity, finding.text);
    fputs(out.c_str(), stdout);
    if (report.findings.empty()) {
        printf("%s\n",
               Format(Text(options.language, TextId::SummaryClean), path.c_str(), report.entries)
                   .c_str());
        return true;
    }
    printf("%s\n", Format(Text(options.language, TextId::SummaryFindings), path.c_str(),
                          report.errors, report.warnings, report.entries)
                       .c_str());
    return false;
}

bool PrintPairReport(const Options& options, const CheckInput& user, const CheckInput& site) {
    std::vector<SiteFinding> findings = CheckTablePair(user.bytes, site.bytes, options.language);
    std::string out;
    for (const SiteFinding& finding : findings)
        out += FindingLine(finding.in_site ? options.site : options.table, finding.line,
                           finding.severity, finding.text);
    fputs(out.c_str(), stdout);
    if (findings.empty()) {
        printf("%s\n", Format(SiteText(options.language, SiteTextId::PairClean),
                              options.table.c_str(), options.site.c_str())
                           .c_str());
        return true;
    }
    printf("%s\n",
           Format(SiteText(options.language, SiteTextId::PairFindings), options.table.c_str(),
                  options.site.c_str(), static_cast<int>(findings.size()))
               .c_str());
    return false;
}

int CheckTableFile(const Options& options) {
    std::vector<MenuButton> buttons;
    if (!ReadMenus(options, &buttons))
        return ExitUnreadable;
    CheckInput input;
    if (!ReadTable(options, options.table, &input.bytes))
        return ExitUnreadable;
    KeyNames key_names = KeyNames::FromSystem();
    input.key_names = &key_names;
    input.mode = ModeBesideTable(options.table);
    input.buttons = options.menus.empty() ? nullptr : &buttons;
    input.language = options.language;
    // The site's table is typed in the user's mode: its own MODE and settings count for
    // nothing.
    CheckInput site = input;
    if (!options.site.empty() && !ReadTable(options, options.site, &site.bytes))
        return ExitUnreadable;

    if (options.have_module)
        PrintModule(options, input, options.site.empty() ? nullptr : &site);
    bool clean = PrintTableReport(options, options.table, input);
    if (!options.site.empty()) {
        printf("%s\n",
               Format(SiteText(options.language, SiteTextId::SiteHeading), options.site.c_str())
                   .c_str());
        clean = PrintTableReport(options, options.site, site) && clean;
        clean = PrintPairReport(options, input, site) && clean;
    }
    return clean ? ExitClean : ExitFindings;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    // The language is settled first, so that a wrong command line is answered in it.
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--lang" && std::string(argv[i + 1]) == "en")
            options.language = Language::English;
    }
    if (!ParseArguments(argc, argv, &options)) {
        fputs(Text(options.language, TextId::Usage), stderr);
        return ExitUnreadable;
    }
    if (options.help) {
        fputs(Text(options.language, TextId::Usage), stdout);
        fputs("\n", stdout);
        fputs(Text(options.language, TextId::Help), stdout);
        return ExitClean;
    }
    if (options.seat)
        return PrintSeatCheck(options.language);
    return options.list_buttons ? ListButtons(options) : CheckTableFile(options);
}
