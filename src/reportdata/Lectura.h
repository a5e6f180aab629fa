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
inline const QString kClaveRetraso = "Retraso máximo de lectura";
inline constexpr int kRetrasoOmision = 30;
// Seconds the read server may be behind the main one; read at start as the read server is.
extern int nRetrasoMaximoLectura;

// Where a report's figures come from, and what its page says of it.
struct Origen {
    bool enLectura = false;  // false: the main server
    QString texto;
};
// Whether the read server holds everything committed on the main one before the work table
// tabla (carrying ficha) was made there: it has applied that CREATE once the table shows on it.
// Waits up to retrasoMaximo seconds; a replica whose status says it is stopped, or further behind
// than that, is not waited for. Not current in time, or not to be known: the main server. The
// read session is opened here with ajustes and closed when not used; a cancelled work throws.
Origen OrigenDeLasCifras(ado::Connection& lectura, const ado::ConnectionSettings& ajustes,
                         const QString& tabla, const QString& ficha, int retrasoMaximo);

}  // namespace reportdata
