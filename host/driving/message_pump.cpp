#include "message_pump.h"

namespace driving {

void PumpMessages(DWORD milliseconds) {
    DWORD until = GetTickCount() + milliseconds;
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (milliseconds)
            Sleep(5);
    } while (milliseconds && static_cast<int>(until - GetTickCount()) > 0);
}

} // namespace driving
