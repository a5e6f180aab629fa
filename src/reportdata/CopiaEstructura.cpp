#include "reportdata/CopiaEstructura.h"

#include "platform/ado/Connection.h"
#include "platform/ado/Recordset.h"
#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"
#include "reportdata/Globales.h"

namespace {

const int kUltimoNumero = 32767;

// The first free "tbltemp" number from desde on.
int PrimerNumeroLibre(ado::Connection& conexion, int desde) {
    for (int n = desde; n <= kUltimoNumero; ++n) {
        QString nombre = "tbltemp" + QString::number(n);
        if (!oBasesDD->HayTabla(nombre, conexion)) return n;
    }
    throw RuntimeError(
        vbError::kDesbordamiento,
        QString("Desbordamiento: las tablas tbltemp0 a tbltemp%1 ya existen.").arg(kUltimoNumero));
}

}  // namespace

QString NombreTablaTemporal(ado::Connection& conexion) {
    return "tbltemp" + QString::number(PrimerNumeroLibre(conexion, 0));
}

QString CopiaEstructura(ado::Connection& conexion, const QString& plantilla) {
    ado::Recordset rs;
    oBasesDD->AbrirTabla(rs, conexion, "Show create table orvaloreportes." + plantilla);
    const QString creacion = rs.Fields(1).toString();
    oBasesDD->CierraTabla(rs);
    // A plain CREATE TABLE: when another program took the free name first, the server says
    // so and we take the next one, so no two prints ever share a table.
    for (int n = PrimerNumeroLibre(conexion, 0);; n = PrimerNumeroLibre(conexion, n + 1)) {
        const QString nombre = "tbltemp" + QString::number(n);
        try {
            conexion.Execute(QString(creacion).replace(plantilla, nombre));
            return nombre;
        } catch (const RuntimeError& e) {
            if (e.Number() != mysqlError::kTablaExiste) throw;
        }
    }
}
