// What the keystroke decision and the lookup may ask of the world, and all they may do
// to it: the facts of one keystroke, read only when a rule needs them, and the host's
// status line, message box, module, buttons, the post of a command and macro playback.
#pragma once

#include <windows.h>

enum {
    KeyStateSize = 256,
    KeyNameSize = 256,
    FocusClassSize = 50,
    ForegroundTitleSize = 50,
    ClassNameCut = 12,
};

// Space mode resolves on Space and answers a miss; immediate mode resolves after every
// taken key and stays silent on a miss, so the user can go on typing the code.
enum class LookupVariant { Space, Immediate };

// The rules that decide a keystroke, in the order they are asked. DecidingRuleName
// gives each its trace name.
enum class KeystrokeRule {
    OfferedAgain,
    HostKey,
    NotFirstDown,
    EscOnEmptyCode,
    KeyHeld,
    OwnWindow,
    TextField,
    FormsField,
    HostDialog,
    Space,
    Backspace,
    Esc,
    CodeKey,
    Immediate,
};

// The facts of one keystroke: the hook's arguments, and those the rules asked for so
// far, each read at most once. Texts that could not be read are empty and match nothing.
struct KeystrokeFacts {
    int code;     // hook code
    WPARAM key;   // virtual-key code
    LPARAM flags; // repeat count, scan code, extended, previous state (30), transition (31)

    bool has_key_state, has_focus_is_own, has_focus_class, has_foreground_title, has_key_name;
    BYTE key_state[KeyStateSize];               // the thread's key state, high bit: held
    bool focus_is_own;                          // the focus is in a window of the plug-in's own
    char focus_class[FocusClassSize];           // focused window's class, cut to 12
    char foreground_title[ForegroundTitleSize]; // foreground window's title
    char key_name[KeyNameSize];                 // the system's name of the key
};

class KeystrokePort {
  public:
    // The facts, for the keystroke the port was made for. Each buffer comes zeroed.
    virtual void ReadKeyState(BYTE (&state)[KeyStateSize]) = 0;
    virtual bool FocusIsOwn() = 0;
    virtual void ReadFocusClass(char (&text)[FocusClassSize]) = 0;
    virtual void ReadForegroundTitle(char (&text)[ForegroundTitleSize]) = 0;
    virtual void ReadKeyName(char (&text)[KeyNameSize]) = 0;

    // Told the deciding rule before any of its effects, with the facts it took.
    virtual void Decided(KeystrokeRule rule, const KeystrokeFacts& facts) = 0;

    // The host's message runs a message loop, and so may the lookup and the playback:
    // they may enter the decision again for the keys typed meanwhile.
    virtual void ShowStatus(const char* text) = 0;
    virtual void ShowMessage(const char* text, int flag) = 0;
    virtual void Wait(DWORD milliseconds) = 0;
    virtual void LookUp(LookupVariant variant) = 0;

    virtual int ApplicationModule() = 0;
    virtual HWND MainWindow() = 0;
    virtual int ButtonId(const char* button_name) = 0; // 0: the host knows no such button
    virtual bool PostCommand(HWND window, int command_id) = 0;
    virtual int PlayMacro(const char* button_name) = 0; // a MacroPlayback result

  protected:
    ~KeystrokePort() = default;
};
