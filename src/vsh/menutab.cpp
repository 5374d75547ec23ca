#include "menutab.h"

#include "document/editingdocument.h"
#include "looks/menunames.h"
#include "vshlayout.h"

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
    // On Linux Qt gives a combo box's current item as its accessible name and
    // the combos have no label beside them, so the caption goes in the
    // description too, for screen readers to tell them apart.
    combo->setAccessibleDescription(accessible);
    combo->addItems(items);
    combo->setEditable(false);
    return combo;
}

} // namespace

VshMenuTab::VshMenuTab(doc::EditingDocument& document, QWidget* parent)
    : QWidget(parent), m_document(document), m_model(new VshMenuModel(document, this)) {
    setObjectName(QStringLiteral("menuTab"));
    m_list = new QTableView(this);
    m_list->setObjectName(QStringLiteral("menuList"));
    m_list->setAccessibleName(QStringLiteral("Main menu entries"));
    m_list->setModel(m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setShowGrid(false);
    m_list->setWordWrap(false);
    m_list->setTabKeyNavigation(false);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 3);
    m_list->horizontalHeader()->setHighlightSections(false);
    m_list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const QFontMetrics metrics = m_list->fontMetrics();
    for (int c = 0; c < VshMenuModel::ColumnCount; ++c) {
        const QString title = VshMenuModel::heading(static_cast<Column>(c));
        // At least as wide as the heading and, for "Enabled", its longest text.
        int width =
            std::max((kColumnWidths[static_cast<std::size_t>(c)]), metrics.horizontalAdvance(title) + 12);
        if (c == VshMenuModel::ColEnabled)
            width = std::max(width, metrics.horizontalAdvance(looks::stateName(MenuState::SlimOff)) + 12);
        m_list->setColumnWidth(c, width);
    }
    // The icon names take what room is left beside the vertical scroll bar.
    m_list->horizontalHeader()->setSectionResizeMode(VshMenuModel::ColIcon, QHeaderView::Stretch);
    m_list->installEventFilter(this);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { showSelected(); });
    connect(m_list, &QTableView::clicked, this, [this] { showSelected(); });
    // An edit, an undo or a redo of the entries: the controls show the row as it is now.
    connect(&document, &doc::ModuleDocument::valueChanged, this, [this](int member) {
        if (member == static_cast<int>(prx::VshMember::MenuEntries))
            showSelected();
    });

    const QString mainMenu = QStringLiteral("Main Menu");
    const QString icon = QStringLiteral("Icon");
    for (MenuFormat f : {MenuFormat::Classic, MenuFormat::Slim}) {
        const QString variant = f == MenuFormat::Slim ? QStringLiteral("Slim") : QStringLiteral("Classic");
        m_categories[index(f)] =
            makeCombo(QStringLiteral("mainMenu") + variant, mainMenu, looks::categoryNames(f), this);
        m_icons[index(f)] = makeCombo(QStringLiteral("icon") + variant, icon, looks::iconNames(f), this);
    }
    m_region = makeCombo(QStringLiteral("region"), QStringLiteral("Region"), looks::regionNames(), this);
    for (QComboBox* combo : m_categories)
        connect(combo, &QComboBox::activated, this, [this, combo] { categoryPicked(combo); });
    for (QComboBox* combo : m_icons) {
        combo->setMaxVisibleItems(16);
        connect(combo, &QComboBox::activated, this, [this, combo] { iconPicked(combo); });
    }
    connect(m_region, &QComboBox::activated, this, &VshMenuTab::regionPicked);

    m_activate = new QCheckBox(QStringLiteral("Activate"), this);
    m_activate->setObjectName(QStringLiteral("activate"));
    m_slim = new QCheckBox(QStringLiteral("Slim"), this);
    m_slim->setObjectName(QStringLiteral("slim"));
    for (QCheckBox* check : {m_activate, m_slim})
        connect(check, &QCheckBox::clicked, this, [this, check] { stateClicked(check); });

    // Each variant's combo takes the same place as the other variant's.
    auto* controls = new QGridLayout;
    controls->setHorizontalSpacing(6);
    controls->setVerticalSpacing(2);
    for (QComboBox* combo : m_categories)
        controls->addWidget(combo, 0, 0, 2, 1, Qt::AlignVCenter);
    for (QComboBox* combo : m_icons)
        controls->addWidget(combo, 0, 1, 2, 1, Qt::AlignVCenter);
    controls->addWidget(m_region, 0, 2, 2, 1, Qt::AlignVCenter);
    controls->addWidget(m_activate, 0, 3);
    controls->addWidget(m_slim, 1, 3);
    controls->setColumnStretch(0, 3);
    controls->setColumnStretch(1, 5);
    controls->setColumnStretch(2, 2);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 8, 8, 8);
    outer->addWidget(m_list, 1);
    outer->addLayout(controls);

    QWidget* const order[] = {m_list,     m_categories[0], m_categories[1], m_icons[0],
                              m_icons[1], m_region,        m_activate,      m_slim};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

