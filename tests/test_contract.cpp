// The binary contract: what the plug-in exports and imports, and what the stand-in
// host's libraries export and answer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "pe_image.h"
#include "plugin_host.h"
#include "uf_host.h"

using namespace tarnwick_test;

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(tolower(c)); });
    return s;
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

} // namespace

TEST(Contract, PluginExportsExactlyTheThreeEntries) {
    PeImage dll = ReadPeImage(ProgramFolder() + "\\Tarnwick.dll");
    ASSERT_TRUE(dll.valid);
    EXPECT_TRUE(dll.is_64bit);
    EXPECT_EQ(Sorted(dll.exports),
              (std::vector<std::string>{"ufsta", "ufusr_ask_unload", "ufusr_cleanup"}));
}

TEST(Contract, PluginImportsTheHostAndSystemLibrariesOnly) {
    PeImage dll = ReadPeImage(ProgramFolder() + "\\Tarnwick.dll");
    ASSERT_TRUE(dll.valid);
    std::vector<std::string> imports;
    for (const std::string& name : dll.imports)
        imports.push_back(Lower(name));
    EXPECT_NE(std::find(imports.begin(), imports.end(), "libufun.dll"), imports.end());
    EXPECT_NE(std::find(imports.begin(), imports.end(), "libugopenint.dll"), imports.end());
    // The UI library is reached only through UF_load_library, never by linking.
    EXPECT_EQ(std::find(imports.begin(), imports.end(), "libugui.dll"), imports.end());
    const std::vector<std::string> system = {"kernel32.dll", "user32.dll", "shell32.dll",
                                             "comctl32.dll", "msvcrt.dll", "gdi32.dll",
                                             "advapi32.dll"};
    for (const std::string& name : imports) {
        bool host = name == "libufun.dll" || name == "libugopenint.dll";
        bool system_dll = std::find(system.begin(), system.end(), name) != system.end() ||
                          name.rfind("api-ms-win-crt-", 0) == 0;
        EXPECT_TRUE(host || system_dll) << "unexpected import " << name;
        EXPECT_EQ(name.find("libstdc++"), std::string::npos);
        EXPECT_EQ(name.find("libgcc"), std::string::npos);
        EXPECT_EQ(name.find("winpthread"), std::string::npos);
    }
}

TEST(Contract, StandInLibrariesExportExactlyTheInterface) {
    struct Case {
        const char* dll;
        std::vector<std::string> exports;
    };
    const Case cases[] = {
        {"libufun.dll",
         {"UF_PART_ask_display_part", "UF_UI_open_listing_window", "UF_UI_write_listing_window",
          "UF_ask_application_module", "UF_free", "UF_get_fail_message", "UF_get_release",
          "UF_initialize", "UF_load_library", "UF_print_syslog", "UF_terminate",
          "UF_translate_variable"}},
        {"libugopenint.dll",
         {"UF_MB_add_actions", "UF_MB_ask_button_id", "UF_UI_get_default_parent",
          "UF_UI_set_status", "uc1601"}},
        {"libugui.dll", {UF_MACRO_PLAYBACK_SYMBOL}},
    };
    for (const Case& c : cases) {
        PeImage image = ReadPeImage(ProgramFolder() + "\\" + c.dll);
        ASSERT_TRUE(image.valid) << c.dll;
        EXPECT_EQ(Sorted(image.exports), Sorted(c.exports)) << c.dll;
    }
}

TEST(StandIn, PlaybackIsFoundUnderItsDecoratedNameAndPlaysTheMacro) {
    ResetHost();
    HMODULE ufun = LoadLibraryA("libufun.dll");
    ASSERT_NE(ufun, nullptr);
    auto load = ProcAddress<decltype(&UF_load_library)>(ufun, "UF_load_library");
    ASSERT_NE(load, nullptr);

    DataFolder folder("contract_playback");
    const std::string macro = "Macro Version 7.50\r\nPart Name Display Style: $FILENAME\r\n"
                              "*****************\r\nMENU, 0,MY_TOOL UG_GATEWAY_MAIN_MENUBAR\r\n";
    folder.Write("Tarnwick.macro", macro);

    void (*function)(void) = nullptr;
    std::string library = StageFolder() + "\\NXBIN\\libugui.dll";
    ASSERT_EQ(load(library.c_str(), UF_MACRO_PLAYBACK_SYMBOL, &function), 0);
    ASSERT_NE(function, nullptr);
    std::string path = folder.PathOf("Tarnwick.macro");
    int flag = 0;
    reinterpret_cast<UF_macro_playback_t>(function)(path.c_str(), &flag,
                                                    static_cast<int>(path.size()));

    EXPECT_EQ(RecordTexts(HOST_EV_PLAYBACK), std::vector<std::string>{macro});
    EXPECT_EQ(RecordTexts(HOST_EV_CUSTOM_COMMAND), std::vector<std::string>{"MY_TOOL"});

    // A symbol the library lacks: loaded, with a null function.
    function = reinterpret_cast<void (*)(void)>(&flag);
    EXPECT_EQ(load(library.c_str(), "MACRO_playback_from_usertool", &function), 0);
    EXPECT_EQ(function, nullptr);
    // A library that cannot be loaded.
    EXPECT_NE(load((StageFolder() + "\\nowhere\\libugui.dll").c_str(), UF_MACRO_PLAYBACK_SYMBOL,
                   &function),
              0);
    FreeLibrary(ufun);
}

TEST(StandIn, AnswersAsTheContractSays) {
    ResetHost();
    HMODULE ufun = LoadLibraryA("libufun.dll");
    HMODULE ugopenint = LoadLibraryA("libugopenint.dll");
    ASSERT_NE(ufun, nullptr);
    ASSERT_NE(ugopenint, nullptr);
    auto translate = ProcAddress<decltype(&UF_translate_variable)>(ufun, "UF_translate_variable");
    auto ask_button = ProcAddress<decltype(&UF_MB_ask_button_id)>(ugopenint, "UF_MB_ask_button_id");
    auto release = ProcAddress<decltype(&UF_get_release)>(ufun, "UF_get_release");
    auto free_fn = ProcAddress<decltype(&UF_free)>(ufun, "UF_free");

    char* value = reinterpret_cast<char*>(&value);
    translate("TARNWICK_SURELY_UNDEFINED_VARIABLE", &value);
    EXPECT_EQ(value, nullptr);
    SetEnvironmentVariableA("TARNWICK_FROM_ENVIRONMENT", "D:\\Tools");
    translate("TARNWICK_FROM_ENVIRONMENT", &value);
    ASSERT_NE(value, nullptr);
    EXPECT_STREQ(value, "D:\\Tools");
    HostConfig_SetVariable("TARNWICK_FROM_ENVIRONMENT", nullptr);
    translate("TARNWICK_FROM_ENVIRONMENT", &value);
    EXPECT_EQ(value, nullptr);

    HostConfig_AddButton("UG_MODELING_LINE", 4711);
    int id = 0;
    ask_button("UG_MODELING_LINE", &id);
    EXPECT_EQ(id, 4711);
    id = 0;
    ask_button("NO_SUCH_BUTTON", &id);
    EXPECT_EQ(id, 0);

    HostConfig_SetRelease("NX 1953");
    char* text = nullptr;
    release(&text);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "NX 1953");
    free_fn(text);
    FreeLibrary(ugopenint);
    FreeLibrary(ufun);
}
