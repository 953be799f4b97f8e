// Planted beside a program under the names of system DLLs: whichever process loads it leaves
// NAME.dll.loaded in its folder, and it does nothing else.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        constexpr wchar_t suffix[] = L".loaded";
        wchar_t path[MAX_PATH + sizeof suffix / sizeof *suffix] = {};
        if (const DWORD length = GetModuleFileNameW(self, path, MAX_PATH); length > 0 && length < MAX_PATH) {
            lstrcpyW(path + length, suffix);
            const HANDLE marker
                = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (marker != INVALID_HANDLE_VALUE)
                CloseHandle(marker);
        }
    }
    return TRUE;
}
