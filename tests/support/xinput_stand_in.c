// A stand-in for XInput for the Windows end-to-end test: one pad, user 0, whose
// state is the file "kolvex_pad.txt" in the working directory, written by the test
// as "<wButtons> <sThumbLX> <sThumbLY>". Without the file no pad is connected.
#include <windows.h>
#include <xinput.h>

#include <stdio.h>

static BOOL readPad(XINPUT_GAMEPAD* pad) {
    FILE* file = fopen("kolvex_pad.txt", "r");
    if (file == NULL) {
        return FALSE;
    }
    unsigned buttons = 0;
    int x = 0;
    int y = 0;
    const BOOL complete = fscanf(file, "%u %d %d", &buttons, &x, &y) == 3;
    fclose(file);
    ZeroMemory(pad, sizeof(*pad));
    pad->wButtons = (WORD)buttons;
    pad->sThumbLX = (SHORT)x;
    pad->sThumbLY = (SHORT)y;
    return complete;
}

__declspec(dllexport) DWORD WINAPI XInputGetState(DWORD user, XINPUT_STATE* state) {
    static DWORD packet;
    XINPUT_GAMEPAD pad;
    if (user != 0 || !readPad(&pad)) {
        return ERROR_DEVICE_NOT_CONNECTED;
    }
    state->dwPacketNumber = ++packet;
    state->Gamepad = pad;
    return ERROR_SUCCESS;
}

__declspec(dllexport) DWORD WINAPI
    XInputGetCapabilities(DWORD user, DWORD flags, XINPUT_CAPABILITIES* caps) {
    XINPUT_GAMEPAD pad;
    (void)flags;
    if (user != 0 || !readPad(&pad)) {
        return ERROR_DEVICE_NOT_CONNECTED;
    }
    ZeroMemory(caps, sizeof(*caps));
    caps->Type = XINPUT_DEVTYPE_GAMEPAD;
    caps->SubType = XINPUT_DEVSUBTYPE_GAMEPAD;
    return ERROR_SUCCESS;
}
