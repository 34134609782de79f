#include "ui/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace zavio {
namespace {

// The same picture as zavio.svg: a page on a blue square, an arrow and a Z.
QPixmap DrawIcon(int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / 48.0, side / 48.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2d, 0x5f, 0x8b));
    painter.drawRoundedRect(QRectF(4, 4, 40, 40), 6, 6);
    painter.setPen(QColor(0x1b, 0x3a, 0x55));
    painter.setBrush(QColor(0xfd, 0xfd, 0xf6));
    painter.drawRect(QRectF(10, 10, 18, 24));
    painter.setPen(QPen(QColor(0x1b, 0x3a, 0x55), 1.5));
    for (int y : {15, 19}) painter.drawLine(QPointF(13, y), QPointF(25, y));
    painter.drawLine(QPointF(13, 23), QPointF(21, 23));
    QPainterPath arrow;
    arrow.moveTo(26, 30);
    arrow.lineTo(32, 24);
    arrow.lineTo(38, 30);
    painter.setPen(QPen(QColor(0xf2, 0xc1, 0x4e), 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(arrow);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(14);
    painter.setFont(font);
    painter.drawText(QPointF(31, 42), QStringLiteral("Z"));
    return pixmap;
}

}  // namespace

QIcon AppIcon()
{
    QIcon drawn;
    for (int side : {16, 32, 48, 64}) drawn.addPixmap(DrawIcon(side));
    return QIcon::fromTheme(QStringLiteral("zavio"), drawn);
}

}  // namespace zavio
