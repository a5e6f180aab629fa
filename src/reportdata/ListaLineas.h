#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

#include "reportdata/Constructor.h"
#include "reportdata/Resultado.h"

namespace ado {
class Connection;
}

namespace reportdata {

inline constexpr int kLineas = 12;

// The lines of the line report in their slots, told apart as the server tells their names apart
// (by collation weight: "Pinturas" and "pinturas" are one line).
struct Lineas {
    std::array<QString, kLineas> nombres;
    std::array<QByteArray, kLineas> pesos;
    QStringList sinLugar;  // past twelve lines, in the order met
    QList<QByteArray> pesosSinLugar;

    // A line met in the first pass goes into the first free slot, unless a slot already holds
    // it; past twelve lines it is left out and named in sinLugar.
    void Anota(const QString& linea, const QByteArray& peso);
    // Slots 0 to 11 of the captions and the lines left out, as the page shows them.
    void Publica(Resultado& r) const;
};

// The first pass of the line report: up to twelve lines sold in the three years, in the order
// the server gives them, kind by kind.
Lineas ListaLineas(const Seleccion& s, ado::Connection& conexion, const RangoTipos& tipos);

}  // namespace reportdata