prx::ReleaseId VshMenuTab::release() const {
    return m_document.release();
}

bool VshMenuTab::slim() const {
    return prx::menuFormat(release()) == MenuFormat::Slim;
}

void VshMenuTab::showEntries() {
    const int keep = selectedRow();
    {
        const QSignalBlocker quiet(m_list->selectionModel());
        m_model->reset();
    }
    // The classic variant has no "Slim": a box left checked by an earlier
    // module would turn every clicked row into a state the release can't hold.
    if (!slim())
        m_slim->setChecked(false);
    const int rows = rowCount();
    if (rows > 0)
        selectRow(keep >= 0 && keep < rows ? keep : 0);
    showSelected();
}

int VshMenuTab::rowCount() const {
    return m_model->rowCount();
}

QString VshMenuTab::cell(int row, Column column) const {
    return m_model->text(row, column);
}

int VshMenuTab::selectedRow() const {
    const QModelIndex current = m_list->currentIndex();
    if (!current.isValid() || !m_list->selectionModel()->isRowSelected(current.row(), {}))
        return -1;
    return current.row();
}

void VshMenuTab::selectRow(int row) {
    m_list->selectionModel()->setCurrentIndex(m_model->index(row, 0), QItemSelectionModel::ClearAndSelect |
                                                                          QItemSelectionModel::Rows);
}

void VshMenuTab::setControlsEnabled(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{m_list, m_region, m_activate, m_slim})
        w->setEnabled(enabled);
    for (QComboBox* combo : {m_categories[0], m_categories[1], m_icons[0], m_icons[1]}) {
        combo->setEnabled(enabled);
        combo->setVisible(enabled);
    }
}

void VshMenuTab::applyRelease() {
    const auto menu = prx::menuFormat(release());
    if (!menu) {
        // No menu: everything off (the list is empty), both variants' combos left in their place.
        for (QWidget* w :
             std::initializer_list<QWidget*>{m_list, m_categories[0], m_categories[1], m_icons[0], m_icons[1],
                                             m_region, m_activate, m_slim})
            w->setEnabled(false);
        return;
    }
    const MenuFormat other = *menu == MenuFormat::Slim ? MenuFormat::Classic : MenuFormat::Slim;
    for (QComboBox* combo : {categoryBox(other), iconBox(other)}) {
        combo->setEnabled(false);
        combo->setVisible(false);
    }
    if (*menu != MenuFormat::Slim)
        m_slim->setEnabled(false);
}

