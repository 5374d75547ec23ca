#include "frmpaf.h"

#include "looks/locale.h"
#include "prx/catalogue.h"
#include "widgets/captionlabel.h"
#include "widgets/dialogs.h"
#include "widgets/numberkeyfilter.h"
#include "widgets/valueframe.h"
#include "widgets/windowhelpers.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include <vector>

namespace qm::ui {
namespace {

// Label captions by box index, blanks and all: box 8's runs of blanks are
// where its label breaks into three lines.
const std::array<QString, prx::kPafBoxCount> kCaptions{
    QStringLiteral("Vertical Scrolling :"),
    QStringLiteral("Horizontal Scrolling :"),
    QStringLiteral("MS Contents : (Unfocused)"),
    QStringLiteral("Glow Blinking :"),
    QStringLiteral("XMB Overall :"),
    QStringLiteral("Space between Main Icons :"),
    QStringLiteral("Main Icon Y : (Focused)"),
    QStringLiteral("Main Menu Text Y :"),
    QStringLiteral("Main Icon Y :       (Unfocused)          (Not Network Icon)"),
    QStringLiteral("Main Icon : (Unfocused)"),
    QStringLiteral("Text Main Menu :"),
    QStringLiteral("Main Menu Icons and Font :"),
    QStringLiteral("Main Menu Font :"),
    QStringLiteral("Submenu Text :"),
    QStringLiteral("Main Icon : (Unfocused)"),
    QStringLiteral("Main Icon : (Focused)"),
    QStringLiteral("Between Subicons :"),
    QStringLiteral("Between  Main And Subicons :"),
    QStringLiteral("Submenus Font and Line :"),
    QStringLiteral("Subicons : (Unfocused)"),
    QStringLiteral("Subicons : (Unfocused)"),
    QStringLiteral("Other Submenu Icons :"),
    QStringLiteral("Settings Submenu Icon :"),
    QStringLiteral("Subicon Shadows Width :"),
    QStringLiteral("Subicon Shadows Height :"),
};

struct FramePlan {
    QString title;
    std::vector<int> boxes; // top to bottom
};

QString colorTitle() {
    return QStringLiteral("\"Color\"");
}

// The frames by index, with the boxes each holds.
const std::array<FramePlan, 12>& framePlans() {
    static const std::array<FramePlan, 12> plans{{
        {QStringLiteral("Position"), {6, 7, 8}},
        {QStringLiteral("Size"), {9, 10}},
        {colorTitle(), {11, 12}},
        {QStringLiteral("Alpha Channel"), {14, 15}},
        {QStringLiteral("Other Value"), {5}},
        {QStringLiteral("Space"), {16, 17}},
        {colorTitle(), {18, 19}},
        {colorTitle(), {23, 24}},
        {QStringLiteral("Size"), {21, 22}},
        {QStringLiteral("Alpha Channel"), {13, 20}},
        {QStringLiteral("Speed"), {0, 1, 3}},
        {QStringLiteral("Size"), {2, 4}},
    }};
    return plans;
}

// The tabs and their two columns of frames, left column first; frames are
// made in this order, which is also the order the Tab key walks the boxes.
struct TabPlan {
    QString title;
    std::vector<int> left;
    std::vector<int> right;
};

const std::array<TabPlan, 3>& tabPlans() {
    static const std::array<TabPlan, 3> plans{{
        {QStringLiteral("Main Menu"), {0, 1}, {2, 3, 4}},
        {QStringLiteral("Submenu"), {5, 6, 7}, {8, 9}},
        {QStringLiteral("Other"), {10}, {11}},
    }};
    return plans;
}

} // namespace

frmPaf::frmPaf(QWidget* parent)
    : EditorForm(QStringLiteral("frmPaf"), kCaption, QSize(twips(6930), twips(6015)), parent) {
    m_keyFilter = new NumberKeyFilter(this);
    m_keyFilter->setLocale(m_locale);

    m_tabs = addTabs(QStringLiteral("PAFTabs"), 3);

    const int boxWidth = numberBoxWidth(QFontMetrics(font()));
    auto makeFrame = [&](int index) -> QWidget* {
        const FramePlan& plan = framePlans()[static_cast<std::size_t>(index)];
        QGroupBox* frame = makeValueFrame(indexedName(QStringLiteral("framePAF"), index), plan.title, this);
        for (int box : plan.boxes) {
            const auto i = static_cast<std::size_t>(box);
            auto* edit = new QLineEdit(frame);
            edit->setObjectName(indexedName(QStringLiteral("txtPAFPRXValue"), box));
            edit->setFixedWidth(boxWidth);
            m_keyFilter->attach(edit);
            CaptionLabel* label =
                addValueRow(frame, indexedName(QStringLiteral("lblPAFPRXValue"), box), kCaptions[i], edit);
            // Box 8's caption breaks into three lines at its runs of blanks.
            if (box == prx::kPafBoxMainIconYUnfocused)
                label->setFixedWidth(widestPart(label->fontMetrics(), kCaptions[i]) +
                                     label->fontMetrics().averageCharWidth() / 2);
            m_labels[i] = label;
            m_boxes[i] = edit;
        }
        m_frames[static_cast<std::size_t>(index)] = frame;
        return frame;
    };

    for (const TabPlan& tab : tabPlans()) {
        std::vector<std::vector<QWidget*>> columns(2);
        for (int index : tab.left)
            columns[0].push_back(makeFrame(index));
        for (int index : tab.right)
            columns[1].push_back(makeFrame(index));
        m_tabs->addTab(makeColumnsPage(tab.title, columns), tab.title);
    }

    SetValueControlsEnabled(false);
}

bool frmPaf::OpenPAFPRX(const QString& strFile, int intCurPRXType) {
    if (strFile.isEmpty()) {
        SetValueControlsEnabled(false);
        return false;
    }
    auto values = prx::readPafFile(strFile, intCurPRXType, m_locale);
    if (!values) {
        reportError(values.error());
        return false;
    }
    m_version = intCurPRXType;
    PRXVersionPAF = QString::fromLatin1(prx::pafRelease(intCurPRXType).label) + QLatin1Char(' ');
    PRXFilePAF = strFile + QLatin1Char(' ');
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        m_boxes[i]->setText(values->numbers[i]);
    m_loaded = *values;
    SetValueControlsEnabled(true);
    if (!prx::pafBoxRead(intCurPRXType, prx::kPafBoxMainIconYUnfocused))
        DisableMainIconYUnfocused();
    Q_EMIT statusChanged();
    return true;
}

bool frmPaf::SavePAFPRX(const QString& strFile, int intCurPRXType) {
    const Status saved =
        prx::savePafFile(openFile(), strFile, intCurPRXType, m_loaded, currentValues(), m_locale);
    if (!saved) {
        reportError(saved.error());
        return false;
    }
    return OpenPAFPRX(strFile, intCurPRXType);
}

void frmPaf::SetValueControlsEnabled(bool enabled) {
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        m_boxes[i]->setEnabled(enabled);
        m_labels[i]->setEnabled(enabled);
    }
}

