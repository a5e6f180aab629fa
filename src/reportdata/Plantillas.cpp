#include "reportdata/Plantillas.h"

#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>
#include <QStringList>

#include "platform/ado/Connection.h"
#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"
#include "reportdata/CopiaEstructura.h"
#include "reportdata/Globales.h"
#include "reportdata/Nodo.h"
#include "reportdata/Reclamo.h"
#include "reportdata/Sentencias.h"

namespace reportdata {

QString CreaVentasde3y() {
    QString sql = "CREATE TABLE if not exists `ventasde3y` (";
    sql += "`Año` smallint(6) NOT NULL DEFAULT '0',";
    for (const QString& mes : kMeses) sql += "`" + mes + "`" + " double NOT NULL DEFAULT '0',";
    sql += "KEY `DeAño` (`Año`)";
    sql += ") ENGINE=MyISAM";
    return sql;
}

QString CreaVentasde3yporvend() {
    return QString("CREATE TABLE if not exists `ventasde3yporvend` (") +
           "`Vendedor` varchar(10) NOT NULL DEFAULT ''," + "`Anio1` double NOT NULL DEFAULT '0'," +
           "`Anio2` double NOT NULL DEFAULT '0'," + "`Anio3` double NOT NULL DEFAULT '0'," +
           "`cAnio1` char(4) NOT NULL DEFAULT ''," + "`cAnio2` char(4) NOT NULL DEFAULT ''," +
           "`cAnio3` char(4) NOT NULL DEFAULT ''," + "PRIMARY KEY `Vendedor` (`Vendedor`)" +
           ") ENGINE=MyISAM";
}

QString NormalizaVersion(const QString& version) {
    QStringList partes = version.split('.', Qt::KeepEmptyParts);
    if (version.isEmpty()) return {};
    for (QString& parte : partes) parte = oLibreria->Pad(parte, 4, "0", 2);
    return partes.join(QString());
}

namespace {

// The tables of a renewal: the new template and the old one, named after the session and its
// server (session ids repeat across the nodes of a cluster), and held through the new one's lock
// for as long as the renewal runs.
struct Renovacion {
    QString nueva, vieja;
    Renovacion(const QString& nombre, const QString& sesion, const QString& servidor) {
        const QString sufijo = sesion + (servidor.isEmpty() ? QString() : "_" + servidor);
        nueva = nombre + "_nueva" + sufijo;
        vieja = nombre + "_vieja" + sufijo;
    }
};

// Drops what renewals that were stopped half way left, by the rule of every run's tables.
void ReclamaRenovaciones(ado::Connection& conexion) {
    static const QRegularExpression suya(
        "^(ventasde3y|ventasde3yporvend)_(?:nueva|vieja)(\\d+)(?:_([0-9a-f]{8}))?$");
    QSqlQuery tablas = conexion.Query(
        "SELECT TABLE_NAME FROM information_schema.TABLES WHERE TABLE_SCHEMA=DATABASE() AND "
        "(TABLE_NAME LIKE '%!_nueva%' ESCAPE '!' OR TABLE_NAME LIKE '%!_vieja%' ESCAPE '!')");
    QSet<QString> vistas;
    QList<Dejada> dejadas;
    while (tablas.next())
        if (const auto m = suya.match(tablas.value(0).toString()); m.hasMatch()) {
            const Renovacion r(m.captured(1), m.captured(2), m.captured(3));
            if (vistas.contains(r.nueva)) continue;
            vistas.insert(r.nueva);
            dejadas << Dejada{m.captured(3), r.nueva, {r.nueva, r.vieja}, [] { return true; }};
        }
    Reclama(conexion, dejadas);
}

// A template made anew without ever being missing: the new one is built under a name of this
// session's own and swapped in with one RENAME TABLE, so a program starting at the same moment
// always finds one.
void Renueva(ado::Connection& conexion, const QString& nombre, const QString& creacion) {
    QSqlQuery id = conexion.Query("SELECT CONNECTION_ID()");
    id.next();
    const Renovacion renovacion(nombre, id.value(0).toString(), NodoDe(conexion).huella);
    const QString &nueva = renovacion.nueva, &vieja = renovacion.vieja;
    TomaCandado(conexion, nueva);  // free: the session is this one, and any earlier was reclaimed
    const QString borra = "Drop table if exists " + nueva + "," + vieja;
    try {
        conexion.Execute(borra);
        conexion.Execute(QString(creacion).replace("`" + nombre + "`", "`" + nueva + "`"));
        try {
            conexion.Execute("Rename table " + nombre + " to " + vieja + "," + nueva + " to " +
                             nombre);
        } catch (const RuntimeError& e) {
            if (e.Number() != mysqlError::kTablaNoExiste) throw;
            // No template yet: the new one takes the name, unless another program's did first.
            try {
                conexion.Execute("Rename table " + nueva + " to " + nombre);
            } catch (const RuntimeError& otra) {
                if (otra.Number() != mysqlError::kTablaExiste) throw;
            }
        }
        conexion.Execute(borra);
    } catch (const RuntimeError&) {
        // A renewal the server refused (a missing right, a full disk) leaves nothing of its own.
        try {
            conexion.Execute(borra);
            SueltaCandado(conexion, nueva);
        } catch (const RuntimeError&) {
            // No server to drop them on: the next start reclaims them.
        }
        throw;
    }
    SueltaCandado(conexion, nueva);
}

}  // namespace

void PreparaPlantillas(ado::Connection& conexion, bool conVersion) {
    oBasesDD->AbrirBdD(conexion, kBaseReportes);
    const QString registrada = conVersion ? oRegistro->DatosORW("ActualizacionVersion") : QString();
    const bool renueva =
        conVersion && NormalizaVersion(registrada) < NormalizaVersion(kVersionPlantillasActuales);
    ReclamaRenovaciones(conexion);
    for (const auto& [nombre, creacion] :
         {std::pair{QString("ventasde3y"), CreaVentasde3y()},
          std::pair{QString("ventasde3yporvend"), CreaVentasde3yporvend()}}) {
        if (renueva) Renueva(conexion, nombre, creacion);
        conexion.Execute(creacion);
    }
    oBasesDD->AbrirBdD(conexion, oBasesDD->cMiBase);
}

}  // namespace reportdata
