#pragma once
// The grouped plan: the same work tables as the builders of LlenaTablaX*.h, asked of the server
// in a handful of grouped statements over date ranges, whatever the number of months, lines,
// salespeople or returns. The sales are read on lectura (the main connection, or a read server's
// session); the work table is written on conexion.
#include <QString>

#include "reportdata/Constructor.h"
#include "reportdata/Resultado.h"
#include "reportdata/Seleccion.h"

namespace ado {
class Connection;
}

namespace reportdata::agrupado {
void LlenaTablaXmes(const Seleccion& s, ado::Connection& conexion, ado::Connection& lectura,
                    const QString& cTabla);
void LlenaTablaXlinea(const Seleccion& s, ado::Connection& conexion, ado::Connection& lectura,
                      const QString& cTabla, Resultado& r);
bool LlenaTablaXvend(const Seleccion& s, ado::Connection& conexion, ado::Connection& lectura,
                     const QString& cTabla, const Aviso& avisa, Resultado& r);
}  // namespace reportdata::agrupado
