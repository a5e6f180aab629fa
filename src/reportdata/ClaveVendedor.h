#pragma once
#include <QString>

#include "reportdata/Seleccion.h"

namespace ado {
class Connection;
}

namespace reportdata {

// Whether the key can be held by the key columns of the sales database: a database in latin1
// holds no emoji, and comparing one with its columns is an error, not a mismatch.
bool ClaveCabe(ado::Connection& conexion, const QString& clave);

// The chosen salesperson's key as an SQL value: NULL, which equals nothing, for a key the
// database cannot hold.
QString ClaveVendedor(const Seleccion& s);

}  // namespace reportdata
