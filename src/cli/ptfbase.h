#pragma once

// A PTF theme file that is no CXMB theme yet: the base `theme --ptf` takes.
// identify names it, and check, which has no checks for it, says what to do.

#include <QString>

#include <optional>

namespace qm::cli {

struct PtfFile {
    QString title; // empty when the header can't be read
    qint64 size = 0;
};
// The file, when it starts with "\0PTF" and is no theme.
std::optional<PtfFile> ptfBase(const QString& path);

// identify's line of it, as text or JSON.
QString ptfIdentifyLine(const QString& path, const PtfFile& ptf, bool json);
// Why check takes no PTF theme file, and the command that does.
QString ptfNotChecked(const QString& path, const PtfFile& ptf);

} // namespace qm::cli
