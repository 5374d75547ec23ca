#include "frmvshmain.h"

#include "colorgrid.h"
#include "looks/locale.h"
#include "menutab.h"
#include "prx/catalogue.h"
#include "widgets/captionlabel.h"
#include "widgets/colorbox.h"
#include "widgets/dialogs.h"
#include "widgets/numberkeyfilter.h"
#include "widgets/typinglimit.h"
#include "widgets/valueframe.h"
#include "widgets/windowhelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace qm::ui {
namespace {

using namespace vsh;

QLineEdit* makeTextBox(int index, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(indexedName(QStringLiteral("txtPRXValue2"), index));
    return box;
}

QLabel* makeCaption(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// Seven tabs share one row of a narrow window: the tabs' padding shrinks
// until every caption fits.
class CompactTabStyle final : public QProxyStyle {
public:
    explicit CompactTabStyle(int space) : m_space(space) {}

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        if (metric == PM_TabBarTabHSpace)
            return m_space;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

private:
    int m_space;
};

void fitTabsInOneRow(QTabWidget* tabs, int room) {
    QTabBar* bar = tabs->tabBar();
    const QFontMetrics metrics(bar->font());
    int text = 0;
    for (int i = 0; i < bar->count(); ++i)
        text += metrics.horizontalAdvance(bar->tabText(i));
    const int usual = bar->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
    const int space = std::clamp((room - text) / std::max(1, bar->count()), 4, std::max(4, usual));
    if (space >= usual)
        return;
    auto* style = new CompactTabStyle(space);
    style->setParent(bar);
    bar->setStyle(style);
}

} // namespace

frmVSHMain::frmVSHMain(QWidget* parent)
    : EditorForm(QStringLiteral("frmVSHMain"), kCaption, QSize(twips(6930), twips(6855)), parent) {
    m_keyFilter = new NumberKeyFilter(this);
    m_keyFilter->setLocale(m_locale);

    m_tabs = addTabs(QStringLiteral("VSHTabs"), twips(120));
    m_tabs->setUsesScrollButtons(false);
    m_tabs->tabBar()->setElideMode(Qt::ElideNone);

    m_grid = new VshColorGrid;
    m_grid->setAccessibleName(kTabTitles[TabColors]);
    connect(m_grid, &VshColorGrid::colorClicked, this, &frmVSHMain::pickColor);

    // Made tab by tab, so the Tab key walks the boxes in order.
    m_tabs->addTab(m_grid, kTabTitles[TabColors]);
    m_tabs->addTab(makeColumnsPage(kTabTitles[TabAlpha], makeNumberFrames(TabAlpha)), kTabTitles[TabAlpha]);
    m_tabs->addTab(makeIconsPage(), kTabTitles[TabIcons]);
    m_tabs->addTab(makeColumnsPage(kTabTitles[TabPosition], makeNumberFrames(TabPosition)),
                   kTabTitles[TabPosition]);
    std::vector<std::vector<QWidget*>> other = makeNumberFrames(TabOther);
    other.front().push_back(makeFormatFrame());
    m_tabs->addTab(makeColumnsPage(kTabTitles[TabOther], other), kTabTitles[TabOther]);
    m_tabs->addTab(makePathPage(), kTabTitles[TabPath]);
    m_menu = new VshMenuTab(blnReady);
    m_menu->setAccessibleName(kTabTitles[TabMenu]);
    m_tabs->addTab(m_menu, kTabTitles[TabMenu]);

    fitTabsInOneRow(m_tabs, width() - 2 * twips(120) - 6);

    // The network icon of releases 12 to 14 follows the main icon as it is typed.
    connect(m_numbers[prx::kVshBoxMainIconUnfocused], &QLineEdit::textChanged, this,
            &frmVSHMain::followNetworkIcon);

    // A window without a module: nothing to edit, but every tab can be looked at.
    SetControlsEnabled(false);
    m_grid->lblMonthDes->setEnabled(true);
    m_grid->lblSlimExtra->setEnabled(true);
    for (QLabel* label : m_grid->lblSlimItem)
        label->setEnabled(true);
    setLocale(m_locale);
}

std::vector<std::vector<QWidget*>> frmVSHMain::makeNumberFrames(Tab tab) {
    std::vector<std::vector<QWidget*>> columns;
    for (const Frame& f : kNumberFrames) {
        if (f.tab != tab)
            continue;
        QGroupBox* frame = makeValueFrame(f.name, f.title, this);
        for (int box : f.boxes) {
            const NumberBox& caption = kNumberBoxes[static_cast<std::size_t>(box)];
            m_captions[static_cast<std::size_t>(caption.label)] =
                addValueRow(frame, indexedName(QStringLiteral("lblPRXValue"), caption.label), caption.caption,
                            makeNumberBox(box));
        }
        columns.resize(std::max<std::size_t>(columns.size(), static_cast<std::size_t>(f.column) + 1));
        columns[static_cast<std::size_t>(f.column)].push_back(frame);
    }
    return columns;
}

QLineEdit* frmVSHMain::makeNumberBox(int box) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(indexedName(QStringLiteral("txtPRXValue"), box));
    edit->setFixedWidth(numberBoxWidth(QFontMetrics(font())));
    edit->setAccessibleName(kNumberBoxes[static_cast<std::size_t>(box)].caption.simplified());
    m_keyFilter->attach(edit);
    m_numbers[static_cast<std::size_t>(box)] = edit;
    return edit;
}

