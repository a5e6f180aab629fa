#include "reportdata/Nodo.h"

#include <QCryptographicHash>
#include <QHash>
#include <QRegularExpression>
#include <QSqlQuery>

#include "platform/ado/Connection.h"
#include "platform/vb/RuntimeError.h"

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

// The digests of the members' identities and of their names: an older version marked its tables
// with a node's name, and a live member's are never taken for a gone node's. The list comes
// from the plugin wsrep_info (to SUPER), else from mysql.wsrep_cluster_members (a right to read
// mysql).
std::optional<QSet<QString>> Miembros(ado::Connection& conexion) {
    if (Variables(conexion, "SHOW STATUS LIKE 'wsrep_cluster_status'")
            .value("wsrep_cluster_status") != "Primary")
        return std::nullopt;
    for (const char* lista : {"SELECT UUID, NAME FROM information_schema.WSREP_MEMBERSHIP",
                              "SELECT node_uuid, node_name FROM mysql.wsrep_cluster_members"}) {
        try {
            QSqlQuery q = conexion.Query(lista);
            QSet<QString> huellas;
            while (q.next())
                huellas << Huella(q.value(0).toString()) << Huella(q.value(1).toString());
            if (!huellas.isEmpty()) return huellas;
        } catch (const RuntimeError&) {
            // No plugin, or no right to the table: the next list, or none.
        }
    }
    return std::nullopt;
}

}  // namespace

Nodo NodoDe(ado::Connection& conexion) {
    Nodo nodo;
    // A node's group UUID: unique even where the nodes keep the host's name as theirs.
    nodo.enCluster = !conexion.Node().isEmpty();
    if (nodo.enCluster) {
        nodo.huella = Huella(conexion.Node());
        nodo.miembros = Miembros(conexion);
        return nodo;
    }
    const QHash<QString, QString> v =
        Variables(conexion, "SHOW VARIABLES WHERE Variable_name IN ('hostname','port')");
    nodo.huella = Huella(v.value("hostname") + ":" + v.value("port"));
    return nodo;
}

QString HuellaDe(const QString& servidor) {
    static const QRegularExpression huella("^[0-9a-f]{8}$");
    return huella.match(servidor).hasMatch() ? servidor : Huella(servidor);
}
