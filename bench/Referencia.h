#pragma once
// The report figures worked out the fastest way we know, to time and check the builders.
#include <QHash>
#include <QString>

#include "reportdata/Resultado.h"
#include "reportdata/Seleccion.h"

namespace ado {
class Connection;
}

// Figures by row caption and column caption.
using Cifras = QHash<QString, QHash<QString, double>>;

// One grouped query per document table and one for returns, over date ranges an index serves.
Cifras Referencia(int reporte, const reportdata::Seleccion& s, ado::Connection& conexion);
// The figures a builder left in its work table.
Cifras DeLaTabla(int reporte, ado::Connection& conexion, const QString& tabla,
                 const reportdata::Resultado& r);
// Empty when both agree (the line report is compared on the lines the builder listed).
QString Diferencias(const Cifras& constructor, const Cifras& referencia);
