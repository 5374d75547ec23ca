#include "balloontip.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace qm::ui {
namespace {

constexpr int kArrow = 10;
constexpr int kTimeoutMs = 6000;

// The bubble: a frameless tool-tip window with a pointer at its top left,
// closed by a click, by the next key in its box, or after a few seconds.
class BalloonWidget final : public QWidget {
public:
    BalloonWidget() : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint) {
        setObjectName(QStringLiteral("balloonTip"));
        setAttribute(Qt::WA_ShowWithoutActivating);
        auto* outer = new QHBoxLayout(this);
        outer->setContentsMargins(10, 10 + kArrow, 10, 10);
        m_icon = new QLabel(this);
        outer->addWidget(m_icon, 0, Qt::AlignTop);
        auto* texts = new QVBoxLayout;
        m_title = new QLabel(this);
        QFont bold = m_title->font();
        bold.setBold(true);
        m_title->setFont(bold);
        m_text = new QLabel(this);
        texts->addWidget(m_title);
        texts->addWidget(m_text);
        outer->addLayout(texts);
        m_timer.setSingleShot(true);
        m_timer.setInterval(kTimeoutMs);
        QObject::connect(&m_timer, &QTimer::timeout, this, &QWidget::hide);
    }

    void showFor(QLineEdit* box, const QString& title, const QString& text, int icon) {
        if (m_box && m_box != box)
            m_box->removeEventFilter(this);
        m_box = box;
        box->installEventFilter(this);
        m_title->setText(title);
        m_title->setVisible(!title.isEmpty());
        QString shown = text;
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        m_text->setText(shown);
        const QStyle::StandardPixmap pixmaps[] = {QStyle::SP_CustomBase, QStyle::SP_MessageBoxInformation,
                                                  QStyle::SP_MessageBoxWarning,
                                                  QStyle::SP_MessageBoxCritical};
        if (icon >= 1 && icon <= 3) {
            m_icon->setPixmap(style()->standardIcon(pixmaps[icon]).pixmap(24, 24));
            m_icon->show();
        } else {
            m_icon->clear();
            m_icon->hide();
        }
        setAccessibleName(title);
        setAccessibleDescription(shown);
        adjustSize();
        QPoint at = box->mapToGlobal(QPoint(box->width() / 4, box->height()));
        if (const QScreen* screen = box->screen()) {
            const QRect area = screen->availableGeometry();
            at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - width())));
            at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - height())));
        }
        move(at);
        show();
        raise();
        m_timer.start();
    }

protected:
    // A rounded bubble with a pointer at its top left. The window is cut to
    // this shape, so nothing shows around it even without a compositor.
    QPainterPath shape() const {
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()).adjusted(0.5, kArrow + 0.5, -0.5, -0.5), 6, 6);
        QPainterPath arrow;
        arrow.moveTo(16, kArrow + 1);
        arrow.lineTo(20, 0.5);
        arrow.lineTo(30, kArrow + 1);
        arrow.closeSubpath();
        return path.united(arrow);
    }
    void resizeEvent(QResizeEvent*) override {
        QRegion region;
        for (const QPolygonF& part : shape().toFillPolygons())
            region += QRegion(part.toPolygon());
        setMask(region);
    }
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(palette().color(QPalette::ToolTipText));
        p.setBrush(palette().color(QPalette::ToolTipBase));
        p.drawPath(shape());
    }
    void mousePressEvent(QMouseEvent*) override { hide(); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_box && (event->type() == QEvent::FocusOut || event->type() == QEvent::Hide))
            hide();
        return false;
    }

private:
    QLabel* m_icon;
    QLabel* m_title;
    QLabel* m_text;
    // A plain widget pointer: the box may be half destroyed when its last events arrive.
    QPointer<QWidget> m_box;
    QTimer m_timer;
};

BalloonWidget* balloon(bool create) {
    static QPointer<BalloonWidget> instance;
    if (!instance && create) {
        instance = new BalloonWidget;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, instance, &QObject::deleteLater);
    }
    return instance;
}

} // namespace

void showBalloon(QLineEdit* box, const QString& title, const QString& text, BalloonIcon icon) {
    if (!box || !box->isVisible())
        return;
    balloon(true)->showFor(box, title, text, static_cast<int>(icon));
}

void hideBalloon() {
    if (BalloonWidget* b = balloon(false))
        b->hide();
}

QWidget* visibleBalloon() {
    BalloonWidget* b = balloon(false);
    return b && b->isVisible() ? b : nullptr;
}

} // namespace qm::ui
