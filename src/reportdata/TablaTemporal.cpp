#include "reportdata/TablaTemporal.h"

#include "platform/ado/Connection.h"
#include "platform/vb/RuntimeError.h"
#include "reportdata/CopiaEstructura.h"

TablaTemporal::TablaTemporal(ado::Connection& conexion, const QString& plantilla)
    : cTabla(CopiaEstructura(conexion, plantilla)), conexion_(conexion) {}

TablaTemporal::~TablaTemporal() {
    if (borrada_) return;
    try {
        conexion_.Execute("Drop table if exists " + cTabla);
    } catch (const RuntimeError&) {
        // The connection itself failed; the failure being reported says why.
    }
}

void TablaTemporal::Borra() {
    conexion_.Execute("Drop table " + cTabla);
    borrada_ = true;
}
