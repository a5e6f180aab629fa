#pragma once
// The one road from a selection to a report's rows, shared by Print, miravel-export, the
// benchmark and the tests.
#include <QString>
#include <memory>

#include "platform/report/Report.h"
#include "reportdata/Constructor.h"
#include "reportdata/Plan.h"
#include "reportdata/Reportes.h"
#include "reportdata/Resultado.h"
#include "reportdata/Seleccion.h"

namespace ado {
class Connection;
}

namespace reportdata {

// Fills the work table cTabla with the report's builder, starting from the captions of the
// report before (previo), and gives what the report needs besides its rows.
// lectura: a read server's session the grouped plan reads the sales on (none: conexion).
Resultado LlenaTabla(const Reporte& reporte, Plan plan, const Seleccion& s,
                     ado::Connection& conexion, const QString& cTabla, const Aviso& avisa,
                     ado::Connection* lectura = nullptr, const Resultado& previo = {});

// Opens the report file from the program's folder, points its first table at tabla1
// ("base.table") and fills its formulas from r; the page tells the selection and r's notes. Its
// rows are read through filas: the session of the work that filled the table.
std::unique_ptr<report::Report> AbreReporte(report::Application& aplicacion, const Reporte& reporte,
                                            const QString& archivo, const QString& tabla1,
                                            const Resultado& r, const Seleccion& s,
                                            report::RowSource filas);

// A report without a window: its filled work table opened as the report and its rows read
// (through filas; none: a session of its own).
report::ReportContent LeeInforme(const Reporte& reporte, const QString& cTabla, const Resultado& r,
                                 const Seleccion& s, report::RowSource filas = {});

}  // namespace reportdata
