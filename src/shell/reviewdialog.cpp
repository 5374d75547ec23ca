#include "reviewdialog.h"

#include "looks/diff.h"
#include "prx/valueio.h"
#include "widgets/editorform.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qm::ui {

ReviewDialog::ReviewDialog(const EditorForm& editor, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ReviewDialog"));
    setWindowTitle(QStringLiteral("Review Changes"));
    setModal(true);
    const QString name = QFileInfo(editor.filePath()).fileName();

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("lblSummary"));
    m_summary->setWordWrap(true);
    m_table = new QTableWidget(0, 3, this);
    m_table->setObjectName(QStringLiteral("tblChanges"));
    m_table->setAccessibleName(QStringLiteral("Changed values"));
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("Value"), QStringLiteral("In %1").arg(name), QStringLiteral("In the editor")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);

    // The file as it is on disk now, against the values the editor shows.
    const auto onDisk = prx::readValuesFile(editor.filePath(), editor.moduleKind(), editor.versionIndex());
    if (!onDisk) {
        m_summary->setText(QStringLiteral("%1 can't be read: %2").arg(name, onDisk.error().fullText()));
    } else {
        const looks::LookDiff diff = looks::diffLooks(*onDisk, editor.values());
        const auto shown = [](const QString& t) { return t.isEmpty() ? QStringLiteral("\"\"") : t; };
        for (const looks::ValueDifference& d : diff.differences) {
            const int row = m_table->rowCount();
            m_table->insertRow(row);
            m_table->setItem(row, 0, new QTableWidgetItem(d.name));
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
    }
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
