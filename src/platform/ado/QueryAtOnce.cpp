#include "platform/ado/QueryAtOnce.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <exception>
#include <thread>
#include <vector>

#include "platform/ado/Connection.h"

namespace ado {
namespace {

Rows ReadAll(Connection& connection, const QString& statement) {
    QSqlQuery query = connection.Query(statement);
    Rows rows;
    const int columns = query.record().count();
    while (query.next()) {
        QVector<QVariant> row(columns);
        for (int i = 0; i < columns; ++i) row[i] = query.value(i);
        rows << row;
    }
    return rows;
}

}  // namespace

QVector<Rows> QueryAtOnce(Connection& connection, const QStringList& statements) {
    QVector<Rows> results(statements.size());
    std::vector<std::exception_ptr> failures(statements.size());
    std::vector<std::thread> workers;
    for (int i = 1; i < statements.size(); ++i)
        workers.emplace_back([&, i] {
            try {
                Connection own;  // a session belongs to the thread that opened it
                own.OpenLike(connection);
                results[i] = ReadAll(own, statements[i]);
            } catch (...) {
                failures[i] = std::current_exception();
            }
        });
    try {
        if (!statements.isEmpty()) results[0] = ReadAll(connection, statements[0]);
    } catch (...) {
        failures[0] = std::current_exception();
    }
    for (std::thread& worker : workers) worker.join();
    for (const std::exception_ptr& failure : failures)
        if (failure) std::rethrow_exception(failure);
    return results;
}

}  // namespace ado
