#pragma once

// The module keys a packed module's header carries at offset 0x130.

#include <QByteArrayView>
#include <QString>

#include <array>

namespace qm::compression {

struct ModuleKey {
    const char* name;            // as the key list shows it
    std::array<quint8, 4> bytes; // file bytes at 0x130..0x133, in order
};

inline constexpr std::array<ModuleKey, 6> kModuleKeys{{
    {"3.71 / 3.80 VSH Module", {0xAA, 0x6D, 0x79, 0x28}},
    {"3.71 / 3.80 Kernel Module", {0x0E, 0xD2, 0x8D, 0xFD}},
    {"3.52 VSH Module", {0xC3, 0x7A, 0xED, 0x69}},
    {"3.52 Kernel Module", {0x33, 0xD6, 0x3A, 0x71}},
    {"3.51 VSH Module", {0xA7, 0xCE, 0xA8, 0x2D}},
    {"3.51 Kernel Module", {0x46, 0x2F, 0xD0, 0xF5}},
}};

// The key whose first byte is the header's byte at 0x130; key 0 when no key
// matches or the header is too short.
int preselectedKey(QByteArrayView header);

} // namespace qm::compression
