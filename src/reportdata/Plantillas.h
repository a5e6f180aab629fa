#pragma once
#include <QString>

namespace ado {
class Connection;
}

namespace reportdata {

// The create statements of the two templates the program owns.
QString CreaVentasde3y();
QString CreaVentasde3yporvend();

// A dotted version in comparable form: every part padded to four digits.
QString NormalizaVersion(QString& version);

// Opens the report database, renews the templates and leaves the connection on the
// sales database.
void PreparaPlantillas(ado::Connection& conexion);

}  // namespace reportdata
