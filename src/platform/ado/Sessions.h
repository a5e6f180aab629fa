#pragma once
#include <QList>
#include <QMutex>
#include <atomic>

namespace ado {

class Connection;

// The server sessions of one piece of work, so that it can be stopped as a whole from another
// thread: every statement running in them is killed, and none starts after.
class Sessions {
  public:
    void Add(int id);
    void Remove(int id);
    bool Cancelled() const { return cancelled_; }
    // Stops the work: KILL QUERY of each session, sent over another connection.
    void Cancel(Connection& other);

  private:
    mutable QMutex mutex_;
    QList<int> ids_;
    std::atomic<bool> cancelled_ = false;
};

}  // namespace ado
