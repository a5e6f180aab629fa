#include "platform/ado/QueryAtOnce.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <exception>
#include <thread>
#include <vector>

#include "platform/ado/Connection.h"

namespace ado {

Table ReadAll(Connection& connection, const QString& statement) {
    QSqlQuery query = connection.Query(statement);
    Table table;
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i) table.columns << record.fieldName(i);
    while (query.next()) {
        QVector<QVariant> row(record.count());
        for (int i = 0; i < record.count(); ++i) row[i] = query.value(i);
        table.rows << row;
    }
    return table;
}

QVector<Rows> QueryAtOnce(Connection& connection, const QStringList& statements) {
    QVector<Rows> results(statements.size());
    std::vector<std::exception_ptr> failures(statements.size());
    std::vector<std::thread> workers;
    for (int i = 1; i < statements.size(); ++i)
        workers.emplace_back([&, i] {
            try {
                Connection own;  // a session belongs to the thread that opened it
                own.OpenLike(connection);
                results[i] = ReadAll(own, statements[i]).rows;
            } catch (...) {
                failures[i] = std::current_exception();
            }
        });
    try {
        if (!statements.isEmpty()) results[0] = ReadAll(connection, statements[0]).rows;
    } catch (...) {
        failures[0] = std::current_exception();
    }
    for (std::thread& worker : workers) worker.join();
    for (const std::exception_ptr& failure : failures)
        if (failure) std::rethrow_exception(failure);
    return results;
}

}  // namespace ado
