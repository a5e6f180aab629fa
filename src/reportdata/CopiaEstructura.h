#pragma once
#include <QString>

namespace ado {
class Connection;
}

// A new, empty table with the structure of a template of orvaloreportes; gives its name.
QString CopiaEstructura(ado::Connection& conexion, const QString& plantilla);
// The first "tbltemp" + number that does not exist on the connection.
QString NombreTablaTemporal(ado::Connection& conexion);
