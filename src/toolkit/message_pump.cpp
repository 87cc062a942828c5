#include "toolkit/message_pump.h"

#include <windows.h>

int pumpMessage()
{
    MSG message;
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        return pumpEmpty;
    if (message.message == WM_QUIT)
        return pumpQuit;
    TranslateMessage(&message);
    DispatchMessageW(&message);
    return pumpDispatched;
}

void drainMessages()
{
    while (pumpMessage() == pumpDispatched) {
    }
}

void runMainLoop()
{
    for (;;) {
        const int result = pumpMessage();
        if (result == pumpQuit)
            return;
        if (result == pumpEmpty)
            Sleep(1);
    }
}

void pumpOrSleep()
{
    if (pumpMessage() == pumpEmpty)
        Sleep(1);
}
