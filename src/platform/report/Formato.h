#pragma once
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

}  // namespace report
