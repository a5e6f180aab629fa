#include "Connection.h"

#include <QAtomicInt>
#include <QSqlDatabase>
#include <QSqlError>

#include "../vb/RuntimeError.h"

namespace ado {
namespace {

QAtomicInt contador;

RuntimeError ErrorDe(const QSqlError& error, const QString& statement) {
    bool ok = false;
    int numero = error.nativeErrorCode().toInt(&ok);
    QString texto = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return RuntimeError(ok ? numero : -2147467259, texto, statement);
}

}  // namespace

Connection::Connection() : name_(QString("ado-%1").arg(contador.fetchAndAddRelaxed(1))) {}

Connection::~Connection() {
    Close();
}

void Connection::Open(const QString& server, const QString& port, const QString& user,
                      const QString& password, const QString& database) {
    Close();
    QSqlDatabase db = QSqlDatabase::addDatabase("QMYSQL", name_);
    db.setHostName(server);
    db.setPort(port.trimmed().toInt());
    db.setUserName(user);
    db.setPassword(password);
    db.setDatabaseName(database);
    if (!db.open()) {
        RuntimeError error = ErrorDe(db.lastError(), {});
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
        throw error;
    }
    database_ = database;
    Execute("SET NAMES utf8mb4");
}

void Connection::Close() {
    if (!QSqlDatabase::contains(name_)) return;
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name_);
    database_.clear();
}

bool Connection::IsOpen() const {
    return QSqlDatabase::contains(name_) && QSqlDatabase::database(name_, false).isOpen();
}

void Connection::Execute(const QString& statement) {
    Query(statement);
}

QSqlQuery Connection::Query(const QString& statement) {
    if (!IsOpen())
        throw RuntimeError(3704, "La operación no se permite si el objeto está cerrado.",
                           statement);
    QSqlQuery query(QSqlDatabase::database(name_, false));
    query.setForwardOnly(true);
    if (!query.exec(statement)) throw ErrorDe(query.lastError(), statement);
    return query;
}

}  // namespace ado
