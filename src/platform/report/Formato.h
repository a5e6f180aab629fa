#pragma once
#include <QColor>
#include <QFont>
#include <QLocale>
#include <QString>
#include <cmath>
#include <iterator>
#include <optional>

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

// The change of a figure against the one before it, in percent to one decimal; none where the
// one before is zero or negative (its cents), where a percentage says nothing.
inline std::optional<double> Cambio(double antes, double ahora) {
    if (Redondea(antes) <= 0) return std::nullopt;
    return Redondea((ahora - antes) / antes * 100, 1) + 0.0;  // + 0.0: no "-0.0"
}
// As the page writes it: +12.5%, -3.0%, or a dash.
inline QString TextoCambio(double antes, double ahora) {
    const std::optional<double> c = Cambio(antes, ahora);
    if (!c) return "—";
    return (*c > 0 ? "+" : "") + Localidad().toString(*c, 'f', 1) + "%";
}

// The colour of a chart's series, on the page and in the workbook alike.
inline QColor ColorDeSerie(int serie) {
    static const QColor colores[] = {
        QColor(41, 98, 155), QColor(232, 131, 37), QColor(46, 139, 87),   QColor(155, 89, 182),
        QColor(192, 57, 43), QColor(22, 160, 133), QColor(127, 140, 141), QColor(241, 196, 15),
        QColor(52, 73, 94),  QColor(211, 84, 0),   QColor(39, 174, 96),   QColor(142, 68, 173)};
    return colores[serie % std::size(colores)];
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
