#include "tell_user.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace moxel::ui {

#ifdef Q_OS_WIN

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

}  // namespace

void tellUser(std::FILE* stream, const QString& text) {
    if (reachConsole(stream)) {
        std::fputs(qPrintable(text), stream);
        std::fflush(stream);
        return;
    }
    const UINT icon = stream == stderr ? MB_ICONERROR : MB_ICONINFORMATION;
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.utf16()), L"Catch the Moxel",
                MB_OK | icon);
}

#else

void tellUser(std::FILE* stream, const QString& text) {
    std::fputs(qPrintable(text), stream);
    std::fflush(stream);  // the caller may end the program at once
}

#endif

}  // namespace moxel::ui