void frmPaf::DisableMainIconYUnfocused() {
    const auto i = static_cast<std::size_t>(prx::kPafBoxMainIconYUnfocused);
    m_boxes[i]->setEnabled(false);
    m_labels[i]->setEnabled(false);
    m_boxes[i]->clear();
}

void frmPaf::setLocale(const QLocale& locale) {
    m_locale = locale;
    m_keyFilter->setLocale(locale);
}

Result<looks::ModuleValues> frmPaf::lookValues() const {
    looks::ModuleValues values;
    values.kind = prx::ModuleKind::Paf;
    values.version = m_version;
    values.paf = currentValues();
    return looks::numbersToLook(std::move(values), m_locale);
}

void frmPaf::showLook(const looks::ModuleValues& values) {
    const looks::ModuleValues shown = looks::numbersFromLook(values, m_locale);
    for (int i = 0; i < prx::kPafBoxCount; ++i)
        if (prx::pafBoxRead(m_version, i))
            m_boxes[static_cast<std::size_t>(i)]->setText(shown.paf.numbers[static_cast<std::size_t>(i)]);
}

prx::PafValues frmPaf::currentValues() const {
    prx::PafValues values;
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        values.numbers[i] = m_boxes[i]->text();
    return values;
}

} // namespace qm::ui
