#pragma once
#include <QByteArray>
#include <QList>
#include <array>

#include "reportdata/Constructor.h"

namespace ado {
class Connection;
}

namespace reportdata {

inline constexpr int kLineas = 12;

// How the server tells line names apart (their collation weights): slot by slot, and those of
// the lines left without a slot.
struct PesosDeLineas {
    std::array<QByteArray, kLineas> enSlot;
    QList<QByteArray> sinLugar;
    const QByteArray& operator[](int i) const { return enSlot[i]; }
};

// A line met in the first pass goes into the first free slot of aEtiquetas, unless a slot holds
// a name the server holds equal ("Pinturas", "pinturas"); past twelve lines it is left out and
// named in aLineasSinLugar.
void Anota(PesosDeLineas& pesos, const QString& linea, const QByteArray& peso);

// The first pass of the line report: up to twelve lines sold in the three years into slots 0 to
// 11 of aEtiquetas, in the order the server gives them, kind by kind.
PesosDeLineas ListaLineas(const Seleccion& s, ado::Connection& conexion, const RangoTipos& tipos);

}  // namespace reportdata
