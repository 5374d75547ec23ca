#include "members.h"

namespace qm::looks {
namespace {

using prx::VshMember;

Member vshMemberInfo(VshMember m) {
    Member info;
    info.name = QString(prx::memberName(m));
    info.vsh = m;
    switch (m) {
    case VshMember::TextColors:
    case VshMember::ContextColors:
        info.shape = Shape::Colors;
        info.count = prx::kMonthCount;
        return info;
    case VshMember::TextColorsSlim:
    case VshMember::ContextColorsSlim:
        info.shape = Shape::Colors;
        info.count = prx::kSlimItemCount;
        return info;
    case VshMember::MenuEntries:
        info.shape = Shape::Menu;
        return info;
    case VshMember::FormatsEurope:
        info.shape = Shape::Formats;
        info.slot = prx::kVshFormatFirstEurope;
        info.count = 5;
        return info;
    case VshMember::FormatsUSJapan:
        info.shape = Shape::Formats;
        info.slot = prx::kVshFormatFirstUSJapan;
        info.count = 5;
        return info;
    default:
        break;
    }
    if (const int box = prx::vshNumberBoxOf(m); box >= 0) {
        info.shape = m == VshMember::BmpSize ? Shape::Integer : Shape::Single;
        info.slot = box;
    } else {
        info.shape = Shape::Text;
        info.slot = prx::vshTextBoxOf(m);
    }
    return info;
}

QList<Member> buildVsh() {
    QList<Member> list;
    for (int i = 0; i < prx::kVshMemberCount; ++i)
        list.append(vshMemberInfo(static_cast<VshMember>(i)));
    return list;
}

QList<Member> buildPaf() {
    QList<Member> list;
    for (int i = 0; i < prx::kPafMemberCount; ++i) {
        Member info;
        info.paf = static_cast<prx::PafMember>(i);
        info.name = QString(prx::memberName(info.paf));
        info.shape = Shape::Single;
        info.slot = prx::pafBoxOf(info.paf);
        list.append(info);
    }
    return list;
}

} // namespace

QLatin1StringView kindName(prx::ModuleKind kind) {
    return kind == prx::ModuleKind::Vsh ? QLatin1StringView("vsh") : QLatin1StringView("paf");
}

QString releaseLabel(const ModuleValues& values) {
    return QString::fromLatin1(prx::release(values.kind, values.version).label);
}

const QList<Member>& allMembers(prx::ModuleKind kind) {
    static const QList<Member> vsh = buildVsh();
    static const QList<Member> paf = buildPaf();
    return kind == prx::ModuleKind::Vsh ? vsh : paf;
}

std::optional<Member> findMember(prx::ModuleKind kind, QStringView name) {
    for (const Member& m : allMembers(kind))
        if (m.name == name)
            return m;
    return std::nullopt;
}

bool present(const ModuleValues& module, const Member& member) {
    return module.kind == prx::ModuleKind::Vsh ? prx::vshHas(module.version, member.vsh)
                                               : prx::pafHas(module.version, member.paf);
}

QString& numberText(ModuleValues& module, const Member& member) {
    const auto i = static_cast<std::size_t>(member.slot);
    return module.kind == prx::ModuleKind::Vsh ? module.vsh.numbers[i] : module.paf.numbers[i];
}

const QString& numberText(const ModuleValues& module, const Member& member) {
    const auto i = static_cast<std::size_t>(member.slot);
    return module.kind == prx::ModuleKind::Vsh ? module.vsh.numbers[i] : module.paf.numbers[i];
}

namespace {

// The colour array of a VSH values set, const or not.
template <typename Values> auto colourArray(Values& values, VshMember member) {
    using Span = decltype(std::span(values.textColors));
    using Element = typename Span::element_type;
    switch (member) {
    case VshMember::TextColors:
        return std::span<Element>(values.textColors);
    case VshMember::ContextColors:
        return std::span<Element>(values.contextColors);
    case VshMember::TextColorsSlim:
        return std::span<Element>(values.textColorsSlim);
    case VshMember::ContextColorsSlim:
        return std::span<Element>(values.contextColorsSlim);
    default:
        return std::span<Element>();
    }
}

} // namespace

std::span<prx::Rgb> colours(prx::VshValues& values, const Member& member) {
    return colourArray(values, member.vsh);
}

std::span<const prx::Rgb> colours(const prx::VshValues& values, const Member& member) {
    return colourArray(values, member.vsh);
}

bool followsMainIcon(const ModuleValues& module, const Member& member) {
    if (module.kind != prx::ModuleKind::Vsh || member.shape != Shape::Single)
        return false;
    return prx::vshNumberBoxRead(module.version, member.slot) &&
           !prx::vshNumberBoxEnabled(module.version, member.slot);
}

std::optional<MenuField> menuFieldByName(QStringView name) {
    for (std::size_t i = 0; i < kMenuFieldNames.size(); ++i)
        if (name == QLatin1StringView(kMenuFieldNames[i]))
            return static_cast<MenuField>(i);
    return std::nullopt;
}

} // namespace qm::looks
