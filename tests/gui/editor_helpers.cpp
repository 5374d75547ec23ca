#include "editor_helpers.h"

#include "prx/catalogue.h"

#include <QAccessible>
#include <QComboBox>
#include <QTest>

namespace qm::test {

OpenedVsh openVsh(int version, const QLocale& locale, quint32 seed) {
    OpenedVsh o;
    o.dir = std::make_unique<QTemporaryDir>();
    o.path = o.dir->filePath(QStringLiteral("vshmain.prx"));
    o.fixture = makeVsh(version, seed);
    writeFile(o.path, o.fixture.bytes);
    o.form = std::make_unique<ui::frmVSHMain>();
    o.form->setLocale(locale);
    if (!o.form->OpenVSHPRX(o.path, version))
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
