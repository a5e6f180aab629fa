#pragma once
#include <QSet>
#include <QString>
#include <optional>

namespace ado {
class Connection;
}

// The server a session is on, as the marks of the tables it makes name it. A named lock holds on
// one server only, while on a Galera cluster a table's CREATE and DROP run on every node: a run
// judges by lock only the tables its own server made.
struct Nodo {
    QString identidad;  // the node's name on a cluster; host and port otherwise
    bool enCluster = false;
    // The names of the cluster's members, when the server lists them (plugin wsrep_info) and is
    // in the cluster's primary component; otherwise no other node is known to be gone.
    std::optional<QSet<QString>> miembros;

    // A member's tables are judged by its own locks; a gone node's by nobody.
    bool Ido(const QString& otro) const { return miembros && !miembros->contains(otro); }
};

Nodo NodoDe(ado::Connection& conexion);
// A short digest of a server's identity, for names that must tell servers apart.
QString Huella(const QString& identidad);