QLabel* frmVSHMain::textLabel(int i) const {
    return i >= 0 && i < 8 ? m_iconLabels[static_cast<std::size_t>(i)] : nullptr;
}

QWidget* frmVSHMain::makeIconsPage() {
    const int width =
        QFontMetrics(font()).horizontalAdvance(QString(kIconNameTypingLimit, QLatin1Char('x'))) + 8;
    std::vector<std::vector<QWidget*>> columns(1);
    for (const IconFrame& f : kIconFrames) {
        QGroupBox* frame = makeValueFrame(f.name, f.title, this);
        for (int i = 0; i < 4; ++i) {
            const int index = f.firstBox + i;
            QLineEdit* box = makeTextBox(index, frame);
            box->setFixedWidth(width);
            box->setAccessibleName(f.captions[static_cast<std::size_t>(i)]);
            setTypingLimit(box, kIconNameTypingLimit);
            m_texts[static_cast<std::size_t>(index)] = box;
            m_iconLabels[static_cast<std::size_t>(index)] =
                addValueRow(frame, indexedName(f.labelName, i), f.captions[static_cast<std::size_t>(i)], box);
        }
        columns[0].push_back(frame);
    }
    return makeColumnsPage(kTabTitles[TabIcons], columns);
}

QGroupBox* frmVSHMain::makeFormatFrame() {
    QGroupBox* frame =
        makeValueFrame(QStringLiteral("frameFormat"), QStringLiteral("Hours / Date Format"), this);
    auto* grid = static_cast<QGridLayout*>(frame->layout());
    grid->setHorizontalSpacing(kFrameSpacing);
    grid->setVerticalSpacing(kFrameSpacing - 2);
    const int width = QFontMetrics(font()).horizontalAdvance(QStringLiteral("%d/%m/%")) + 8;
    for (int c = 0; c < 2; ++c) {
        const int label = kFormatColumnLabel + c;
        m_captions[static_cast<std::size_t>(label)] =
            makeCaption(indexedName(QStringLiteral("lblPRXValue"), label),
                        kFormatColumns[static_cast<std::size_t>(c)], frame);
        grid->addWidget(m_captions[static_cast<std::size_t>(label)], 0, c + 1);
    }
    for (int r = 0; r < 5; ++r) {
        const int label = kFormatRowLabel + r;
        const QString& row = kFormatRows[static_cast<std::size_t>(r)];
        auto* caption = new CaptionLabel(row, frame);
        caption->setObjectName(indexedName(QStringLiteral("lblPRXValue"), label));
        m_captions[static_cast<std::size_t>(label)] = caption;
        grid->addWidget(caption, r + 1, 0);
        for (int c = 0; c < 2; ++c) {
            const int index = (c == 0 ? prx::kVshFormatFirstEurope : prx::kVshFormatFirstUSJapan) + r;
            QLineEdit* box = makeTextBox(index, frame);
            box->setFixedWidth(width);
            box->setAccessibleName(row.simplified() + QLatin1Char(' ') +
                                   kFormatColumns[static_cast<std::size_t>(c)].chopped(2));
            setTypingLimit(box, kFormatTypingLimits[static_cast<std::size_t>(r)]);
            m_texts[static_cast<std::size_t>(index)] = box;
            grid->addWidget(box, r + 1, c + 1);
        }
        caption->setBuddy(m_texts[static_cast<std::size_t>(prx::kVshFormatFirstEurope + r)]);
    }
    auto* legend = new QGridLayout;
    legend->setHorizontalSpacing(kFrameSpacing * 2);
    legend->setVerticalSpacing(0);
    for (int i = 0; i < 6; ++i) {
        const int label = kFormatLegendLabel + i;
        m_captions[static_cast<std::size_t>(label)] =
            makeCaption(indexedName(QStringLiteral("lblPRXValue"), label),
                        kFormatLegend[static_cast<std::size_t>(i)], frame);
        legend->addWidget(m_captions[static_cast<std::size_t>(label)], i / 3, i % 3);
    }
    grid->addLayout(legend, 6, 0, 1, 3);
    m_notWritten = makeCaption(QStringLiteral("Label1"), kFormatNotWritten, frame);
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(font().pointSizeF());
    m_notWritten->setFont(arial);
    QPalette red = m_notWritten->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        red.setColor(group, QPalette::WindowText, Qt::red);
    m_notWritten->setPalette(red);
    grid->addWidget(m_notWritten, 7, 0, 1, 3);
    // The formats are shown, never written.
    frame->setEnabled(false);
    m_frameFormat = frame;
    return frame;
}

