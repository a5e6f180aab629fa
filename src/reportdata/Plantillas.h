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
QString NormalizaVersion(const QString& version);

// Opens the report database, renews the templates and leaves the connection on the
// sales database. Without the host's recorded version the templates are taken as current:
// the missing ones are created and none is dropped.
void PreparaPlantillas(ado::Connection& conexion, bool conVersion = true);

}  // namespace reportdata
