#pragma once
#include <QSet>
#include <QString>
#include <optional>

namespace ado {
class Connection;
}

// The server a session is on, as the tables a run makes name it. A named lock holds on one
// server only, while on a Galera cluster a table's CREATE and DROP run on every node: a run
// judges by lock only the tables its own server made.
struct Nodo {
    // The server, as every table of a run names it: a short digest of its identity (the node's
    // group UUID on a cluster, host and port otherwise).
    QString huella;
    bool enCluster = false;
    // The digests of the cluster's members, when the server lists them and is in the cluster's
    // primary component; otherwise no other node is known to be gone.
    std::optional<QSet<QString>> miembros;

    // A member's tables are judged by its own locks; a gone node's by nobody.
    bool Ido(const QString& otra) const { return miembros && !miembros->contains(otra); }
};

Nodo NodoDe(ado::Connection& conexion);
// A server's digest as its tables name it: older versions named it by its identity itself.
QString HuellaDe(const QString& servidor);
