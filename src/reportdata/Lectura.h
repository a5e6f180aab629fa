#pragma once
// A read server (a replica of the main one) the grouped plans read the sales tables on, with the
// main server's user, password and database. Templates, work tables and the report's rows stay
// on the main server: nothing is ever written on the read server.
#include <QString>
#include <optional>

#include "platform/ado/Connection.h"
#include "reportdata/Plan.h"

namespace reportdata {

inline const QString kClaveLectura = "Servidor de lectura";

// The read server of this run, read at start as the connection settings are; empty: none.
extern QString cServidorLectura;

// "host" or "host:port" as given in origen; empty: none. Bad text is error 5 naming it.
QString ServidorDeLectura(const QString& valor, const QString& origen);
// The settings of the read sessions: the main ones on the read server; none when empty.
std::optional<ado::ConnectionSettings> AjustesDeLectura(const ado::ConnectionSettings& principal,
                                                        const QString& servidor);
// The faithful plan writes the work table between its reads, on one server: refused with a read
// server (error 5 saying why).
void CompruebaPlan(Plan plan, const QString& servidor);
// What the page says of figures read on the read server: where, and how far behind the main one
// the server itself says it was (when the user may ask it).
QString OrigenDeLasCifras(ado::Connection& lectura);

}  // namespace reportdata
