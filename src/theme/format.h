#pragma once

// The CXMB theme file (.ctf): a PTF theme file with the firmware's magic, a
// hash and an entry count patched into its header, the entries' data after
// it and an index of 72-byte records at the end. All numbers little-endian.

#include "prx/catalogue.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

namespace qm::theme {

inline constexpr qint64 kOffVersion = 0x04;
inline constexpr qint64 kOffTitle = 0x08;
inline constexpr qint64 kTitleLength = 128;
inline constexpr qint64 kOffMagic = 0x10;
inline constexpr qint64 kOffHash = 0x14; // the first 4 bytes of the SHA-1 of the index records
inline constexpr qint64 kOffCount = 0x18;
inline constexpr qint64 kOffPtfLength = 0x1C; // bytes of the PTF part in front of the entries
inline constexpr qint64 kOffParts = 0x100;    // five u32 addresses of the PTF's parts
inline constexpr qint64 kOffPtfEnd = 0x108;   // the third of them: where a converter's PTF ends
inline constexpr qint64 kPtfHeaderLength = 0x114;
inline constexpr qint64 kRecordLength = 72;
inline constexpr qint64 kNameLength = 64;
inline constexpr qint64 kRunHeaderLength = 8;
inline constexpr int kMaxEntries = 64;
inline constexpr qint64 kMaxEntrySize =
    qint64(2) * 1024 * 1024; // the plugin drops an entry this size or larger
// Where the loader finds the first program header's p_offset in a module.
inline constexpr qint64 kOffFirstSegment = 0x38;

inline constexpr QByteArrayView kPtfSignature("\0PTF", 4);

// The modules a theme changes run by run, and their flash paths.
enum class Slot { Vsh, Paf, CommonGui };
inline constexpr Slot kSlots[] = {Slot::Vsh, Slot::Paf, Slot::CommonGui};
QString flashPath(Slot slot); // "/vsh/module/vshmain.prx"
QString slotName(Slot slot);  // "vshmain.prx"
// The module a flash path or file name names, its file name compared without case.
std::optional<Slot> slotOfName(QStringView path);

// Firmware the plugin loads themes on, in order; 5.02 and 5.03 share a magic.
struct Firmware {
    QString name; // "3.71"
    quint32 magic;
};
const QList<Firmware>& firmwares();
std::optional<Firmware> firmwareNamed(QStringView name);
// "3.71, 3.80, ..., 6.61"
QString firmwareList();
// A magic some loader takes (also 0xDEAD0503 and 0xDEAD0636, which no maker
// writes but the loaders of 5.0x and 6.3x take), as firmware "5.03".
std::optional<QString> firmwareOfMagic(quint32 magic);

// Quillmark's releases that themes are for: VSH "3.71" with PAF "3.7x" on
// 3.71, VSH "3.8x" with PAF "3.8x" on 3.80. None for any other release.
std::optional<QString> firmwareOfRelease(prx::ReleaseId release);
// The release of a kind that a firmware's modules are, when Quillmark knows it.
std::optional<int> releaseOfFirmware(prx::ModuleKind kind, QStringView firmware);
// "3.71 (VSH 3.71 with PAF 3.7x) and 3.80 (VSH 3.8x with PAF 3.8x)"
QString pairedReleasesText();
std::optional<prx::ModuleKind> kindOfSlot(Slot slot);

// Why the plugin would not take a flash path: empty when it takes it (shorter
// than 64 bytes, in one of its folders, with one of its extensions).
QString nameProblem(QByteArrayView name);

// The little-endian u32 at `at`, when the bytes hold it.
std::optional<quint32> u32At(QByteArrayView bytes, qint64 at);
// "0x1F4" for a number or an offset in a message.
QString hex(qint64 value);

// "\0PTF" at 0 and a magic some loader takes at 0x10.
bool looksLikeTheme(QByteArrayView head);

} // namespace qm::theme
