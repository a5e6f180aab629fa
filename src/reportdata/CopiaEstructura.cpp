#include "reportdata/CopiaEstructura.h"

#include <QCryptographicHash>
#include <QSqlQuery>
#include <QStringList>

#include "platform/ado/Connection.h"
#include "platform/ado/Quote.h"
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

QString CandadoDe(ado::Connection& conexion, const QString& tabla) {
    // Lock names are short on some servers: the database goes in as a digest.
    const QByteArray base =
        QCryptographicHash::hash(conexion.DefaultDatabase().toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    return ado::Quote("miravel." + QString::fromLatin1(base) + "." + tabla);
}

namespace {

bool TomaCandado(ado::Connection& conexion, const QString& tabla) {
    QSqlQuery q = conexion.Query("SELECT GET_LOCK(" + CandadoDe(conexion, tabla) + ",0)");
    return q.next() && q.value(0).toInt() == 1;
}

}  // namespace

void ReclamaTablasHuerfanas(ado::Connection& conexion) {
    QSqlQuery marcadas = conexion.Query(
        "SELECT TABLE_NAME FROM information_schema.TABLES WHERE TABLE_SCHEMA=DATABASE() AND "
        "TABLE_NAME LIKE 'tbltemp%' AND TABLE_COMMENT=" +
        ado::Quote(kMarcaDeTrabajo));
    QStringList tablas;
    while (marcadas.next()) tablas << marcadas.value(0).toString();
    // A free lock means the run that made the table is gone; holding it, nobody else drops it.
    for (const QString& tabla : tablas)
        if (TomaCandado(conexion, tabla)) {
            conexion.Execute("Drop table if exists " + ado::QuoteIdentifier(tabla));
            conexion.Execute("SELECT RELEASE_LOCK(" + CandadoDe(conexion, tabla) + ")");
        }
}

QString CopiaEstructura(ado::Connection& conexion, const QString& plantilla) {
    ado::Recordset rs;
    oBasesDD->AbrirTabla(rs, conexion, "Show create table orvaloreportes." + plantilla);
    const QString creacion = rs.Fields(1).toString() + " COMMENT=" + ado::Quote(kMarcaDeTrabajo);
    oBasesDD->CierraTabla(rs);
    // The table's lock is taken before the table exists and held for its whole life. A plain
    // CREATE TABLE: when another program took the free name first, the server says so and we
    // take the next one, so no two prints ever share a table.
    for (int n = PrimerNumeroLibre(conexion, 0);; n = PrimerNumeroLibre(conexion, n + 1)) {
        const QString nombre = "tbltemp" + QString::number(n);
        if (!TomaCandado(conexion, nombre)) continue;
        try {
            conexion.Execute(QString(creacion).replace(plantilla, nombre));
            return nombre;
        } catch (const RuntimeError& e) {
            conexion.Execute("SELECT RELEASE_LOCK(" + CandadoDe(conexion, nombre) + ")");
            if (e.Number() != mysqlError::kTablaExiste) throw;
        }
    }
}
