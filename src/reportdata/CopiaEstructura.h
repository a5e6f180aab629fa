#pragma once
#include <QString>

namespace ado {
class Connection;
}

// What marks a work table as this program's own, in its table comment.
inline const QString kMarcaDeTrabajo = "Miravel: tabla de trabajo de un reporte";

// A new, empty table with the structure of a template of orvaloreportes; gives its name. The
// table carries the mark, and the connection holds the table's named lock until it is dropped.
QString CopiaEstructura(ado::Connection& conexion, const QString& plantilla);
// The name of a work table's lock, as an SQL text.
QString CandadoDe(ado::Connection& conexion, const QString& tabla);
// Drops the marked work tables of runs that are gone (their lock is free); tables without the
// mark belong to others and are never touched.
void ReclamaTablasHuerfanas(ado::Connection& conexion);
// The first "tbltemp" + number that does not exist on the connection.
QString NombreTablaTemporal(ado::Connection& conexion);
