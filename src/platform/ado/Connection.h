#pragma once
#include <QHash>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

#include "platform/ado/Sessions.h"
#include "platform/vb/RuntimeError.h"

namespace ado {

// What writing rows into a table needs to know: its key and the defaults of its columns.
struct TableSchema {
    QStringList key;
    QHash<QString, QVariant> defaults;  // by lower-cased column name
};

// What opening a session takes: a value, so another thread may open one like it.
struct ConnectionSettings {
    QString server, port, user, password, database;
};

// A connection to a MySQL or MariaDB server over Qt SQL's MySQL driver, utf8mb4 both ways.
class Connection {
  public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void Open(const QString& server, const QString& port, const QString& user,
              const QString& password, const QString& database);
    void Open(const ConnectionSettings& settings);
    // Opens a new session with the settings another connection was opened with, in the same
    // work's sessions. Both belong to the calling thread.
    void OpenLike(const Connection& other);
    // Opens a session on the cluster node given (Node), trying a few times where a balancer
    // spreads the sessions; false when none landed there.
    bool OpenOn(const ConnectionSettings& settings, const QString& node);
    ConnectionSettings Settings() const;
    void Close();
    bool IsOpen() const;
    // A session the server dropped (a restart, an idle timeout, a KILL) is opened again with
    // the same settings, once and silently. For the moments between statements only. True when
    // a new session was opened: what the old one held (its named locks) is gone. querySeconds,
    // when given, is the new session's wait for an answer (a cleanup's short one).
    bool EnsureOpen(int querySeconds = 0);

    // Seconds to wait for the server to accept a session, and for any one answer, for every
    // connection opened from now on. Without an answer in time the statement fails.
    static void SetTimeouts(int connectSeconds, int querySeconds);

    // The sessions this connection opens from now on (and those opened like it) belong to a
    // piece of work that another thread may stop; once stopped, statements fail at once.
    void JoinSessions(std::shared_ptr<Sessions> sessions) { sessions_ = std::move(sessions); }
    // The work this connection's sessions belong to was stopped.
    bool Cancelled() const { return sessions_ && sessions_->Cancelled(); }
    // Leaves the work's sessions: what follows (dropping its table) runs even once stopped.
    void LeaveSessions();
    QString DefaultDatabase() const { return settings_.database; }
    // The server's id of the session; 0 when none is open. Ids are a node's own on a cluster.
    int Id() const { return id_; }
    // The cluster node the session is on (its group UUID, unique even when names repeat);
    // empty off a cluster.
    const QString& Node() const { return node_; }

    // Runs a statement and ignores any result.
    void Execute(const QString& statement);
    // Runs a statement and hands back its whole result, read in one go.
    QSqlQuery Query(const QString& statement);
    // The key and column defaults of a table, read once per table and set of columns.
    const TableSchema& Schema(const QString& table, const QStringList& columns);

  private:
    // waited: the seconds a statement waited before the client gave up, 0 for other failures.
    RuntimeError Failure(const class QSqlError& error, const QString& statement,
                         int waited = 0) const;
    // A statement the client stopped waiting for goes on on the server: it is killed there.
    void KillOnServer() const;
    int QuerySeconds() const;

    QString name_;
    int id_ = 0;  // the server's id of the session
    QString node_;
    int querySeconds_ = 0;  // this connection's own wait for an answer; 0: the common one
    std::shared_ptr<Sessions> sessions_;
    ConnectionSettings settings_;
    QHash<QString, TableSchema> schemas_;
};

}  // namespace ado
