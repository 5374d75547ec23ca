#include "editor_helpers.h"

#include "looks/menunames.h"
#include "prx/catalogue.h"
#include "prx/numbers.h"

#include <QAccessible>
#include <QComboBox>
#include <QTest>

namespace qm::test {

namespace {

using V = prx::VshMember;

// The boxes of the VSH window by index, as the window's documentation lists them.
constexpr std::array<V, kVshNumberBoxes> kNumberMembers{
    V::XmbX,
    V::XmbXInfobar,
    V::XmbXSubmenu,
    V::XmbXGameSubmenu,
    V::MuteX,
    V::MuteY,
    V::MuteYShadow,
    V::HoldY,
    V::HoldYShadow,
    V::ClockX,
    V::ClockY,
    V::ClockXNoBattery,
    V::NetworkIconYUnfocused,
    V::MainIconYFocused,
    V::MainIconYUnfocused,
    V::BmpSize,
    V::BusyIconSpeed,
    V::FocusedIconFadeOut,
    V::AlphaAllMainIcons,
    V::AlphaFocusedMainIcon,
    V::MSOptionIconX,
    V::MSOptionIconY,
    V::AlphaInfobarIcons,
    V::AlphaHighlightedText,
    V::HoldX,
    V::HoldXShadow,
    V::MuteXShadow,
    V::AlphaMSOptionIcon,
};
constexpr std::array<V, kVshEditableTexts> kTextMembers{
    V::MSIconPhoto,  V::MSIconMusic,  V::MSIconVideo, V::MSIconGame,  V::UMDIconPhoto,
    V::UMDIconMusic, V::UMDIconVideo, V::UMDIconGame, V::UpdatePath1, V::UpdatePath2,
    V::UpdatePath3,  V::RCOPath1,     V::RCOPath2,
};

} // namespace

prx::VshMember vshNumberMember(int box) {
    return kNumberMembers[static_cast<std::size_t>(box)];
}

prx::VshMember vshTextMember(int box) {
    return kTextMembers[static_cast<std::size_t>(box)];
}

QString expectedNumber(const prx::ModuleValues& values, int box, const QLocale& locale) {
    const V member = vshNumberMember(box);
    if (!values.has(member))
        return {};
    if (member == V::BmpSize)
        return QString::number(values.integer(member));
    return prx::formatSingle(values.single(member).toFloat(), locale);
}

QString expectedText(const prx::ModuleValues& values, int box) {
    if (box < kVshEditableTexts)
        return values.text(vshTextMember(box));
    const V block = box < 18 ? V::FormatsEurope : V::FormatsUSJapan;
    return values.formats(block)[static_cast<std::size_t>((box - 13) % 5)];
}

QList<prx::Rgb> expectedColours(const prx::ModuleValues& values, prx::VshMember member) {
    QList<prx::Rgb> out;
    if (values.has(member))
        for (const prx::Colour& c : values.colours(member))
            out.append(c.rgb());
    return out;
}

QList<MenuRow> menuRows(const ui::VshMenuTab& tab) {
    using M = ui::VshMenuModel;
    QList<MenuRow> rows;
    for (int r = 0; r < tab.rowCount(); ++r)
        rows.append({tab.cell(r, M::ColOrder), tab.cell(r, M::ColMainMenu), tab.cell(r, M::ColIcon),
                     tab.cell(r, M::ColRegion), tab.cell(r, M::ColEnabled)});
    return rows;
}

QList<MenuRow> expectedMenuRows(const prx::ModuleValues& values) {
    QList<MenuRow> rows;
    if (!values.has(V::MenuEntries))
        return rows;
    for (const prx::MenuEntry& e : values.menu()) {
        const looks::MenuTexts t = looks::menuTexts(e, values.version());
        rows.append({t.order, t.category, t.icon, t.region, t.enabled});
    }
    return rows;
}

QString expectedPaf(const prx::ModuleValues& values, int box, const QLocale& locale) {
    const prx::PafMember member = kPafBoxes[static_cast<std::size_t>(box)];
    if (!values.has(member))
        return {};
    return prx::formatSingle(values.single(member).toFloat(), locale);
}

OpenedVsh openVsh(int version, const QLocale& locale, quint32 seed) {
    OpenedVsh o;
    o.dir = std::make_unique<QTemporaryDir>();
    o.path = o.dir->filePath(QStringLiteral("vshmain.prx"));
    o.fixture = makeVsh(version, seed);
    writeFile(o.path, o.fixture.bytes);
    o.form = std::make_unique<ui::VshEditor>();
    o.form->setLocale(locale);
    if (!o.form->load(o.path, version))
        qFatal("fixture module did not load");
    return o;
}

void addVshReleaseRows() {
    QTest::addColumn<int>("version");
    for (int v = 1; v <= prx::kVshRows; ++v)
        QTest::addRow("%s", prx::vshRelease(v).label) << v;
}

void pick(QComboBox* combo, int index) {
    combo->setCurrentIndex(index);
    Q_EMIT combo->activated(index);
}

QString shownIn(QString cText, const QLocale& locale) {
    if (locale.decimalPoint() == u",")
        cText.replace(QLatin1Char('.'), QLatin1Char(','));
    return cText;
}

QStringList latin1(std::initializer_list<const char*> texts) {
    QStringList out;
    for (const char* t : texts)
        out.append(QString::fromLatin1(t));
    return out;
}

QLocale localeNamed(const QString& name) {
    return name == u"fr" ? kFrench : kEnglish;
}

QString messageSummary(const QList<DialogCall>& calls) {
    QStringList out;
    for (const DialogCall& c : calls)
        out.append(c.title + QStringLiteral(" | ") + c.text);
    return out.join(QStringLiteral("; "));
}

QString accessibleName(QWidget* widget) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(QAccessible::Name) : QString();
}

QString accessibleDescription(QWidget* widget) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(QAccessible::Description) : QString();
}

} // namespace qm::test
