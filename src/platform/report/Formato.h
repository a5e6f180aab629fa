#pragma once
#include <QFont>
#include <QLocale>
#include <QString>
#include <cmath>

namespace report {

// An amount rounded as a person rounds its decimal figure, half away from zero, read at the 15
// significant digits a double holds (as spreadsheets do): 487,679.355 is .36 on the page, in
// the CSV and in the workbook alike, although its nearest double lies a hair below.
inline double Redondea(double valor, int decimales = 2) {
    const double escala = std::pow(10.0, decimales);
    return std::round(QString::number(valor * escala, 'g', 15).toDouble()) / escala;
}

// Money as the reports write it: thousands separators, e.g. -$1,234.50.
inline QLocale Localidad() {
    return QLocale(QLocale::Spanish, QLocale::Mexico);
}
inline QString Moneda(double valor, int decimales = 2) {
    const double redondo = Redondea(valor, decimales);
    return (redondo < 0 ? "-$" : "$") + Localidad().toString(qAbs(redondo), 'f', decimales);
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
