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
    QList<int> ids;
    {
        QMutexLocker lock(&mutex_);
        ids = ids_;
    }
    for (int id : ids) {
        try {
            other.Execute("KILL QUERY " + QString::number(id));
        } catch (const RuntimeError&) {
            // The session ended meanwhile: nothing left to stop there.
        }
    }
}

}  // namespace ado
