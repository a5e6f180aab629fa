#include "reportdata/Nodo.h"

#include <QCryptographicHash>
#include <QHash>
#include <QRegularExpression>
#include <QSqlQuery>

#include "platform/ado/Connection.h"

namespace {

// SHOW rather than @@: a server without Galera has no wsrep variables.
QHash<QString, QString> Variables(ado::Connection& conexion, const QString& cuales) {
    QSqlQuery q = conexion.Query(cuales);
    QHash<QString, QString> valores;
    while (q.next()) valores.insert(q.value(0).toString().toLower(), q.value(1).toString());
    return valores;
}

QString Huella(const QString& identidad) {
    return QString::fromLatin1(
        QCryptographicHash::hash(identidad.toUtf8(), QCryptographicHash::Sha1).toHex().left(8));
}

std::optional<QSet<QString>> Miembros(ado::Connection& conexion) {
    if (Variables(conexion, "SHOW STATUS LIKE 'wsrep_cluster_status'")
            .value("wsrep_cluster_status") != "Primary")
        return std::nullopt;
    QSqlQuery tabla = conexion.Query(
        "SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA='information_schema' "
        "AND TABLE_NAME='WSREP_MEMBERSHIP'");
    if (!tabla.next() || tabla.value(0).toInt() == 0) return std::nullopt;
    QSqlQuery q = conexion.Query("SELECT NAME FROM information_schema.WSREP_MEMBERSHIP");
    QSet<QString> nombres;
    while (q.next()) nombres.insert(Huella(q.value(0).toString()));
    if (nombres.isEmpty()) return std::nullopt;
    return nombres;
}

}  // namespace

Nodo NodoDe(ado::Connection& conexion) {
    const QHash<QString, QString> v = Variables(conexion,
                                                "SHOW VARIABLES WHERE Variable_name IN "
                                                "('wsrep_on','wsrep_node_name','hostname','port')");
    Nodo nodo;
    nodo.enCluster = v.value("wsrep_on") == "ON";
    if (!nodo.enCluster) {
        nodo.huella = Huella(v.value("hostname") + ":" + v.value("port"));
        return nodo;
    }
    nodo.huella = Huella(v.value("wsrep_node_name"));
    nodo.miembros = Miembros(conexion);
    return nodo;
}

QString HuellaDe(const QString& servidor) {
    static const QRegularExpression huella("^[0-9a-f]{8}$");
    return huella.match(servidor).hasMatch() ? servidor : Huella(servidor);
}
