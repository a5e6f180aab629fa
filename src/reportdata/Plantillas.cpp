#include "reportdata/Plantillas.h"

#include <QStringList>

#include "platform/ado/Connection.h"
#include "reportdata/Globales.h"
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

void PreparaPlantillas(ado::Connection& conexion, bool conVersion) {
    oBasesDD->AbrirBdD(conexion, kBaseReportes);
    const QString registrada = conVersion ? oRegistro->DatosORW("ActualizacionVersion") : QString();
    if (conVersion && NormalizaVersion(registrada) < NormalizaVersion(kVersionPlantillasActuales)) {
        conexion.Execute(kBorraVentasde3y);
        conexion.Execute(kBorraVentasde3yporvend);
    }
    conexion.Execute(CreaVentasde3y());
    conexion.Execute(CreaVentasde3yporvend());
    oBasesDD->AbrirBdD(conexion, oBasesDD->cMiBase);
}

}  // namespace reportdata
