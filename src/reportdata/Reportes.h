#pragma once
#include <QString>
#include <QtGlobal>
#include <array>

namespace reportdata {

// The report types, numbered as the report options of the selection window.
enum class TipoReporte : quint8 { PorMes = 0, PorLinea = 1, PorVendedor = 2 };

// What sets one report apart from the others.
struct Reporte {
    TipoReporte tipo;
    QString estructura;  // the template its work table copies
    QString archivo;     // the report file that shows it
    QString nombre;      // as the window and the page name it
    QString clave;       // its name on miravel-export's command line
    int rotulos;         // caption formulas 1..rotulos take slots 0.. of aEtiquetas
    bool porFechas;      // chosen by a date range and says whether it found data
};

inline const std::array<Reporte, 3> kReportes = {{
    {TipoReporte::PorMes, "ventasde3y", "ReporteGrafico.rpt", "Por mes", "mes", 0, false},
    {TipoReporte::PorLinea, "ventasxlinea", "ReporteGxLineas.rpt", "Por línea", "linea", 12, false},
    {TipoReporte::PorVendedor, "ventasde3yporvend", "ReporteGxVend.rpt", "Por vendedor", "vendedor",
     3, true},
}};

inline const Reporte& ReporteDe(TipoReporte tipo) {
    return kReportes[static_cast<int>(tipo)];
}

}  // namespace reportdata
