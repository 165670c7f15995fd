// Message boxes of the calling thread, watched with a WH_CBT hook: each is recorded
// and answered as it is activated, so that a modal MessageBox returns to the driver.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace driving {

struct SeenMessageBox {
    HWND box; // valid while it is open
    std::string text;
    std::string caption;
    HWND owner;
    bool has_ok;
    bool has_cancel;
    bool has_yes_no;
    int answer;     // a question: as AnswerYesNo says; else IDOK, or IDCANCEL without OK;
                    // 0 when the box is left open for the keyboard
    int default_id; // the button Enter (and the focus at opening) takes
};

// A message box is a dialog of static texts and push buttons, one text with the id
// 0xFFFF; a dialog with any other control is an application's own.
bool IsMessageBoxWindow(HWND window);
// What the box shows, its owner and its buttons; `answer` left 0.
SeenMessageBox DescribeMessageBox(HWND box);
// The message box another process shows, nearest the top; nullptr when it shows none.
// (A watcher sees the calling thread's boxes only.) Answer it with DialogPostCommand.
HWND OpenMessageBoxOf(DWORD process);

// Watches the calling thread from construction to destruction. Watchers nest: the
// newest records, the one it hides takes over again when it ends.
class MessageBoxWatcher {
  public:
    using Observer = std::function<void(const SeenMessageBox&)>;
    // observer, when given, is told of each box before it is answered.
    explicit MessageBoxWatcher(Observer observer = nullptr);
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    const std::vector<SeenMessageBox>& Seen() const { return seen_; }
    std::vector<std::string> Texts() const; // the boxes' texts, in order
    void Clear() { seen_.clear(); }
    // How boxes that ask Yes or No are answered: IDYES or IDNO (IDNO unless told).
    void AnswerYesNo(int answer) { yes_no_answer_ = answer; }
    // Boxes are recorded but not answered: the observer (keys it types, a timer it sets)
    // closes them, as a user at the keyboard would.
    void LeaveOpen(bool leave_open) { leave_open_ = leave_open; }

  private:
    static LRESULT CALLBACK Watch(int code, WPARAM wparam, LPARAM lparam);

    Observer observer_;
    std::vector<SeenMessageBox> seen_;
    int yes_no_answer_ = IDNO;
    bool leave_open_ = false;
    HHOOK hook_ = nullptr;
    MessageBoxWatcher* hidden_ = nullptr;
};

} // namespace driving
