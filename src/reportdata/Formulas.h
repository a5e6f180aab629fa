#pragma once

namespace report {
class Report;
}

namespace reportdata {
struct Reporte;

// The caption formulas of a report: the line names or the years from aEtiquetas, and for the
// salesperson report the no-data text.
void AsignaFormulas(report::Report& reporte, const Reporte& tipo, bool tieneDatos);
}  // namespace reportdata
