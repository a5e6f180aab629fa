#include "reportdata/TablaTemporal.h"

#include "platform/ado/Connection.h"
#include "platform/vb/RuntimeError.h"
#include "reportdata/CopiaEstructura.h"

TablaTemporal::TablaTemporal(ado::Connection& conexion, const QString& plantilla)
    : cTabla((ReclamaTablasHuerfanas(conexion), CopiaEstructura(conexion, plantilla))),
      conexion_(conexion) {}

TablaTemporal::~TablaTemporal() {
    if (borrada_) return;
    conexion_.LeaveSessions();
    try {
        // A session lost on the way is opened again to drop the table.
        conexion_.EnsureOpen();
        conexion_.Execute("Drop table if exists " + cTabla);
        conexion_.Execute("SELECT RELEASE_LOCK(" + CandadoDe(conexion_, cTabla) + ")");
    } catch (const RuntimeError&) {
        // No server to drop it on; the next run reclaims it, as its lock is free by then.
    }
}

void TablaTemporal::Borra() {
    conexion_.LeaveSessions();
    conexion_.Execute("Drop table " + cTabla);
    borrada_ = true;
    conexion_.Execute("SELECT RELEASE_LOCK(" + CandadoDe(conexion_, cTabla) + ")");
}
