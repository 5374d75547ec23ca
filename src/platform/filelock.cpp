#include "filelock.h"

#ifdef Q_OS_WIN
#include <QDir>

#include <windows.h>
#endif

namespace qm::platform {

bool heldOpenElsewhere(const QString& path) {
#ifdef Q_OS_WIN
    const std::wstring name = QDir::toNativeSeparators(path).toStdWString();
    // Replacing needs DELETE access on the old file; every sharing is
    // granted, so only another program's refusal can stop the open.
    const HANDLE h = CreateFileW(name.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return false;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
#else
    Q_UNUSED(path);
    return false;
#endif
}

} // namespace qm::platform
