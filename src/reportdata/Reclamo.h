#pragma once
#include <QString>
#include <QStringList>
#include <functional>

namespace ado {
class Connection;
}

// What a run that is gone left on the server: a work table, or the tables of a template renewal
// stopped half way. Its run held the named lock `candado` while it lived.
struct Dejada {
    QString servidor;  // the digest of the server that made it (Nodo.h); empty: an older run's
    QString candado;
    QStringList tablas;             // dropped together
    std::function<bool()> intacta;  // still the one found, asked again under the lock
};

// One rule for everything a run leaves: what this server made is dropped once its lock is free
// (the run is gone; a live run holds it, and a lock holds on one server only); what a node that
// left the cluster made is dropped by anyone; what an older run made, which names no server, is
// judged by lock where there is one server and left alone on a cluster.
void Reclama(ado::Connection& conexion, const QList<Dejada>& dejadas);
