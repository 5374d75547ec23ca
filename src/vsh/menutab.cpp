#include "menutab.h"

#include "widgets/windowhelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace qm::ui {
namespace {

using prx::MenuFormat;

const QString kFatOn = QStringLiteral("FAT ON");
const QString kFatOff = QStringLiteral("FAT OFF");
const QString kSlimOn = QStringLiteral("SLIM ON");
const QString kSlimOff = QStringLiteral("SLIM OFF");

struct ColumnHeading {
    const char* title;
    int width; // twips
};
constexpr std::array<ColumnHeading, VshMenuTab::ColumnCount> kColumns{{
    {"Order", 500},
    {"Main Menu", 1440},
    {"Icon", 2500},
    {"Region", 700},
    {"Enabled", 940},
}};

QComboBox* makeCombo(const QString& name, const QString& accessible, const QStringList& items,
                     QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setAccessibleName(accessible);
    combo->addItems(items);
    combo->setEditable(false);
    return combo;
}

} // namespace

VshMenuTab::VshMenuTab(bool& ready, QWidget* parent) : QWidget(parent), m_ready(ready) {
    setObjectName(QStringLiteral("menuTab"));
    lstvVSHMenu = new QTableWidget(0, ColumnCount, this);
    lstvVSHMenu->setObjectName(QStringLiteral("lstvVSHMenu"));
    lstvVSHMenu->setAccessibleName(QStringLiteral("Main menu entries"));
    lstvVSHMenu->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstvVSHMenu->setSelectionMode(QAbstractItemView::SingleSelection);
    lstvVSHMenu->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstvVSHMenu->setShowGrid(false);
    lstvVSHMenu->setWordWrap(false);
    lstvVSHMenu->setTabKeyNavigation(false);
    lstvVSHMenu->verticalHeader()->hide();
    lstvVSHMenu->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 3);
    lstvVSHMenu->horizontalHeader()->setHighlightSections(false);
    lstvVSHMenu->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lstvVSHMenu->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const QFontMetrics metrics = lstvVSHMenu->fontMetrics();
    for (int c = 0; c < ColumnCount; ++c) {
        const ColumnHeading& heading = kColumns[static_cast<std::size_t>(c)];
        const QString title = QString::fromLatin1(heading.title);
        lstvVSHMenu->setHorizontalHeaderItem(c, new QTableWidgetItem(title));
        // At least as wide as the heading and, for "Enabled", its longest text.
        int width = std::max(twips(heading.width), metrics.horizontalAdvance(title) + 12);
        if (c == ColEnabled)
            width = std::max(width, metrics.horizontalAdvance(kSlimOff) + 12);
        lstvVSHMenu->setColumnWidth(c, width);
    }
    // The icon names take what room is left beside the vertical scroll bar.
    lstvVSHMenu->horizontalHeader()->setSectionResizeMode(ColIcon, QHeaderView::Stretch);
    lstvVSHMenu->installEventFilter(this);
    connect(lstvVSHMenu, &QTableWidget::currentCellChanged, this, [this] { ShowSelectedMenuItem(); });
    connect(lstvVSHMenu, &QTableWidget::cellClicked, this, [this] { ShowSelectedMenuItem(); });

    const QString mainMenu = QStringLiteral("Main Menu");
    const QString icon = QStringLiteral("Icon");
    cboVSHMenu130x =
        makeCombo(QStringLiteral("cboVSHMenu130x"), mainMenu, prx::menuCategories(MenuFormat::Classic), this);
    cboVSHMenu137x =
        makeCombo(QStringLiteral("cboVSHMenu137x"), mainMenu, prx::menuCategories(MenuFormat::Slim), this);
    cboVSHMenu230x =
        makeCombo(QStringLiteral("cboVSHMenu230x"), icon, prx::menuIcons(MenuFormat::Classic), this);
    cboVSHMenu237x =
        makeCombo(QStringLiteral("cboVSHMenu237x"), icon, prx::menuIcons(MenuFormat::Slim), this);
    cboVSHMenu3 =
        makeCombo(QStringLiteral("cboVSHMenu3"), QStringLiteral("Region"), prx::menuRegions(), this);
    for (QComboBox* combo : {cboVSHMenu130x, cboVSHMenu137x})
        connect(combo, &QComboBox::activated, this, [this, combo] { categoryPicked(combo); });
    for (QComboBox* combo : {cboVSHMenu230x, cboVSHMenu237x}) {
        combo->setMaxVisibleItems(16);
        connect(combo, &QComboBox::activated, this, [this, combo] { iconPicked(combo); });
    }
    connect(cboVSHMenu3, &QComboBox::activated, this, &VshMenuTab::regionPicked);

    const QString checkCaptions[] = {QStringLiteral("Activate"), QStringLiteral("Slim")};
    for (int i = 0; i < 2; ++i) {
        auto* check = new QCheckBox(checkCaptions[i], this);
        check->setObjectName(indexedName(QStringLiteral("chkVSHMenu"), i));
        connect(check, &QCheckBox::clicked, this, &VshMenuTab::checkClicked);
        chkVSHMenu[static_cast<std::size_t>(i)] = check;
    }

    // Each variant's combo takes the same place as the other variant's.
    auto* controls = new QGridLayout;
    controls->setHorizontalSpacing(6);
    controls->setVerticalSpacing(2);
    controls->addWidget(cboVSHMenu130x, 0, 0, 2, 1, Qt::AlignVCenter);
    controls->addWidget(cboVSHMenu137x, 0, 0, 2, 1, Qt::AlignVCenter);
    controls->addWidget(cboVSHMenu230x, 0, 1, 2, 1, Qt::AlignVCenter);
    controls->addWidget(cboVSHMenu237x, 0, 1, 2, 1, Qt::AlignVCenter);
    controls->addWidget(cboVSHMenu3, 0, 2, 2, 1, Qt::AlignVCenter);
    controls->addWidget(chkVSHMenu[0], 0, 3);
    controls->addWidget(chkVSHMenu[1], 1, 3);
    controls->setColumnStretch(0, 3);
    controls->setColumnStretch(1, 5);
    controls->setColumnStretch(2, 2);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 8, 8, 8);
    outer->addWidget(lstvVSHMenu, 1);
    outer->addLayout(controls);

    setTabOrder(lstvVSHMenu, cboVSHMenu130x);
    setTabOrder(cboVSHMenu130x, cboVSHMenu137x);
    setTabOrder(cboVSHMenu137x, cboVSHMenu230x);
    setTabOrder(cboVSHMenu230x, cboVSHMenu237x);
    setTabOrder(cboVSHMenu237x, cboVSHMenu3);
    setTabOrder(cboVSHMenu3, chkVSHMenu[0]);
    setTabOrder(chkVSHMenu[0], chkVSHMenu[1]);
}