QWidget* frmVSHMain::makePathPage() {
    auto* page = new QWidget;
    page->setAccessibleName(kTabTitles[TabPath]);
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(8, 8, 8, 8);
    outer->setSpacing(4);
    for (std::size_t g = 0; g < kPathGroups.size(); ++g) {
        const PathGroup& group = kPathGroups[g];
        QLabel* caption =
            makeCaption(indexedName(QStringLiteral("lblPRXValue"), group.label), group.caption, page);
        m_captions[static_cast<std::size_t>(group.label)] = caption;
        outer->addWidget(caption);
        auto* row = new QHBoxLayout;
        auto* boxes = new QVBoxLayout;
        boxes->setSpacing(4);
        int position = 0;
        for (int index : group.boxes) {
            QLineEdit* box = makeTextBox(index, page);
            box->setAccessibleName(sharedCaptionName(group.caption, ++position));
            m_texts[static_cast<std::size_t>(index)] = box;
            boxes->addWidget(box);
        }
        caption->setBuddy(m_texts[static_cast<std::size_t>(group.boxes.front())]);
        QLabel* hint = makeCaption(group.hintName, group.hint, page);
        hint->setWordWrap(true);
        hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        m_hints[g] = hint;
        row->addLayout(boxes, 3);
        row->addWidget(hint, 2);
        outer->addLayout(row);
        outer->addSpacing(12);
    }
    outer->addStretch(1);
    return page;
}

void frmVSHMain::setLocale(const QLocale& locale) {
    m_locale = locale;
    m_keyFilter->setLocale(locale);
    m_grid->setMonthNames(locale);
}

