#include "reviewdialog.h"

#include "looks/diff.h"
#include "paf/pafeditor.h"
#include "prx/codecs.h"
#include "text/errortext.h"
#include "text/numbers.h"
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

#include <algorithm>

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

// A text as a cell shows it: an empty one as "".
QString shown(const QString& t) {
    return t.isEmpty() ? QStringLiteral("\"\"") : t;
}

// A number member's value as the review shows the file's side of it.
QString numberText(const prx::Value& value) {
    if (const auto* single = std::get_if<prx::Single>(&value))
        return text::formatSingle(single->toFloat(), QLocale::c());
    if (const auto* integer = std::get_if<qint16>(&value))
        return QString::number(*integer);
    return {};
}

// One line of the review: the value's name as a dump gives it, its two
// sides, and why the editor's side can't be saved (empty when it can).
struct ReviewRow {
    QString name;
    QString inFile;
    QString inEditor;
    QString why;
};

// The values that differ, and the texts that give no value in place of
// their members' values, in table order.
QList<ReviewRow> reviewRows(const EditorForm& editor) {
    const doc::EditingDocument& document = editor.document();
    // The values as they were read or last written, against those a save would write now; the
    // document holds both, so a file changed or gone since makes no difference.
    const looks::LookDiff diff = looks::diffLooks(document.loadedValues(), asWritten(document.values()));
    QList<ReviewRow> rows;
    for (const looks::ValueDifference& d : diff.differences)
        rows.append({d.name, shown(d.a), shown(d.b), {}});
    for (const auto& [member, edit] : document.unstorableEdits()) {
        const QString name(prx::memberInfo(editor.moduleKind(), member).name);
        const ReviewRow row{name, numberText(document.loadedValues().value(member)), shown(edit.text),
                            text::fullText(edit.reason)};
        const auto same =
            std::find_if(rows.begin(), rows.end(), [&](const ReviewRow& r) { return r.name == name; });
        if (same != rows.end())
            *same = row;
        else
            rows.append(row);
    }
    return rows;
}

// One table row per review row, the columns as wide as their texts.
void fillTable(QTableWidget* table, prx::ModuleKind kind, const QList<ReviewRow>& rows) {
    for (const ReviewRow& r : rows) {
        const int row = table->rowCount();
        table->insertRow(row);
        const QString cells[] = {captionedValueName(kind, r.name), r.inFile, r.inEditor, r.why};
        for (int c = 0; c < table->columnCount(); ++c)
            table->setItem(row, c, new QTableWidgetItem(cells[c]));
    }
    table->resizeColumnsToContents();
    table->setVisible(table->rowCount() > 0);
}

// "2 values differ from paf.prx:".
QString summaryText(qsizetype rows, const QString& file) {
    if (rows == 0)
        return QStringLiteral("No value differs from %1.").arg(file);
    return QStringLiteral("%1 %2 from %3:")
        .arg(rows)
        .arg(rows == 1 ? QStringLiteral("value differs") : QStringLiteral("values differ"), file);
}

// Below the table: how many of its rows a save refuses.
QString unsavedText(qsizetype rows, qsizetype unsaved) {
    if (unsaved == 0)
        return {};
    if (rows == 1)
        return QStringLiteral("It can't be saved as it stands: Save refuses it.");
    return QStringLiteral("%1 of them can't be saved as %2: Save refuses them.")
        .arg(unsaved)
        .arg(unsaved == 1 ? QStringLiteral("it stands") : QStringLiteral("they stand"));
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
    if (caption.isEmpty())
        return name;
    // "Menu Entry 4" and "Item13" count as the windows do; the element of a
    // look or dump name counts from 0, so the line says so where both carry a number.
    const bool numbered =
        end >= 0 && name[end] == u'[' && caption.contains(QRegularExpression(QStringLiteral("\\d")));
    return captionWithMember(caption, numbered ? name + QStringLiteral(", numbered from 0") : name);
}

ReviewDialog::ReviewDialog(const EditorForm& editor, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ReviewDialog"));
    setWindowTitle(QStringLiteral("Review Changes"));
    setModal(true);
    const QString name = QFileInfo(editor.filePath()).fileName();
    const QList<ReviewRow> rows = reviewRows(editor);
    const auto unsaved =
        std::count_if(rows.begin(), rows.end(), [](const ReviewRow& r) { return !r.why.isEmpty(); });

    m_summary = new QLabel(summaryText(rows.size(), name), this);
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setWordWrap(true);
    m_table = new QTableWidget(0, unsaved > 0 ? 4 : 3, this);
    m_table->setObjectName(QStringLiteral("changes"));
    m_table->setAccessibleName(QStringLiteral("Changed values"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Value"), QStringLiteral("In %1").arg(name),
                                        QStringLiteral("In the editor"), QStringLiteral("Can't be saved")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    fillTable(m_table, editor.moduleKind(), rows);
    m_unsaved = new QLabel(unsavedText(rows.size(), unsaved), this);
    m_unsaved->setObjectName(QStringLiteral("unsaved"));
    m_unsaved->setWordWrap(true);
    m_unsaved->setVisible(unsaved > 0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_unsaved);
    layout->addWidget(buttons);
    // Wide enough for every column, up to a width any screen has.
    int columns = 2 * m_table->frameWidth() + 40;
    for (int c = 0; c < m_table->columnCount(); ++c)
        columns += m_table->columnWidth(c);
    resize(std::clamp(columns, 560, 1000), m_table->rowCount() > 0 ? 420 : 120);
}

} // namespace qm::ui