void VshMenuTab::setVersion(int version) {
    m_version = version;
    // The classic variant has no "Slim": a box left checked by an earlier
    // module would turn every clicked row into a state the release can't hold.
    if (!slim())
        chkVSHMenu[1]->setChecked(false);
}

void VshMenuTab::setRows(const QList<prx::MenuRow>& rows) {
    const int keep = selectedRow();
    const bool wasReady = m_ready;
    m_ready = false;
    const QSignalBlocker quiet(lstvVSHMenu);
    lstvVSHMenu->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const prx::MenuRow& row = rows.at(r);
        const QString texts[] = {row.order, row.category, row.icon, row.region, row.enabled};
        for (int c = 0; c < ColumnCount; ++c)
            setCell(r, static_cast<Column>(c), texts[c]);
    }
    m_ready = wasReady;
    if (!rows.isEmpty())
        lstvVSHMenu->setCurrentCell(keep >= 0 && keep < rows.size() ? keep : 0, 0);
    ShowSelectedMenuItem();
}

QList<prx::MenuRow> VshMenuTab::rows() const {
    QList<prx::MenuRow> out;
    for (int r = 0; r < lstvVSHMenu->rowCount(); ++r)
        out.append({cell(r, ColOrder), cell(r, ColMainMenu), cell(r, ColIcon), cell(r, ColRegion),
                    cell(r, ColEnabled)});
    return out;
}

