#include "reportdata/ClaveVendedor.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QStringList>
#include <algorithm>

#include "platform/ado/Connection.h"
#include "platform/ado/Quote.h"

namespace reportdata {

bool ClaveCabe(ado::Connection& conexion, const QString& clave) {
    // Every character set holds ASCII.
    if (std::all_of(clave.begin(), clave.end(), [](QChar c) { return c.unicode() < 128; }))
        return true;
    QSqlQuery juegos = conexion.Query(
        "SELECT DISTINCT CHARACTER_SET_NAME FROM information_schema.COLUMNS WHERE "
        "TABLE_SCHEMA=DATABASE() AND COLUMN_NAME IN ('Vendedor','Clave') AND "
        "CHARACTER_SET_NAME IS NOT NULL AND TABLE_NAME NOT LIKE 'tbltemp%'");
    static const QRegularExpression nombre("^[A-Za-z0-9_]+$");
    const QString texto = "CONVERT(" + ado::Quote(clave) + " USING utf8mb4)";
    QStringList pruebas;
    while (juegos.next())
        if (nombre.match(juegos.value(0).toString()).hasMatch())
            pruebas << "CONVERT(CONVERT(" + texto + " USING " + juegos.value(0).toString() +
                           ") USING utf8mb4) COLLATE utf8mb4_bin=" + texto;
    if (pruebas.isEmpty()) return true;
    QSqlQuery cabe = conexion.Query("SELECT " + pruebas.join(" AND "));
    return cabe.next() && cabe.value(0).toInt() == 1;
}

QString ClaveVendedor(const Seleccion& s) {
    return s.claveSinCabida ? QString("NULL") : ado::Quote(s.vendedor);
}

}  // namespace reportdata
