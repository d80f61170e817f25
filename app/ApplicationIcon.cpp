// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ApplicationIcon.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr int Size = 64; // the SVG's own size, in its units
const QColor Ink(0x2f, 0x4f, 0x7f);
const QColor Header(0xc0, 0x39, 0x2b);

// A page with its coloured header and small squares for days, two to a row.
void drawPage(QPainter &painter, qreal left, int days)
{
    painter.setPen(QPen(Ink, 3));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(left, 10, 27, 46), 3, 3);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Header);
    painter.drawRoundedRect(QRectF(left, 10, 27, 10), 3, 3);
    painter.setBrush(Ink);
    for (int day = 0; day < days; ++day)
        painter.drawRect(QRectF(left + 5 + day % 2 * 9, 26 + day / 2 * 9, 6, 5));
}

} // namespace

QIcon applicationIcon()
{
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    drawPage(painter, 4, 5);
    drawPage(painter, 33, 6);
    painter.setPen(QPen(Ink, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(32, 6), 3, 3);
    painter.end();
    return QIcon(pixmap);
}
