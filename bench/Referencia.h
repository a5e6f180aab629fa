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
// The floor: a plain scan summing the report's amount over every row of each table it sums (the
// documents for the monthly report, their lines for the others; the returns), at once on a session
// each as the grouped plan reads: no join, no period. No plan that evaluates every row of the
// history goes much below it.
void Piso(int reporte, const reportdata::Seleccion& s, ado::Connection& conexion);
// The figures a builder left in its work table.
Cifras DeLaTabla(int reporte, ado::Connection& conexion, const QString& tabla,
                 const reportdata::Resultado& r);
// Empty when both agree (the line report is compared on the lines the builder listed).
QString Diferencias(const Cifras& constructor, const Cifras& referencia);
