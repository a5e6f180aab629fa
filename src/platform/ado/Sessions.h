#pragma once
#include <QList>
#include <QMutex>
#include <QStringList>
#include <atomic>

namespace ado {

class Connection;

// The server sessions of one piece of work, so that it can be stopped as a whole from another
// thread: every statement running in them is killed, and none starts after.
class Sessions {
  public:
    // node: the cluster node the session is on (Connection::Node); ids are that node's own.
    void Add(int id, const QString& node);
    void Remove(int id);
    bool Cancelled() const { return cancelled_; }
    // No statement starts from now on.
    void Stop() { cancelled_ = true; }
    // The nodes the sessions are on, each once.
    QStringList Nodes() const;
    // Stops the work: KILL QUERY of each session on the node other is on, sent over other.
    void Cancel(Connection& other);

  private:
    struct Session {
        int id;
        QString node;
    };
    mutable QMutex mutex_;
    QList<Session> sessions_;
    std::atomic<bool> cancelled_ = false;
};

}  // namespace ado
