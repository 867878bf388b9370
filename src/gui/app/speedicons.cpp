#include "gui/app/speedicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace tarnwick::gui {

namespace {

const QColor kOutline(40, 48, 64);
const QColor kPaper(250, 250, 244);
const QColor kBlue(44, 98, 186);
const QColor kGreen(34, 139, 60);
const QColor kRed(196, 48, 40);
const QColor kAmber(214, 160, 40);

void Sheet(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(kOutline, 1.2));
    p.setBrush(kPaper);
    p.drawRect(r);
    p.setPen(QPen(QColor(150, 160, 175), 1.0));
    for (qreal y = r.top() + 4; y < r.bottom() - 2; y += 3)
        p.drawLine(QPointF(r.left() + 2.5, y), QPointF(r.right() - 2.5, y));
}

void Arrow(QPainter& p, bool left, const QColor& colour, qreal x0, qreal x1)
{
    const qreal tip = left ? x0 : x1;
    const qreal base = left ? x0 + 8 : x1 - 8;
    const qreal tail = left ? x1 : x0;
    QPolygonF head { QPointF(tip, 12), QPointF(base, 5), QPointF(base, 19) };
    p.setPen(QPen(colour.darker(140), 1.0));
    p.setBrush(colour);
    p.drawPolygon(head);
    p.drawRect(QRectF(qMin(base, tail), 9.5, qAbs(tail - base), 5));
}

// Draws one picture on a 24 x 24 grid.
void Paint(QPainter& p, SpeedIcon which)
{
    switch (which) {
    case SpeedIcon::Erase: {
        Sheet(p, QRectF(4.5, 3.5, 13, 17));
        p.setPen(QPen(kRed, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 11), QPointF(20, 19));
        p.drawLine(QPointF(20, 11), QPointF(12, 19));
        break;
    }
    case SpeedIcon::Copy:
        Sheet(p, QRectF(3.5, 2.5, 11, 14));
        Sheet(p, QRectF(9.5, 7.5, 11, 14));
        break;
    case SpeedIcon::Paste: {
        p.setPen(QPen(kOutline, 1.2));
        p.setBrush(QColor(176, 124, 72));
        p.drawRoundedRect(QRectF(3.5, 4.5, 14, 17), 1.5, 1.5);
        p.setBrush(QColor(200, 200, 205));
        p.drawRect(QRectF(7.5, 2.5, 6, 4));
        Sheet(p, QRectF(10.5, 9.5, 10, 12));
        break;
    }
    case SpeedIcon::Move: {
        Sheet(p, QRectF(2.5, 3.5, 9, 11));
        p.setPen(QPen(kOutline, 1.2, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(13.5, 10.5, 8, 10));
        p.setPen(QPen(kBlue, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 17), QPointF(13, 17));
        p.setBrush(kBlue);
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF { QPointF(16, 17), QPointF(12, 13.5), QPointF(12, 20.5) });
        break;
    }
    case SpeedIcon::Back:
        Arrow(p, true, kBlue, 3, 21);
        break;
    case SpeedIcon::Forward:
        Arrow(p, false, kBlue, 3, 21);
        break;
    case SpeedIcon::Restore: {
        QPainterPath arc;
        arc.arcMoveTo(QRectF(5, 5, 14, 14), 160);
        arc.arcTo(QRectF(5, 5, 14, 14), 160, -250);
        p.setPen(QPen(kAmber.darker(115), 2.6, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(arc);
        p.setPen(Qt::NoPen);
        p.setBrush(kAmber.darker(115));
        p.drawPolygon(QPolygonF { QPointF(1.5, 9), QPointF(9.5, 9), QPointF(5, 15.5) });
        break;
    }
    case SpeedIcon::Commit: {
        p.setPen(QPen(kGreen, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF { QPointF(4, 13), QPointF(10, 19), QPointF(20, 5) });
        break;
    }
    case SpeedIcon::Find: {
        p.setPen(QPen(kOutline, 2.2));
        p.setBrush(QColor(210, 230, 250));
        p.drawEllipse(QRectF(3.5, 3.5, 11, 11));
        p.setPen(QPen(kOutline, 3.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(13.5, 13.5), QPointF(20, 20));
        break;
    }
    }
}

QPixmap Draw(SpeedIcon which, int side, bool disabled)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / 24.0, side / 24.0);
    if (disabled)
        p.setOpacity(0.35);
    Paint(p, which);
    return pixmap;
}

} // namespace

QIcon MakeSpeedIcon(SpeedIcon which)
{
    QIcon icon;
    for (int side : { 16, 24, 32, 48 }) {
        icon.addPixmap(Draw(which, side, false), QIcon::Normal);
        icon.addPixmap(Draw(which, side, true), QIcon::Disabled);
    }
    return icon;
}

} // namespace tarnwick::gui
