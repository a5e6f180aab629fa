#pragma once
#include <QSqlQuery>
#include <QString>

namespace ado {

// A connection to a MySQL or MariaDB server over Qt SQL's MySQL driver, utf8mb4 both ways.
class Connection {
  public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void Open(const QString& server, const QString& port, const QString& user,
              const QString& password, const QString& database);
    void Close();
    bool IsOpen() const;
    QString DefaultDatabase() const { return database_; }

    // Runs a statement and ignores any result.
    void Execute(const QString& statement);
    // Runs a statement and hands back its whole result, read in one go.
    QSqlQuery Query(const QString& statement);

  private:
    QString name_;
    QString database_;
};

}  // namespace ado
