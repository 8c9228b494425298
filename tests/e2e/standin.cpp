// A stand-in for the game (or its launcher) in the end-to-end tests: the tests copy it under
// the name they need and it simply stays alive until it is killed or told to quit.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
    return 0;
}
