#pragma once
#include <QFont>
#include <QLocale>
#include <QString>

namespace report {

// Money as the reports write it: thousands separators, e.g. -$1,234.50.
inline QLocale Localidad() {
    return QLocale(QLocale::Spanish, QLocale::Mexico);
}
inline QString Moneda(double valor, int decimales = 2) {
    return (valor < 0 ? "-$" : "$") + Localidad().toString(qAbs(valor), 'f', decimales);
}

// The reports' type, sized in pixels so that every device lays it out alike.
inline QFont Letra(double pixeles, bool negrita = false) {
    QFont f("DejaVu Sans");
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(qMax(1, qRound(pixeles)));
    f.setBold(negrita);
    return f;
}

}  // namespace report
