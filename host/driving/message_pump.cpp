#include "message_pump.h"

namespace driving {

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
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds)
            return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
}

} // namespace driving
