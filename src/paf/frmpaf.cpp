#include "frmpaf.h"

#include "prx/catalogue.h"
#include "widgets/dialogs.h"
#include "widgets/numberkeyfilter.h"
#include "widgets/windowhelpers.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpression>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
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

constexpr int kSpacing = 6;

// The width at which a caption breaks only at its runs of blanks: that of
// its widest blank-separated part.
int widestPart(const QFontMetrics& metrics, const QString& caption) {
    static const QRegularExpression runOfBlanks(QStringLiteral(" {2,}"));
    int widest = 0;
    for (const QString& part : caption.split(runOfBlanks, Qt::SkipEmptyParts))
        widest = std::max(widest, metrics.horizontalAdvance(part));
    return widest;
}

// A caption that wraps onto more lines where its column is narrow. The
// layouts size rows before they know the column widths, so the label asks
// for the height its text needs once it has its width. A closing " :" stays
// with the word before it on screen; the caption itself (and so the box's
// accessible name) is unchanged.
class CaptionLabel final : public QLabel {
public:
    CaptionLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
        setTextFormat(Qt::PlainText);
        setWordWrap(true);
    }

    int heightForWidth(int width) const override {
        const QRect room(0, 0, std::max(1, width - 2 * margin()), QWIDGETSIZE_MAX);
        return fontMetrics().boundingRect(room, Qt::TextWordWrap, shownText()).height() + 2 * margin();
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        const int needed = heightForWidth(width());
        if (needed != minimumHeight())
            setMinimumHeight(needed);
    }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        style()->drawItemText(&painter, contentsRect().adjusted(margin(), margin(), -margin(), -margin()),
                              static_cast<int>(alignment()) | Qt::TextWordWrap, palette(), isEnabled(),
                              shownText(), foregroundRole());
    }

private:
    QString shownText() const {
        QString t = text();
        if (t.endsWith(QStringLiteral(" :")))
            t[t.size() - 2] = QChar(0x00A0); // no break before the colon
        return t;
    }
};

} // namespace

frmPaf::frmPaf(QWidget* parent) : EditorForm(parent) {
    setObjectName(QStringLiteral("frmPaf"));
    setWindowTitle(kCaption);
    SetFormIcon(this, QStringLiteral("BBB"), true);
    setFixedSize(twips(6930), twips(6015));
    // The window's fixed size was laid out for an 8-point dialog font.
    QFont small = font();
    if (small.pointSizeF() > 8.0) {
        small.setPointSizeF(8.0);
        setFont(small);
    }

    m_keyFilter = new NumberKeyFilter(this);
    m_keyFilter->setLocale(m_locale);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("PAFTabs"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(3, 3, 3, 3);
    outer->addWidget(m_tabs);

    const QFontMetrics metrics(font());
    // Room for a number such as "-123.456" and the box's frame; longer
    // texts scroll inside the box.
    const int boxWidth = metrics.horizontalAdvance(QStringLiteral("-000.000")) + 4;

    auto makeFrame = [&](QWidget* page, int index) {
        const FramePlan& plan = framePlans()[static_cast<std::size_t>(index)];
        auto* frame = new QGroupBox(plan.title, page);
        frame->setObjectName(indexedName(QStringLiteral("framePAF"), index));
        auto* grid = new QGridLayout(frame);
        // Tight margins leave the captions room for a whole line: "Horizontal
        // Scrolling :" fits without its colon wrapping alone.
        grid->setContentsMargins(kSpacing - 2, kSpacing, kSpacing - 2, kSpacing);
        grid->setHorizontalSpacing(kSpacing - 2);
        grid->setVerticalSpacing(kSpacing);
        grid->setColumnStretch(0, 1);
        int row = 0;
        for (int box : plan.boxes) {
            const auto i = static_cast<std::size_t>(box);
            auto* label = new CaptionLabel(kCaptions[i], frame);
            label->setObjectName(indexedName(QStringLiteral("lblPAFPRXValue"), box));
            if (box == prx::kPafBoxMainIconYUnfocused)
                label->setFixedWidth(widestPart(label->fontMetrics(), kCaptions[i]) +
                                     label->fontMetrics().averageCharWidth() / 2);
            auto* edit = new QLineEdit(frame);
            edit->setObjectName(indexedName(QStringLiteral("txtPAFPRXValue"), box));
            edit->setFixedWidth(boxWidth);
            label->setBuddy(edit);
            m_keyFilter->attach(edit);
            // The label fills its cell, so it wraps only where the cell is too narrow.
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            grid->addWidget(label, row, 0);
            grid->addWidget(edit, row, 1, Qt::AlignRight | Qt::AlignVCenter);
            m_labels[i] = label;
            m_boxes[i] = edit;
            ++row;
        }
        m_frames[static_cast<std::size_t>(index)] = frame;
        return frame;
    };

    for (const TabPlan& tab : tabPlans()) {
        auto* page = new QWidget;
        page->setAccessibleName(tab.title);
        auto* columns = new QHBoxLayout(page);
        columns->setContentsMargins(2, kSpacing, 2, kSpacing);
        columns->setSpacing(kSpacing);
        for (const std::vector<int>* frames : {&tab.left, &tab.right}) {
            auto* column = new QVBoxLayout;
            column->setSpacing(kSpacing);
            for (int index : *frames)
                column->addWidget(makeFrame(page, index));
            column->addStretch(1);
            columns->addLayout(column, 1);
        }
        m_tabs->addTab(page, tab.title);
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
        dialogs().showMessage(this, kAppTitle, values.error().userText(), MsgIcon::Critical, MsgButtons::Ok);
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
        const Error& error = saved.error();
        const MsgIcon icon = error.kind == ErrorKind::Check ? MsgIcon::None : MsgIcon::Critical;
        dialogs().showMessage(this, kAppTitle, error.userText(), icon, MsgButtons::Ok);
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

prx::PafValues frmPaf::currentValues() const {
    prx::PafValues values;
    for (std::size_t i = 0; i < m_boxes.size(); ++i)
        values.numbers[i] = m_boxes[i]->text();
    return values;
}

} // namespace qm::ui
