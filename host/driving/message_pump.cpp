#include "message_pump.h"

namespace driving {

namespace {

// A window that posts itself a message for each one it gets keeps the queue from ever
// running dry; the pump gives up on it this long after its time.
const DWORD FloodMs = 5000;

} // namespace

bool PumpMessages(DWORD milliseconds, void (*dispatch)(MSG& msg)) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return false;
            }
            if (dispatch) {
                dispatch(msg);
            } else {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            if (GetTickCount() - start > milliseconds + FloodMs)
                return true;
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds)
            return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
}

} // namespace driving
