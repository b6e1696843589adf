// The game on Windows: as on a desktop, but a program of the GUI kind has no
// console of its own for what it says before a window opens.
#include "../platform.h"
#include "tell_user.h"

#include <windows.h>

namespace moxel::app {

namespace {

bool isOpen(DWORD standardHandle) {
    const HANDLE handle = GetStdHandle(standardHandle);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// The caller's console, as a console program would write to it; false where
// the game was not started from one (from Explorer or the Start menu).
bool reachConsole(std::FILE* stream) {
    const DWORD standardHandle = stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE;
    if (isOpen(standardHandle))
        return true;
    if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED)
        return false;  // ERROR_ACCESS_DENIED: already attached, by the other stream
    return std::freopen("CONOUT$", "w", stream) != nullptr;
}

// Where the caller redirected the stream, else the console the game was
// started from, else a message box.
bool tellUserOnWindows(std::FILE* stream, const QString& text) {
    if (reachConsole(stream))
        return false;
    const UINT icon = stream == stderr ? MB_ICONERROR : MB_ICONINFORMATION;
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.utf16()), L"Catch the Moxel",
                MB_OK | icon);
    return true;
}

}  // namespace

const start::DisplayAtStart kDisplayAtStart = start::DisplayAtStart::AlwaysThere;

void prepareToStart() {
    start::tellUserBy(tellUserOnWindows);
}

void adaptToPlatform(ui::Runtime&) {}
void placeMainWindow(ui::Form10&) {}

}  // namespace moxel::app
