/* A wininet.dll that lacks every function the program binds: placed beside
   the executable, it is loaded first and the binding of InternetOpenA fails. */
#include <windows.h>

__declspec(dllexport) int NotWininet(void) { return 0; }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
