#include "menutab.h"

#include "looks/menunames.h"
#include "prx/menu.h"
#include "widgets/editorform.h"
#include "widgets/windowhelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace qm::ui {
namespace {

using prx::MenuFormat;
using prx::MenuState;

constexpr std::array<int, VshMenuModel::ColumnCount> kColumnWidths{33, 96, 166, 46, 62}; // pixels

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

VshMenuTab::VshMenuTab(EditorForm* form, QWidget* parent)
    : QWidget(parent), m_form(form), m_model(new VshMenuModel(form, this)) {
    setObjectName(QStringLiteral("menuTab"));
    lstvVSHMenu = new QTableView(this);
    lstvVSHMenu->setObjectName(QStringLiteral("lstvVSHMenu"));
    lstvVSHMenu->setAccessibleName(QStringLiteral("Main menu entries"));
    lstvVSHMenu->setModel(m_model);
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
    for (int c = 0; c < VshMenuModel::ColumnCount; ++c) {
        const QString title = VshMenuModel::heading(static_cast<Column>(c));
        // At least as wide as the heading and, for "Enabled", its longest text.
        int width =
            std::max((kColumnWidths[static_cast<std::size_t>(c)]), metrics.horizontalAdvance(title) + 12);
        if (c == VshMenuModel::ColEnabled)
            width = std::max(width, metrics.horizontalAdvance(looks::stateName(MenuState::SlimOff)) + 12);
        lstvVSHMenu->setColumnWidth(c, width);
    }
    // The icon names take what room is left beside the vertical scroll bar.
    lstvVSHMenu->horizontalHeader()->setSectionResizeMode(VshMenuModel::ColIcon, QHeaderView::Stretch);
    lstvVSHMenu->installEventFilter(this);
    connect(lstvVSHMenu->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { ShowSelectedMenuItem(); });
    connect(lstvVSHMenu, &QTableView::clicked, this, [this] { ShowSelectedMenuItem(); });

    const QString mainMenu = QStringLiteral("Main Menu");
    const QString icon = QStringLiteral("Icon");
    cboVSHMenu130x = makeCombo(QStringLiteral("cboVSHMenu130x"), mainMenu,
                               looks::categoryNames(MenuFormat::Classic), this);
    cboVSHMenu137x =
        makeCombo(QStringLiteral("cboVSHMenu137x"), mainMenu, looks::categoryNames(MenuFormat::Slim), this);
    cboVSHMenu230x =
        makeCombo(QStringLiteral("cboVSHMenu230x"), icon, looks::iconNames(MenuFormat::Classic), this);
    cboVSHMenu237x =
        makeCombo(QStringLiteral("cboVSHMenu237x"), icon, looks::iconNames(MenuFormat::Slim), this);
    cboVSHMenu3 =
        makeCombo(QStringLiteral("cboVSHMenu3"), QStringLiteral("Region"), looks::regionNames(), this);
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

int VshMenuTab::version() const {
    return m_form->versionIndex();
}

bool VshMenuTab::slim() const {
    return prx::menuFormat(version()) == MenuFormat::Slim;
}

void VshMenuTab::showEntries() {
    const int keep = selectedRow();
    {
        const QSignalBlocker quiet(lstvVSHMenu->selectionModel());
        m_model->reset();
    }
    // The classic variant has no "Slim": a box left checked by an earlier
    // module would turn every clicked row into a state the release can't hold.
    if (!slim())
        chkVSHMenu[1]->setChecked(false);
    const int rows = rowCount();
    if (rows > 0)
        selectRow(keep >= 0 && keep < rows ? keep : 0);
    ShowSelectedMenuItem();
}

int VshMenuTab::rowCount() const {
    return m_model->rowCount();
}

QString VshMenuTab::cell(int row, Column column) const {
    return m_model->text(row, column);
}

int VshMenuTab::selectedRow() const {
    const QModelIndex current = lstvVSHMenu->currentIndex();
    if (!current.isValid() || !lstvVSHMenu->selectionModel()->isRowSelected(current.row(), {}))
        return -1;
    return current.row();
}

void VshMenuTab::selectRow(int row) {
    lstvVSHMenu->selectionModel()->setCurrentIndex(
        m_model->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void VshMenuTab::ShowSelectedMenuItem() {
    const int row = selectedRow();
    if (row < 0)
        return;
    // Programmatic changes raise neither `activated` nor `clicked`: showing a
    // row never changes one.
    const prx::MenuEntry& entry = m_form->values().menu().at(row);
    const int v = version();
    if (const auto state = prx::stateOf(entry.state, v)) {
        const bool on = *state == MenuState::FatOn || *state == MenuState::SlimOn;
        const bool slimState = *state == MenuState::SlimOn || *state == MenuState::SlimOff;
        if (slim() || !slimState) {
            chkVSHMenu[0]->setChecked(on);
            if (slim())
                chkVSHMenu[1]->setChecked(slimState);
        }
    }
    if (const auto region = prx::regionOf(entry.region))
        cboVSHMenu3->setCurrentIndex(*region == prx::MenuRegion::All ? 0 : 1);
    if (const int category =
            categoryCombo()->findText(cell(row, VshMenuModel::ColMainMenu), Qt::MatchExactly);
        category >= 0)
        categoryCombo()->setCurrentIndex(category);
    // The order is the icon's index: 0 to 31 (classic) or 32 (slim); a code
    // that can't be read shows 0.
    const int icon = prx::iconOf(entry.icon).value_or(0);
    if (icon < iconCombo()->count())
        iconCombo()->setCurrentIndex(icon);
}

bool VshMenuTab::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstvVSHMenu && event->type() == QEvent::KeyRelease)
        ShowSelectedMenuItem();
    return QWidget::eventFilter(watched, event);
}

template <typename Change> void VshMenuTab::changeSelected(Change&& change) {
    const int row = selectedRow();
    if (row < 0 || !m_form->values().has(prx::VshMember::MenuEntries))
        return;
    prx::MenuEntries entries = m_form->values().menu();
    change(entries[row]);
    m_form->edit(prx::VshMember::MenuEntries, entries, QStringLiteral("Menu Entry %1").arg(row));
}

void VshMenuTab::categoryPicked(QComboBox* combo) {
    const auto& categories = prx::menuCategories(slim() ? MenuFormat::Slim : MenuFormat::Classic);
    const int index = combo->currentIndex();
    if (index < 0 || index >= static_cast<int>(categories.size()))
        return;
    changeSelected([&](prx::MenuEntry& e) {
        prx::setCategory(e, categories[static_cast<std::size_t>(index)], version());
    });
}

void VshMenuTab::iconPicked(QComboBox* combo) {
    const int index = combo->currentIndex();
    if (index >= 0)
        changeSelected([&](prx::MenuEntry& e) { prx::setIcon(e, index); });
}

void VshMenuTab::regionPicked() {
    const int index = cboVSHMenu3->currentIndex();
    if (index >= 0)
        changeSelected([&](prx::MenuEntry& e) {
            prx::setRegion(e, prx::kMenuRegions[static_cast<std::size_t>(index)]);
        });
}

void VshMenuTab::checkClicked() {
    const bool activate = chkVSHMenu[0]->isChecked();
    const bool slimOn = chkVSHMenu[1]->isChecked();
    const MenuState state = activate ? (slimOn ? MenuState::SlimOn : MenuState::FatOn)
                                     : (slimOn ? MenuState::SlimOff : MenuState::FatOff);
    changeSelected([&](prx::MenuEntry& e) { prx::setState(e, state, version()); });
}

} // namespace qm::ui
