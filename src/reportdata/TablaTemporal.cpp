#include "reportdata/TablaTemporal.h"

#include "platform/ado/Connection.h"
#include "platform/vb/RuntimeError.h"
#include "reportdata/CopiaEstructura.h"

namespace {
// Seconds a cleanup waits for an answer on a session opened again: a server that made the
// report wait (a full disk) does not make its cleanup wait as long.
const int kEsperaDeLimpieza = 10;
}  // namespace

TablaTemporal::TablaTemporal(ado::Connection& conexion, const QString& plantilla)
    : conexion_(conexion), ficha_(NuevaFicha()), sesion_(conexion.Id()) {
    ReclamaTablasHuerfanas(conexion_);
    cTabla = CopiaEstructura(conexion_, plantilla, ficha_);
}

TablaTemporal::~TablaTemporal() {
    if (borrada_) return;
    conexion_.LeaveSessions();
    try {
        // A session lost on the way is opened again to drop the table, if it is still ours.
        SueltaTabla(conexion_, cTabla, ficha_,
                    conexion_.EnsureOpen(kEsperaDeLimpieza) ? sesion_ : 0, "Drop table if exists");
    } catch (const RuntimeError&) {
        // No server to drop it on; the next run reclaims it, as its lock is free by then.
    }
}

void TablaTemporal::Borra() {
    conexion_.LeaveSessions();
    // A session lost while the report was open (a viewer left overnight) drops the table only
    // if no other run has taken its name since.
    SueltaTabla(conexion_, cTabla, ficha_, conexion_.EnsureOpen() ? sesion_ : 0, "Drop table");
    borrada_ = true;
}