bool frmVSHMain::OpenVSHPRX(const QString& strFile, int intCurPRXType) {
    if (strFile.isEmpty()) {
        PRXFileVSH.clear();
        SetControlsEnabled(false);
        Q_EMIT statusChanged();
        return false;
    }
    // The whole module is read before any control changes: a load that
    // fails leaves the window as it was.
    auto values = prx::readVshFile(strFile, intCurPRXType, m_locale);
    if (!values) {
        reportError(values.error());
        return false;
    }
    intVersion = intCurPRXType;
    blnReady = false;
    PRXVersionVSH = QString::fromLatin1(prx::vshRelease(intCurPRXType).label) + QLatin1Char(' ');
    PRXFileVSH = strFile + QLatin1Char(' ');
    showValues(*values);
    m_loaded = *values;
    SetControlsEnabled(true);
    ApplyVersionLimits();
    blnReady = true;
    followNetworkIcon();
    Q_EMIT statusChanged();
    return true;
}

void frmVSHMain::showValues(const prx::VshValues& values) {
    const int v = intVersion;
    for (int i = 0; i < prx::kVshNumberBoxCount; ++i)
        if (prx::vshNumberBoxRead(v, i))
            m_numbers[static_cast<std::size_t>(i)]->setText(values.numbers[static_cast<std::size_t>(i)]);
    for (std::size_t i = 0; i < m_texts.size(); ++i)
        m_texts[i]->setText(values.texts[i]);
    for (std::size_t i = 0; i < values.textColors.size(); ++i) {
        m_grid->picText[i]->setColor(values.textColors[i]);
        m_grid->picContext[i]->setColor(values.contextColors[i]);
    }
    if (prx::vshHasSlimColors(v))
        for (std::size_t i = 0; i < values.textColorsSlim.size(); ++i) {
            m_grid->picTextSlim[i]->setColor(values.textColorsSlim[i]);
            m_grid->picContextSlim[i]->setColor(values.contextColorsSlim[i]);
        }
    m_menu->setVersion(v);
    if (prx::menuFormat(v))
        m_menu->setRows(values.menu);
}

bool frmVSHMain::SaveVSHPRX(const QString& strFile, int intCurPRXType) {
    if (intVersion < 1 || openFile().isEmpty())
        return false; // no module to save
    const Status saved =
        prx::saveVshFile(openFile(), strFile, intCurPRXType, m_loaded, currentValues(), m_locale);
    if (!saved) {
        reportError(saved.error());
        return false;
    }
    return OpenVSHPRX(strFile, intCurPRXType);
}

Result<looks::ModuleValues> frmVSHMain::lookValues() const {
    looks::ModuleValues values;
    values.kind = prx::ModuleKind::Vsh;
    values.version = intVersion;
    values.vsh = currentValues();
    return looks::numbersToLook(std::move(values), m_locale);
}

void frmVSHMain::showLook(const looks::ModuleValues& values) {
    showValues(looks::numbersFromLook(values, m_locale).vsh);
}

prx::VshValues frmVSHMain::currentValues() const {
    // Starts from the load, so what the window doesn't hold (slim colours of
    // releases without them) stays as it was.
    prx::VshValues v = m_loaded;
    for (std::size_t i = 0; i < m_numbers.size(); ++i)
        v.numbers[i] = m_numbers[i]->text();
    for (std::size_t i = 0; i < m_texts.size(); ++i)
        v.texts[i] = m_texts[i]->text();
    for (std::size_t i = 0; i < v.textColors.size(); ++i) {
        v.textColors[i] = m_grid->picText[i]->color();
        v.contextColors[i] = m_grid->picContext[i]->color();
    }
    if (prx::vshHasSlimColors(intVersion))
        for (std::size_t i = 0; i < v.textColorsSlim.size(); ++i) {
            v.textColorsSlim[i] = m_grid->picTextSlim[i]->color();
            v.contextColorsSlim[i] = m_grid->picContextSlim[i]->color();
        }
    if (prx::menuFormat(intVersion))
        v.menu = m_menu->rows();
    return v;
}

