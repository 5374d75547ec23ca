#pragma once

// The configuration file "Quillmark.ini" in the working folder: a classic
// sectioned key=value file in the 8-bit code page with CR LF line ends.

#include "result.h"

#include <QString>

namespace qm::prx {

inline const QString kIniFileName = QStringLiteral("Quillmark.ini");
inline const QString kIniSection = QStringLiteral("CONFIG");
inline const QString kKeyCheckPrx = QStringLiteral("CheckPRX");
inline const QString kKeyCompPrx = QStringLiteral("CompPRX");
// Whether a save first keeps the module it overwrites as NAME.orig; on when missing.
inline const QString kKeyKeepOriginal = QStringLiteral("KeepOriginal");

// The six lines of a new configuration file.
QByteArray defaultIniContent();

// Value of a key: "" when the file, section or key is missing; at most 254
// characters. Section and key names are matched without regard to case.
QString readIniValue(const QString& path, const QString& section, const QString& key);
// Sets a key, adding the section or key when missing and keeping every other
// line. A file that can't be read or written is an Io error naming it.
Status writeIniValue(const QString& path, const QString& section, const QString& key, const QString& value);
// Creates or truncates the file and writes the default lines.
bool createDefaultIni(const QString& path);

// The same on the file in the working folder.
QString iniPath();
QString readIniValue(const QString& section, const QString& key);
Status writeIniValue(const QString& section, const QString& key, const QString& value);

// A switch is on only when its value, read as an integer, is exactly 1.
bool iniSwitchOn(const QString& value);

} // namespace qm::prx
