#pragma once
#include <QtGlobal>

namespace report {
class Report;
}

// The caption formulas of a report type: the line names or the years from aEtiquetas, and
// for the salesperson report the no-data text.
void AsignaFormulas(report::Report& reporte, quint8 tipoReporte, bool tieneDatos);
