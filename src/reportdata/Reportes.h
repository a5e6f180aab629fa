#pragma once
#include <QString>

namespace reportdata {

// The three reports: the template their work table copies and the report file that shows it.
struct Reporte {
    QString estructura;
    QString archivo;
    QString nombre;
};

inline const Reporte kReportes[3] = {
    {"ventasde3y", "ReporteGrafico.rpt", "Por mes"},
    {"ventasxlinea", "ReporteGxLineas.rpt", "Por línea"},
    {"ventasde3yporvend", "ReporteGxVend.rpt", "Por vendedor"},
};

}  // namespace reportdata
