#pragma once

namespace report {
class Report;
}

namespace reportdata {
struct Reporte;
struct Resultado;

// The caption formulas of a report: the line names or the years from the captions, and for the
// salesperson report the no-data text.
void AsignaFormulas(report::Report& reporte, const Reporte& tipo, const Resultado& r);
}  // namespace reportdata
