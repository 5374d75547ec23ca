#include "modulekeys.h"

namespace qm::compression {

int preselectedKey(QByteArrayView header) {
    constexpr qsizetype kKeyOffset = 0x130;
    if (header.size() <= kKeyOffset)
        return 0;
    const auto first = static_cast<quint8>(header.at(kKeyOffset));
    for (std::size_t i = 0; i < kModuleKeys.size(); ++i)
        if (kModuleKeys[i].bytes[0] == first)
            return static_cast<int>(i);
    return 0;
}

} // namespace qm::compression
