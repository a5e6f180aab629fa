#pragma once
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace ado {

class Connection;

using Rows = QVector<QVector<QVariant>>;

// A statement's whole result, read in one go: a value any thread may hold.
struct Table {
    QStringList columns;
    Rows rows;
};
Table ReadAll(Connection& connection, const QString& statement);

// Runs the statements at the same time, each on a session of its own: the first on the given
// connection, the others on new connections opened alike in threads of their own (the server
// runs one statement on one core). Gives every statement's rows, in order. When any fails, the
// first failure is raised once all have finished.
QVector<Rows> QueryAtOnce(Connection& connection, const QStringList& statements);

}  // namespace ado
