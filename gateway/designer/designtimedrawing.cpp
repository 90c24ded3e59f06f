#include "designtimedrawing.h"

#include "qwirl-qt/qwirlcontrol.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace qwirl::DesignTimeDrawing {
namespace {

constexpr int IconSize = 32;
constexpr int IconTop = 10;
constexpr int TextDrop = 32;
const QColor IconBlue(0x1f, 0x5f, 0xa8);

} // namespace

QPixmap iconPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double u = size / 32.0;
    p.setPen(Qt::NoPen);
    p.setBrush(IconBlue);
    p.drawRoundedRect(QRectF(0, 0, size, size), 5 * u, 5 * u);
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(5 * u, 6 * u, 22 * u, 15 * u), 4 * u, 4 * u);
    QPolygonF tail;
    tail << QPointF(9 * u, 20 * u) << QPointF(8 * u, 27 * u) << QPointF(15 * u, 20 * u);
    bubble.addPolygon(tail);
    p.setBrush(Qt::white);
    p.drawPath(bubble.simplified());
    p.setBrush(IconBlue);
    for (int i = 0; i < 3; ++i) {
        p.drawEllipse(QPointF((10 + 6 * i) * u, 13.5 * u), 1.6 * u, 1.6 * u);
    }
    return pixmap;
}

QIcon icon()
{
    QIcon result;
    result.addPixmap(iconPixmap(16));
    result.addPixmap(iconPixmap(IconSize));
    return result;
}

QPoint textReferencePoint(const QRect& bounds)
{
    const QRect dropped = bounds.adjusted(0, TextDrop, 0, 0);
    return QPoint(bounds.left() + bounds.width() / 2, dropped.top() + dropped.height() / 2);
}

void paint(QPainter& painter, const QRect& bounds)
{
    painter.save();
    painter.fillRect(bounds, Qt::white);
    painter.drawPixmap(bounds.left() + bounds.width() / 2 - IconSize / 2, IconTop, iconPixmap(IconSize));

    // The caption is drawn opaque over the whole dropped rectangle, which covers the lower part of the icon
    // in a rectangle that begins at y 0: that is the picture forms have always shown.
    const QRect dropped = bounds.adjusted(0, TextDrop, 0, 0);
    painter.fillRect(dropped, Qt::white);
    const QString text = QwirlControl::caption();
    const QPoint reference = textReferencePoint(bounds);
    const QFontMetrics metrics(painter.font());
    painter.setPen(Qt::black);
    painter.drawText(QPoint(reference.x() - metrics.horizontalAdvance(text) / 2, reference.y()), text);
    painter.restore();
}

} // namespace qwirl::DesignTimeDrawing
