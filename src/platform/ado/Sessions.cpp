#include "platform/ado/Sessions.h"

#include "platform/ado/Connection.h"

namespace ado {

void Sessions::Add(int id) {
    QMutexLocker lock(&mutex_);
    ids_ << id;
}

void Sessions::Remove(int id) {
    QMutexLocker lock(&mutex_);
    ids_.removeAll(id);
}

void Sessions::Cancel(Connection& other) {
    cancelled_ = true;
    // Killed while the list is held: a session leaving waits, so a late kill never reaches a
    // statement of its own that follows (dropping the work table).
    QMutexLocker lock(&mutex_);
    for (int id : ids_) {
        try {
            other.Execute("KILL QUERY " + QString::number(id));
        } catch (const RuntimeError&) {
            // The session ended meanwhile: nothing left to stop there.
        }
    }
}

}  // namespace ado
