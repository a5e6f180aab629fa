#pragma once
#include <QString>

namespace ado {
class Connection;
}

// Starts the program: true when the selection window is shown, false when the run must end.
bool Main();
// Creates the eight service-library objects, in order.
void CreaObjetos();
void LiberaObjetos();

// A new, empty table with the structure of a template of orvaloreportes; gives its name.
QString CopiaEstructura(ado::Connection& conexion, QString& plantilla);
// The first "tbltemp" + number that does not exist on the connection.
QString NombreTablaTemporal(ado::Connection& conexion);
