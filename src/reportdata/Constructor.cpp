#include "reportdata/Constructor.h"

#include <cmath>

#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"
#include "reportdata/Globales.h"

namespace reportdata {

RangoTipos Tipos(const Seleccion& s) {
    if (s.tipo < 0 || s.tipo > 2 || s.documentos.size() < 2)
        throw RuntimeError(
            vbError::kIndicePropiedad,
            "Índice de matriz de propiedades no válido: no hay ventas a imprimir elegidas.");
    return {s.tipo < 2 ? s.tipo : 0, s.tipo == 2 ? 1 : s.tipo};
}

QString Documento(const Seleccion& s, int k) {
    return s.documentos.at(k).toLower();
}

int Año16(double valor) {
    const double redondo = std::nearbyint(valor);
    if (redondo < -32768 || redondo > 32767)
        throw RuntimeError(
            vbError::kDesbordamiento,
            "Desbordamiento: el año " + QString::number(valor, 'g', 17) + " no es válido.");
    return static_cast<int>(redondo);
}

int AñoFinal(const Seleccion& s) {
    return Año16(oLibreria->kzVal(s.año));
}

int AñoInicial(const Seleccion& s) {
    return Año16(AñoFinal(s) - 2);
}

bool HayVendedor(const Seleccion& s) {
    return !s.vendedor.trimmed().isEmpty();
}

std::optional<QString> RangoDeAños(const QString& columna, int primero, int ultimo) {
    const int kUltimoAñoDeFecha = 9999;
    const int desde = qMax(primero, 0);
    if (desde > ultimo || desde > kUltimoAñoDeFecha) return std::nullopt;
    QString rango = columna + QString(">='%1-01-01'").arg(desde, 4, 10, QChar('0'));
    if (ultimo < kUltimoAñoDeFecha)
        rango += " and " + columna + QString("<'%1-01-01'").arg(ultimo + 1, 4, 10, QChar('0'));
    return rango;
}

}  // namespace reportdata
