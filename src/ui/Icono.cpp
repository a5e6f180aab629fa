#include "ui/Icono.h"

#include <QPainter>
#include <QPixmap>

QIcon IconoMiravel() {
    QPixmap imagen(32, 32);
    imagen.fill(Qt::transparent);
    QPainter p(&imagen);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255));
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 5, 5);
    const QColor colores[] = {QColor(41, 98, 155), QColor(232, 131, 37), QColor(46, 139, 87)};
    const int alturas[] = {12, 20, 26};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(colores[i]);
        p.drawRect(QRectF(6 + i * 7.5, 28 - alturas[i], 6, alturas[i]));
    }
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.drawLine(QPointF(4, 28.5), QPointF(28, 28.5));
    return QIcon(imagen);
}
