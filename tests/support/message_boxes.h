// Test support: watches the thread's message boxes with a WH_CBT hook, records what
// each showed and answers it, so that a modal MessageBoxA returns to the test.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tarnwick_test {

struct SeenMessageBox {
    std::string text;
    std::string caption;
    HWND owner;
    bool has_ok;
    bool has_cancel;
};

class MessageBoxWatcher {
  public:
    MessageBoxWatcher(); // starts watching the calling thread
    ~MessageBoxWatcher();
    const std::vector<SeenMessageBox>& Seen() const;
    std::vector<std::string> Texts() const;
    void Clear();
    // The answer to boxes that ask Yes or No (IDYES or IDNO; IDNO unless told).
    void AnswerYesNo(int answer);

  private:
    HHOOK hook_;
};

} // namespace tarnwick_test
