#include "editor_helpers.h"

#include "looks/menunames.h"
#include "prx/catalogue.h"
#include "text/numbers.h"
#include "widgets/colorbox.h"

#include <QAccessible>
#include <QComboBox>
#include <QList>
#include <QTest>

namespace qm::test {

namespace {

using V = prx::VshMember;

QList<V> vshMembersShaped(std::initializer_list<prx::Shape> shapes) {
    QList<V> out;
    for (int m = 0; m < prx::kVshMemberCount; ++m)
        if (std::find(shapes.begin(), shapes.end(), prx::shapeOf(static_cast<V>(m))) != shapes.end())
            out.append(static_cast<V>(m));
    return out;
}

} // namespace

QList<prx::VshMember> vshNumberMembers() {
    return vshMembersShaped({prx::Shape::Single, prx::Shape::Integer});
}

QList<prx::VshMember> vshTextMembers() {
    return vshMembersShaped({prx::Shape::Text});
}

QString nameOf(prx::VshMember member) {
    return QString(prx::memberName(member));
}

QString nameOf(prx::PafMember member) {
    return QString(prx::memberName(member));
}

QString expectedNumber(const prx::ModuleValues& values, prx::VshMember member, const QLocale& locale) {
    if (!values.has(member))
        return {};
    if (member == V::BmpSize)
        return QString::number(values.integer(member));
    return text::formatSingle(values.single(member).toFloat(), locale);
}

QString expectedText(const prx::ModuleValues& values, prx::VshMember member) {
    return values.has(member) ? values.text(member) : QString();
}

QString expectedFormat(const prx::ModuleValues& values, prx::VshMember block, int element) {
    return values.formats(block)[static_cast<std::size_t>(element)];
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
        const looks::MenuTexts t = looks::menuTexts(e, values.release());
        rows.append({t.order, t.category, t.icon, t.region, t.enabled});
    }
    return rows;
}

QString expectedPaf(const prx::ModuleValues& values, prx::PafMember member, const QLocale& locale) {
    if (!values.has(member))
        return {};
    return text::formatSingle(values.single(member).toFloat(), locale);
}

OpenedVsh openVsh(int version, const QLocale& locale, quint32 seed) {
    OpenedVsh o;
    o.dir = std::make_unique<QTemporaryDir>();
    o.path = o.dir->filePath(QStringLiteral("vshmain.prx"));
    o.fixture = makeVsh(version, seed);
    writeFile(o.path, o.fixture.bytes);
    o.window = std::make_unique<ui::EditorWindow>(prx::ModuleKind::Vsh);
    o.form = &formOf<ui::VshEditor>(*o.window);
    o.form->setLocale(locale);
    if (!o.window->loadFile(o.path, test::vshRow(version)))
        qFatal("fixture module did not load");
    return o;
}

ui::EditorWindow* windowOf(const ui::EditorForm* form) {
    return form ? qobject_cast<ui::EditorWindow*>(form->parentWidget()) : nullptr;
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

ui::ColorBox* colourBox(const QWidget& form, const char* name) {
    return form.findChild<ui::ColorBox*>(QLatin1StringView(name));
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