void VshMenuTab::showSelected() {
    const int row = selectedRow();
    if (row < 0 || !m_document.values().has(prx::VshMember::MenuEntries) ||
        row >= static_cast<int>(m_document.values().menu().size()))
        return;
    // Programmatic changes raise neither `activated` nor `clicked`: showing a
    // row never changes one.
    const prx::MenuEntry& entry = m_document.values().menu().at(row);
    const prx::ReleaseId v = release();
    // A state the list shows as "ERROR" shows the boxes half checked (the
    // classic "Slim" stays as it is); a click checks the box clicked.
    const auto state = prx::stateOf(entry.state, v);
    const auto show = [&](QCheckBox* box, bool on) {
        box->setTristate(!state);
        box->setCheckState(!state ? Qt::PartiallyChecked : on ? Qt::Checked : Qt::Unchecked);
    };
    show(m_activate, state && (*state == MenuState::FatOn || *state == MenuState::SlimOn));
    if (slim())
        show(m_slim, state && (*state == MenuState::SlimOn || *state == MenuState::SlimOff));
    // A code the combo can't name shows as the list shows it ("ERROR", or
    // empty), never as the previous row's choice.
    const auto showIn = [this, row](QComboBox* combo, int index, Column column) {
        if (index < 0 || index >= combo->count())
            combo->setPlaceholderText(cell(row, column));
        combo->setCurrentIndex(index < combo->count() ? index : -1);
    };
    const auto region = prx::regionOf(entry.region);
    showIn(m_region, region ? (*region == prx::MenuRegion::All ? 0 : 1) : -1, VshMenuModel::ColRegion);
    const auto& categories = prx::menuCategories(format());
    const auto category = prx::categoryOf(entry.category, v);
    const auto it = category ? std::find(categories.begin(), categories.end(), *category) : categories.end();
    showIn(categoryBox(format()), it != categories.end() ? static_cast<int>(it - categories.begin()) : -1,
           VshMenuModel::ColMainMenu);
    showIn(iconBox(format()), prx::iconOf(entry.icon).value_or(-1), VshMenuModel::ColIcon);
}

bool VshMenuTab::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list && event->type() == QEvent::KeyRelease)
        showSelected();
    return QWidget::eventFilter(watched, event);
}

template <typename Change> void VshMenuTab::changeSelected(Change&& change) {
    const int row = selectedRow();
    if (row < 0 || !m_document.values().has(prx::VshMember::MenuEntries))
        return;
    prx::MenuEntries entries = m_document.values().menu();
    change(entries[row]);
    m_document.edit(static_cast<int>(prx::VshMember::MenuEntries), entries, vsh::menuStepName(row));
}

void VshMenuTab::categoryPicked(QComboBox* combo) {
    const auto& categories = prx::menuCategories(format());
    const int index = combo->currentIndex();
    if (index < 0 || index >= static_cast<int>(categories.size()))
        return;
    changeSelected([&](prx::MenuEntry& e) {
        prx::setCategory(e, categories[static_cast<std::size_t>(index)], release());
    });
}

void VshMenuTab::iconPicked(QComboBox* combo) {
    const int index = combo->currentIndex();
    if (index >= 0)
        changeSelected([&](prx::MenuEntry& e) { prx::setIcon(e, index); });
}

void VshMenuTab::regionPicked() {
    const int index = m_region->currentIndex();
    if (index >= 0)
        changeSelected([&](prx::MenuEntry& e) {
            prx::setRegion(e, prx::kMenuRegions[static_cast<std::size_t>(index)]);
        });
}

void VshMenuTab::stateClicked(QCheckBox* box) {
    // The box clicked changes its half of the state; the other half is the
    // row's own, whatever the other box shows.
    changeSelected([&](prx::MenuEntry& e) {
        const auto current = prx::stateOf(e.state, release());
        bool on = m_activate->checkState() == Qt::Checked;
        bool slimOn = m_slim->checkState() == Qt::Checked;
        if (current && box == m_activate)
            slimOn = *current == MenuState::SlimOn || *current == MenuState::SlimOff;
        if (current && box == m_slim)
            on = *current == MenuState::FatOn || *current == MenuState::SlimOn;
        const MenuState state = on ? (slimOn ? MenuState::SlimOn : MenuState::FatOn)
                                   : (slimOn ? MenuState::SlimOff : MenuState::FatOff);
        prx::setState(e, state, release());
    });
}

} // namespace qm::ui
