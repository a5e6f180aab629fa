#include "platform/ado/Sessions.h"

#include "platform/ado/Connection.h"

namespace ado {

void Sessions::Add(int id, const QString& node) {
    QMutexLocker lock(&mutex_);
    sessions_ << Session{id, node};
}

void Sessions::Remove(int id) {
    QMutexLocker lock(&mutex_);
    sessions_.removeIf([id](const Session& s) { return s.id == id; });
}

QStringList Sessions::Nodes() const {
    QMutexLocker lock(&mutex_);
    QStringList nodes;
    for (const Session& s : sessions_)
        if (!nodes.contains(s.node)) nodes << s.node;
    return nodes;
}

void Sessions::Cancel(Connection& other) {
    Stop();
    // Killed while the list is held: a session leaving waits, so a late kill never reaches a
    // statement of its own that follows (dropping the work table). An id on another node is a
    // stranger's session there.
    QMutexLocker lock(&mutex_);
    for (const Session& s : sessions_) {
        if (s.node != other.Node()) continue;
        try {
            other.Execute("KILL QUERY " + QString::number(s.id));
        } catch (const RuntimeError&) {
            // The session ended meanwhile: nothing left to stop there.
        }
    }
}

}  // namespace ado
