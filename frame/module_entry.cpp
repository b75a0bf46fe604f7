// The library entry point: succeeds for every reason and does nothing; the
// module's static data is set up by the loader before it is called.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