void VshMenuTab::clearRows() {
    lstvVSHMenu->setRowCount(0);
}

int VshMenuTab::selectedRow() const {
    const int row = lstvVSHMenu->currentRow();
    if (row < 0 || row >= lstvVSHMenu->rowCount() || !lstvVSHMenu->selectionModel()->isRowSelected(row, {}))
        return -1;
    return row;
}

QString VshMenuTab::cell(int row, Column column) const {
    const QTableWidgetItem* item = lstvVSHMenu->item(row, column);
    return item ? item->text() : QString();
}

void VshMenuTab::setCell(int row, Column column, const QString& text) {
    if (QTableWidgetItem* item = lstvVSHMenu->item(row, column))
        item->setText(text);
    else
        lstvVSHMenu->setItem(row, column, new QTableWidgetItem(text));
}

void VshMenuTab::ShowSelectedMenuItem() {
    const int row = selectedRow();
    if (row < 0)
        return;
    const bool wasReady = m_ready;
    m_ready = false;
    const QString enabled = cell(row, ColEnabled);
    QCheckBox* activate = chkVSHMenu[0];
    QCheckBox* slimBox = chkVSHMenu[1];
    if (enabled == kFatOn) {
        activate->setChecked(true);
        if (slim())
            slimBox->setChecked(false);
    } else if (enabled == kFatOff) {
        activate->setChecked(false);
        if (slim())
            slimBox->setChecked(false);
    } else if (slim() && enabled == kSlimOn) {
        activate->setChecked(true);
        slimBox->setChecked(true);
    } else if (slim() && enabled == kSlimOff) {
        activate->setChecked(false);
        slimBox->setChecked(true);
    }

    if (const int region = prx::menuRegions().indexOf(cell(row, ColRegion)); region >= 0)
        cboVSHMenu3->setCurrentIndex(region);
    if (const int category = categoryCombo()->findText(cell(row, ColMainMenu), Qt::MatchExactly);
        category >= 0)
        categoryCombo()->setCurrentIndex(category);

    // The order text is the icon's index: "0" to "31" (classic) or "32" (slim).
    const QString order = cell(row, ColOrder);
    bool number = false;
    const int icon = order.toInt(&number);
    if (number && order == QString::number(icon) && icon >= 0 && icon < iconCombo()->count())
        iconCombo()->setCurrentIndex(icon);
    m_ready = wasReady;
}

bool VshMenuTab::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstvVSHMenu && event->type() == QEvent::KeyRelease)
        ShowSelectedMenuItem();
    return QWidget::eventFilter(watched, event);
}

void VshMenuTab::categoryPicked(QComboBox* combo) {
    const int row = selectedRow();
    if (m_ready && row >= 0)
        setCell(row, ColMainMenu, combo->currentText());
}

void VshMenuTab::iconPicked(QComboBox* combo) {
    const int row = selectedRow();
    if (!m_ready || row < 0)
        return;
    setCell(row, ColOrder, QString::number(combo->currentIndex()));
    setCell(row, ColIcon, combo->currentText());
}

void VshMenuTab::regionPicked() {
    const int row = selectedRow();
    if (m_ready && row >= 0)
        setCell(row, ColRegion, cboVSHMenu3->currentText());
}

void VshMenuTab::checkClicked() {
    const int row = selectedRow();
    if (!m_ready || row < 0)
        return;
    const bool activate = chkVSHMenu[0]->isChecked();
    const bool slimOn = chkVSHMenu[1]->isChecked();
    setCell(row, ColEnabled, activate ? (slimOn ? kSlimOn : kFatOn) : (slimOn ? kSlimOff : kFatOff));
}

} // namespace qm::ui
