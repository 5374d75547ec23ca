#include "members.h"

#include "prx/rules.h"
#include "text/numbers.h"

namespace qm::looks {
namespace {

QList<Member> build(prx::ModuleKind kind) {
    QList<Member> list;
    for (int i = 0; i < prx::memberCount(kind); ++i) {
        const prx::MemberInfo row = prx::memberInfo(kind, i);
        Member info;
        info.kind = kind;
        info.index = i;
        info.name = QString(row.name);
        info.shape = row.shape;
        info.count = row.elements();
        info.textLimit = row.textLimit();
        list.append(info);
    }
    return list;
}

} // namespace

QLatin1StringView kindName(prx::ModuleKind kind) {
    return kind == prx::ModuleKind::Vsh ? QLatin1StringView("vsh") : QLatin1StringView("paf");
}

QString releaseLabel(const ModuleValues& values) {
    return values.release().label();
}

const QList<Member>& allMembers(prx::ModuleKind kind) {
    static const QList<Member> vsh = build(prx::ModuleKind::Vsh);
    static const QList<Member> paf = build(prx::ModuleKind::Paf);
    return kind == prx::ModuleKind::Vsh ? vsh : paf;
}

std::optional<Member> findMember(prx::ModuleKind kind, QStringView name) {
    for (const Member& m : allMembers(kind))
        if (m.name == name)
            return m;
    return std::nullopt;
}

bool present(const ModuleValues& module, const Member& member) {
    return module.kind() == member.kind && module.has(member.index);
}

bool followsMainIcon(const ModuleValues& module, const Member& member) {
    return module.kind() == prx::ModuleKind::Vsh && member.kind == prx::ModuleKind::Vsh &&
           present(module, member) && prx::followsMainIcon(module.release(), member.vsh());
}

QString numberText(const ModuleValues& module, const Member& member) {
    const prx::Value& v = module.value(member.index);
    if (const auto* integer = std::get_if<qint16>(&v))
        return QString::number(*integer);
    if (const auto* single = std::get_if<prx::Single>(&v))
        return text::formatSingle(single->toFloat(), numberLocale());
    return {};
}

std::optional<MenuField> menuFieldByName(QStringView name) {
    for (std::size_t i = 0; i < kMenuFieldNames.size(); ++i)
        if (name == QLatin1StringView(kMenuFieldNames[i]))
            return static_cast<MenuField>(i);
    return std::nullopt;
}

} // namespace qm::looks
