// Opens a Start-menu entry as the Start menu does, waits until FILE appears,
// then asks veldrix.exe to quit (WM_QUIT, which Qt's event loop answers with
// quit()) and gives back its exit code: 0 when it ended cleanly.
// Usage: veldrix-startmenu ENTRY.lnk FILE
#include <windows.h>

#include <shellapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>

// Opening a link hands back no process: it is looked for by name.
static DWORD programId()
{
    PROCESSENTRY32W process{};
    process.dwSize = sizeof process;
    const HANDLE all = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    DWORD id = 0;
    for (BOOL more = Process32FirstW(all, &process); more; more = Process32NextW(all, &process))
        if (!_wcsicmp(process.szExeFile, L"veldrix.exe"))
            id = process.th32ProcessID;
    CloseHandle(all);
    return id;
}

int wmain(int, wchar_t *argv[])
{
    ShellExecuteW(nullptr, nullptr, argv[1], nullptr, nullptr, SW_SHOWNORMAL);
    DWORD id = 0;
    for (int i = 0; !id && i < 100; ++i, Sleep(100))
        id = programId();
    const HANDLE program = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, id);
    for (int i = 0; program && GetFileAttributesW(argv[2]) == INVALID_FILE_ATTRIBUTES; ++i)
        if (i == 600 || WaitForSingleObject(program, 100) == WAIT_OBJECT_0)
            return std::puts("no file from veldrix.exe"), 4;
    THREADENTRY32 thread{};
    thread.dwSize = sizeof thread;
    const HANDLE all = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    for (BOOL more = Thread32First(all, &thread); more; more = Thread32Next(all, &thread))
        if (thread.th32OwnerProcessID == id)
            PostThreadMessageW(thread.th32ThreadID, WM_QUIT, 0, 0);
    DWORD code = 0;
    if (!program || WaitForSingleObject(program, 30000) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(program, &code))
        return std::puts("veldrix.exe did not start, or did not end"), 5;
    std::printf("veldrix.exe: exit code %lu\n", code);
    return int(code);
}
