// A looping animation of our own.
#include "online/ui/spinner.h"

#include <QPainter>
#include <QTimer>

#include <cmath>

namespace zel {

constexpr int kFrames = 12;

Spinner::Spinner(QWidget* parent)
    : QWidget(parent)
    , m_timer(new QTimer(this))
{
    m_timer->setInterval(80);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_frame = (m_frame + 1) % kFrames;
        update();
    });
}

void Spinner::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_timer->start();
}

void Spinner::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_timer->stop();
}

void Spinner::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QColor base(0x2e, 0x7d, 0x32);
    if (width() > 2 * height()) {
        // Five blocks run from left to right, the lead one darkest.
        const int block = height();
        const int span = width() + 5 * block;
        const int head = (m_frame * span) / kFrames - 5 * block;
        for (int i = 0; i < 5; ++i) {
            QColor c = base;
            c.setAlpha(255 - i * 45);
            p.setBrush(c);
            p.drawRoundedRect(QRectF(head + (4 - i) * block + 1, 1, block - 2, height() - 2), 2, 2);
        }
        return;
    }
    const qreal r = std::min(width(), height()) / 2.0;
    const qreal dot = r / 4.5;
    p.translate(width() / 2.0, height() / 2.0);
    for (int i = 0; i < kFrames; ++i) {
        QColor c = base;
        c.setAlpha(40 + ((i + kFrames - m_frame) % kFrames) * 215 / (kFrames - 1));
        p.setBrush(c);
        const qreal a = 2 * M_PI * i / kFrames;
        p.drawEllipse(QPointF(std::cos(a) * (r - dot), std::sin(a) * (r - dot)), dot, dot);
    }
}

} // namespace zel
