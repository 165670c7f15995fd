// A small dialog class over Win32 for the plug-in's one dialog: modeless creation from
// a template in the plug-in's own module, an initialisation hook, a table that routes
// control commands and notifications to member functions, the data exchange used at
// initialisation, and cancel hiding the window.
#pragma once

#include <windows.h>

#include <stddef.h>

#include <string>

#include "plugin_module.h"

enum class RouteKind { Command, Notify };

// One row of a dialog's handler table: a command (WM_COMMAND with a notification
// code such as BN_CLICKED) or a notification (WM_NOTIFY with a code such as
// NM_CLICK) from the child control `control`, handled by `handler`.
template <class Dialog> struct MessageRoute {
    RouteKind kind;
    int control;
    int code;
    void (Dialog::*handler)();
};

class DialogBase {
  public:
    explicit DialogBase(int template_id);
    virtual ~DialogBase(); // destroys the window, if any
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;

    // Creates the window, hidden, from the template in `module` (the plug-in's own: its
    // resources never come from the host program); false when the window could not be made.
    bool Create(HINSTANCE module, HWND parent);
    HWND Handle() const { return window_; }
    void OnCancel(); // hides the window; object and window stay

    // A handler can show a box, whose message loop can run the plug-in's unload. While a
    // Use of the object lives (one is made around every message the window handles), the
    // object stays; Release deletes it at once, or when the last Use ends.
    class Use {
      public:
        explicit Use(DialogBase& dialog);
        ~Use();
        Use(const Use&) = delete;
        Use& operator=(const Use&) = delete;

      private:
        DialogBase& dialog_;
        PluginHandlerScope handler_;
    };
    // For an object made with new whose owner lets go of it.
    void Release();
    bool Released() const { return released_; } // only a Use may still look

  protected:
    // Runs once while the window is made; the base runs the data exchange towards
    // the controls. The result says whether the system sets the focus itself.
    virtual BOOL OnInitDialog();
    // Fills the controls from the members, once, at initialisation.
    virtual void DoDataExchange() {}
    // Sends the event to the dialog's handler table; false when no row matches.
    virtual bool Route(RouteKind kind, int control, int code) = 0;

    template <class Dialog, size_t N>
    static bool RouteTo(Dialog* dialog, const MessageRoute<Dialog> (&table)[N], RouteKind kind,
                        int control, int code) {
        for (const MessageRoute<Dialog>& route : table) {
            if (route.kind == kind && route.control == control && route.code == code) {
                (dialog->*route.handler)();
                return true;
            }
        }
        return false;
    }

    // The data exchange the dialog uses at initialisation.
    void ExchangeText(int control, const std::string& text);
    void ExchangeTextLimit(int control, const std::string& text, int max_chars);
    void ExchangeCheck(int control, int state);

    HWND Control(int control) const;
    std::string ControlText(int control) const; // the whole text, however long
    void SetControlText(int control, const char* text);
    // A message box owned by the dialog, captioned with the dialog's own title.
    int Message(const char* text, UINT buttons = MB_OK) const;
    int Message(const char* text, const char* caption, UINT buttons) const;

  private:
    static INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wparam,
                                            LPARAM lparam);
    INT_PTR Dispatch(UINT message, WPARAM wparam, LPARAM lparam);

    int template_id_;
    HWND window_ = nullptr;
    int uses_ = 0;
    bool released_ = false;
};
