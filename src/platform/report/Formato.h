#pragma once
#include <QLocale>
#include <QString>

namespace report {

// Money as the reports write it: thousands separators and two decimals, e.g. $-1,234.50.
inline QLocale Localidad() { return QLocale(QLocale::Spanish, QLocale::Mexico); }
inline QString Moneda(double valor) {
    return (valor < 0 ? "-$" : "$") + Localidad().toString(qAbs(valor), 'f', 2);
}

}  // namespace report
