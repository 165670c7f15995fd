// Running the calling thread's messages while a program is driven from the same thread:
// keys sent through SendInput, posted commands and dialog traffic are handled only
// while the thread pumps.
#pragma once

#include <windows.h>

namespace driving {

// Enough for the system to move one input event into the thread's queue under Wine.
const DWORD InputSettleMs = 15;

// Dispatches the thread's pending messages; with a time, keeps doing so until that
// many milliseconds have passed, waking as messages arrive. `dispatch`, when given,
// takes each message in place of TranslateMessage and DispatchMessage (to pass a
// dialog's messages through its dialog manager, say). Returns false once WM_QUIT has
// been taken; it is posted again, so that outer loops see it too. Messages that never
// stop coming hold it for at most five seconds past its time.
bool PumpMessages(DWORD milliseconds = 0, void (*dispatch)(MSG& msg) = nullptr);

} // namespace driving
