#include "ui/Icono.h"

#include <QPainter>

QPixmap DibujaIcono(int lado) {
    QPixmap imagen(lado, lado);
    imagen.fill(Qt::transparent);
    QPainter p(&imagen);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(lado / 32.0, lado / 32.0);  // designed on a 32 x 32 grid
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
    return imagen;
}

QIcon IconoMiravel() {
    QIcon icono;
    for (int lado : {16, 32, 48, 64}) icono.addPixmap(DibujaIcono(lado));
    return icono;
}