void frmVSHMain::SetControlsEnabled(bool enabled) {
    VshColorGrid& g = *m_grid;
    std::vector<QWidget*> widgets{m_hints[0],           m_hints[1],          g.lblMonthDes,
                                  g.lblTextDes[0],      g.lblContextDes[0],  g.lblTextDes[1],
                                  g.lblContextDes[1],   g.lblSlimExtra,      g.lblInstructions,
                                  m_menu->lstvVSHMenu,  m_menu->cboVSHMenu3, m_menu->chkVSHMenu[0],
                                  m_menu->chkVSHMenu[1]};
    widgets.insert(widgets.end(), m_iconLabels.begin(), m_iconLabels.end());
    widgets.insert(widgets.end(), g.lblMonth.begin(), g.lblMonth.end());
    widgets.insert(widgets.end(), g.lblSlimItem.begin(), g.lblSlimItem.end());
    for (ColorBox* box : g.allBoxes())
        widgets.push_back(box);
    widgets.insert(widgets.end(), m_numbers.begin(), m_numbers.end());
    widgets.insert(widgets.end(), m_texts.begin(), m_texts.begin() + prx::kVshEditableTextCount);
    widgets.insert(widgets.end(), m_captions.begin(), m_captions.begin() + kFormatColumnLabel);
    for (QWidget* w : widgets)
        w->setEnabled(enabled);
    for (QComboBox* combo :
         {m_menu->cboVSHMenu130x, m_menu->cboVSHMenu137x, m_menu->cboVSHMenu230x, m_menu->cboVSHMenu237x}) {
        combo->setEnabled(enabled);
        combo->setVisible(enabled);
    }
}

void frmVSHMain::ApplyVersionLimits() {
    const int v = intVersion;
    for (int i = 0; i < prx::kVshNumberBoxCount; ++i) {
        const bool read = prx::vshNumberBoxRead(v, i);
        if (read && prx::vshNumberBoxEnabled(v, i))
            continue;
        txtPRXValue(i)->setEnabled(false);
        numberLabel(i)->setEnabled(false);
        if (!read)
            txtPRXValue(i)->clear();
    }
    if (!prx::vshHasSlimColors(v)) {
        VshColorGrid& g = *m_grid;
        for (std::size_t i = 0; i < g.lblSlimItem.size(); ++i) {
            g.picTextSlim[i]->setEnabled(false);
            g.picContextSlim[i]->setEnabled(false);
            g.lblSlimItem[i]->setEnabled(false);
        }
        for (QWidget* w : {static_cast<QWidget*>(g.lblTextDes[1]), static_cast<QWidget*>(g.lblContextDes[1]),
                           static_cast<QWidget*>(g.lblSlimExtra)})
            w->setEnabled(false);
    }

    VshMenuTab& m = *m_menu;
    const auto format = prx::menuFormat(v);
    if (!format) {
        // No menu: everything off, both variants' combos left in their place.
        m.clearRows();
        for (QWidget* w : std::initializer_list<QWidget*>{m.lstvVSHMenu, m.cboVSHMenu130x, m.cboVSHMenu137x,
                                                          m.cboVSHMenu230x, m.cboVSHMenu237x, m.cboVSHMenu3,
                                                          m.chkVSHMenu[0], m.chkVSHMenu[1]})
            w->setEnabled(false);
        return;
    }
    const bool slim = *format == prx::MenuFormat::Slim;
    const std::array<QComboBox*, 2> otherVariant = slim ? std::array{m.cboVSHMenu130x, m.cboVSHMenu230x}
                                                        : std::array{m.cboVSHMenu137x, m.cboVSHMenu237x};
    for (QComboBox* other : otherVariant) {
        other->setEnabled(false);
        other->setVisible(false);
    }
    if (!slim)
        m.chkVSHMenu[1]->setEnabled(false);
}

void frmVSHMain::followNetworkIcon() {
    if (!blnReady || intVersion < 12)
        return;
    if (auto text = prx::networkIconFollowing(txtPRXValue(prx::kVshBoxMainIconUnfocused)->text(), m_locale))
        txtPRXValue(prx::kVshBoxNetworkIcon)->setText(*text);
}

void frmVSHMain::pickColor(ColorBox* box) {
    prx::Rgb chosen = box->color();
    if (!dialogs().ShowColorDialog(this, box->color(), chosen) || chosen == box->color())
        return;
    box->setColor(chosen);
}

} // namespace qm::ui
