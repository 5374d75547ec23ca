#include "members.h"

#include "convert.h"

namespace qm::looks {

QString releaseLabel(const ModuleValues& values) {
    return values.release().label();
}

bool present(const ModuleValues& module, const MemberInfo& member) {
    return module.kind() == member.kind && module.has(member.index);
}

QString numberText(const ModuleValues& module, const MemberInfo& member) {
    return shownText(module.value(member.index), numberLocale());
}

std::optional<MenuField> menuFieldByName(QStringView name) {
    for (std::size_t i = 0; i < kMenuFieldNames.size(); ++i)
        if (name == QLatin1StringView(kMenuFieldNames[i]))
            return static_cast<MenuField>(i);
    return std::nullopt;
}

} // namespace qm::looks
