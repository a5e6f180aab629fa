#pragma once
#include <QByteArray>
#include <array>

#include "reportdata/Constructor.h"
#include "reportdata/Plan.h"

namespace ado {
class Connection;
}

namespace reportdata {

inline constexpr int kLineas = 12;

// How the server tells line names apart (their collation weights), slot by slot.
using PesosDeLineas = std::array<QByteArray, kLineas>;

// The first pass of the line report: up to twelve lines sold in the three years into slots 0 to
// 11 of aEtiquetas, in the order the server gives them, kind by kind. A name the server holds
// equal to one already listed ("Pinturas", "pinturas") takes no second slot.
// The grouped plan asks for the years as a date range.
PesosDeLineas ListaLineas(const Seleccion& s, ado::Connection& conexion, const RangoTipos& tipos,
                          Plan plan);

}  // namespace reportdata
