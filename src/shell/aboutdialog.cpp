#include "aboutdialog.h"

#include "widgets/dialogs.h"
#include "widgets/windowhelpers.h"

#include <quillmark/version.h>

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QtMath>

namespace qm::ui {
namespace {

const char* const kWebNames[] = {"Quillmark project page", "Quillmark community forum"};
const char* const kWebAddresses[] = {"https://quillmark.example.org/",
                                     "https://forum.quillmark.example.org/"};

const QString kSupported = QStringLiteral(
    "1.5x / 2.x /2.50 / 2.60 / 2.7x / 2.8x / 3.0x 3.1x / 3.30  3.40 / 3.5x - 3.60 / 3.7x / 3.8x...");

QFont arial(int size, bool bold = false) {
    QFont f(QStringLiteral("Arial"), size);
    f.setBold(bold);
    return f;
}

QLabel* titleLabel(const QString& text, int index, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("title%1").arg(index));
    label->setFont(arial(index == 0 ? 14 : 9, true));
    return label;
}

QPlainTextEdit* creditBox(const QString& text, int index, QWidget* parent) {
    auto* box = new QPlainTextEdit(text, parent);
    box->setObjectName(QStringLiteral("credits%1").arg(index));
    box->setReadOnly(true);
    box->setFont(arial(8));
    // As high as its lines in the font it shows (four for the first box,
    // three for the others), whatever the font's size on this screen.
    const int lines = index == 0 ? 4 : 3;
    // The frame, the document's margin above and below, and the one pixel
    // the box keeps below its last line before it offers to scroll.
    const int frame = 2 * box->frameWidth() + 2 * qCeil(box->document()->documentMargin()) + 1;
    box->setFixedHeight(lines * box->fontMetrics().lineSpacing() + frame);
    return box;
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(QStringLiteral("About..."));
    setModal(true);

    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("frame"));
    auto* inner = new QVBoxLayout(frame);

    auto* title = titleLabel(QStringLiteral("Quillmark v" QUILLMARK_VERSION), 0, frame);
    title->setAlignment(Qt::AlignCenter);
    inner->addWidget(title);

    m_credits[0] = creditBox(QStringLiteral("Quillmark is written and maintained by its contributors.\n"
                                            "Thanks to everyone who mapped the home menu modules, "
                                            "tested the releases and reported what broke."),
                             0, frame);
    inner->addWidget(m_credits[0]);
    auto* vshTitle = titleLabel(QStringLiteral("VSHMain Hack :"), 1, frame);
    inner->addWidget(vshTitle);
    m_credits[1] = creditBox(QStringLiteral("Colours, positions, transparency, icon and path names and the "
                                            "main-menu layout of vshmain.prx: the Quillmark contributors."),
                             1, frame);
    inner->addWidget(m_credits[1]);
    auto* pafTitle = titleLabel(QStringLiteral("Paf Hack :"), 2, frame);
    inner->addWidget(pafTitle);
    m_credits[2] = creditBox(
        QStringLiteral("Sizes, spacing and speeds of paf.prx: the Quillmark contributors."), 2, frame);
    inner->addWidget(m_credits[2]);
    vshTitle->setBuddy(m_credits[1]);
    pafTitle->setBuddy(m_credits[2]);
    m_credits[0]->setAccessibleName(QStringLiteral("Credits"));

    auto* supported = new QLabel(kSupported, frame);
    supported->setObjectName(QStringLiteral("supportedReleases"));
    supported->setFont(arial(8));
    supported->setWordWrap(true);
    supported->setAlignment(Qt::AlignCenter);
    inner->addWidget(supported);

    auto* links = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        auto* link = new QLabel(QString::fromLatin1(kWebNames[i]), frame);
        link->setObjectName(QStringLiteral("webLink%1").arg(i));
        QFont f = arial(9);
        f.setUnderline(true);
        link->setFont(f);
        link->setCursor(Qt::PointingHandCursor);
        link->setFocusPolicy(Qt::StrongFocus);
        link->setForegroundRole(QPalette::Link);
        link->setToolTip(webAddress(i).toString());
        link->setAccessibleName(QString::fromLatin1(kWebNames[i]));
        link->setAccessibleDescription(webAddress(i).toString());
        link->installEventFilter(this);
        m_links[static_cast<std::size_t>(i)] = link;
        links->addWidget(link);
    }
    inner->addLayout(links);

    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addStretch();
    layout->addLayout(buttons);
    frame->setMinimumWidth(360);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QUrl AboutDialog::webAddress(int index) {
    if (index < 0 || index > 1)
        return {};
    return QUrl(QString::fromLatin1(kWebAddresses[index]));
}

void AboutDialog::openLink(int index) {
    if (index < 0 || index > 1)
        return;
    dialogs().openUrl(webAddress(index));
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event) {
    for (int i = 0; i < 2; ++i) {
        if (watched != m_links[static_cast<std::size_t>(i)])
            continue;
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            openLink(i);
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
                openLink(i);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace qm::ui
