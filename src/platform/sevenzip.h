#pragma once

// Where an installed 7-Zip keeps its archiver on Windows.

#include <QStringList>

namespace qm::platform {

// The folders of an installed 7-Zip, most likely first: the "Path64" and
// "Path" values of HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE
// \Software\7-Zip, then "7-Zip" in %ProgramFiles%, %ProgramW6432% and
// %ProgramFiles(x86)%. Folders that don't exist are left out; empty
// elsewhere than on Windows.
QStringList sevenZipFolders();

} // namespace qm::platform
