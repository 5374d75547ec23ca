#include "reviewdialog.h"

#include "looks/diff.h"
#include "paf/pafeditor.h"
#include "prx/codecs.h"
#include "vsh/vshlayout.h"
#include "widgets/editorform.h"
#include "widgets/valueboxes.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qm::ui {
namespace {

// The values as a save writes them: texts without blanks, cut to their slot.
prx::ModuleValues asWritten(prx::ModuleValues values) {
    if (values.kind() != prx::ModuleKind::Vsh)
        return values;
    for (int m = 0; m < values.memberCount(); ++m) {
        const auto member = static_cast<prx::VshMember>(m);
        if (values.has(m) && prx::shapeOf(member) == prx::Shape::Text)
            values.setValue(m, prx::storedText(values.text(member), prx::textMaxLength(member)));
    }
    return values;
}

} // namespace

QString captionedValueName(prx::ModuleKind kind, const QString& name) {
    const qsizetype end = name.indexOf(QRegularExpression(QStringLiteral("[\\[.]")));
    const QString memberName = end < 0 ? name : name.left(end);
    int element = 0;
    if (end >= 0 && name[end] == u'[')
        element = name.mid(end + 1, name.indexOf(u']', end) - end - 1).toInt();
    QString caption;
    if (kind == prx::ModuleKind::Vsh) {
        if (const auto member = prx::vshMemberByName(memberName))
            caption = vsh::valueCaption(*member, element);
    } else if (const auto member = prx::pafMemberByName(memberName)) {
        caption = PafEditor::valueCaption(*member);
    }
    return caption.isEmpty() ? name : captionWithMember(caption, name);
}

ReviewDialog::ReviewDialog(const EditorForm& editor, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ReviewDialog"));
    setWindowTitle(QStringLiteral("Review Changes"));
    setModal(true);
    const QString name = QFileInfo(editor.filePath()).fileName();

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setWordWrap(true);
    m_table = new QTableWidget(0, 3, this);
    m_table->setObjectName(QStringLiteral("changes"));
    m_table->setAccessibleName(QStringLiteral("Changed values"));
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("Value"), QStringLiteral("In %1").arg(name), QStringLiteral("In the editor")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);

    // The values as they were read or last written, against those a save would write now; the
    // document holds both, so a file changed or gone since makes no difference.
    const looks::LookDiff diff = looks::diffLooks(editor.loadedValues(), asWritten(editor.values()));
    const auto shown = [](const QString& t) { return t.isEmpty() ? QStringLiteral("\"\"") : t; };
    for (const looks::ValueDifference& d : diff.differences) {
        const int row = m_table->rowCount();
        m_table->insertRow(row);
        m_table->setItem(row, 0, new QTableWidgetItem(captionedValueName(editor.moduleKind(), d.name)));
        m_table->setItem(row, 1, new QTableWidgetItem(shown(d.a)));
        m_table->setItem(row, 2, new QTableWidgetItem(shown(d.b)));
    }
    m_summary->setText(diff.differences.isEmpty()
                           ? QStringLiteral("No value differs from %1.").arg(name)
                           : QStringLiteral("%1 %2 from %3:")
                                 .arg(diff.differences.size())
                                 .arg(diff.differences.size() == 1 ? QStringLiteral("value differs")
                                                                   : QStringLiteral("values differ"),
                                      name));
    m_table->resizeColumnsToContents();
    m_table->setVisible(m_table->rowCount() > 0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_table, 1);
    layout->addWidget(buttons);
    resize(560, m_table->rowCount() > 0 ? 420 : 120);
}

} // namespace qm::ui
