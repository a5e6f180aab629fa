#include "platform/ado/Connection.h"

#include <QAtomicInt>
#include <QElapsedTimer>
#include <QMutex>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlRecord>

#include "platform/ado/ClientErrors.h"
#include "platform/ado/Quote.h"
#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"

namespace ado {
namespace {

QAtomicInt contador;
// Qt's MySQL driver counts its open connections in a plain static and ends the client library
// when the count reaches zero: connections are added, opened and removed one at a time.
QMutex driver;
QAtomicInt esperaConexion = 10;
QAtomicInt esperaConsulta = 600;

// Client errors of a session that is gone or that did not answer.
bool SinServidor(int numero) {
    return numero == 2002 || numero == 2003 || numero == 2006 || numero == 2013;
}

// Tries of a read that a cluster's certification aborted (see Query).
const int kLecturasAbortadas = 5;

// A statement that only reads: no transaction is ever open, so it is one autocommit statement.
bool SoloLee(const QString& statement) {
    const QString inicio = statement.trimmed().left(6).toUpper();
    return inicio.startsWith("SELECT") || inicio.startsWith("SHOW");
}

// A column default as information_schema gives it (MariaDB quotes texts, MySQL does not).
QVariant Predeterminado(const QVariant& stored) {
    if (stored.isNull()) return {};
    const QString texto = stored.toString();
    if (texto == "NULL") return {};
    if (texto.size() >= 2 && texto.startsWith('\'') && texto.endsWith('\''))
        return texto.mid(1, texto.size() - 2).replace("''", "'");
    bool numero = false;
    const double valor = texto.toDouble(&numero);
    return numero ? QVariant(valor) : QVariant(texto);
}

}  // namespace

Connection::Connection() : name_(QString("ado-%1").arg(contador.fetchAndAddRelaxed(1))) {}

void Connection::SetTimeouts(int connectSeconds, int querySeconds) {
    esperaConexion = connectSeconds;
    esperaConsulta = querySeconds;
}

RuntimeError Connection::Failure(const QSqlError& error, const QString& statement,
                                 int waited) const {
    bool ok = false;
    const int numero = error.nativeErrorCode().toInt(&ok);
    QString texto = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    // A sentence for the person first; the server's own words stay below it.
    const QString explicacion =
        ok ? ExplainClientError(numero, texto, settings_, statement.isEmpty(),
                                SinServidor(numero) ? waited : 0)
           : QString();
    if (!explicacion.isEmpty()) texto = explicacion + "\n\n" + texto;
    return RuntimeError(ok ? numero : vbError::kErrorDeProveedor, texto, statement);
}

Connection::~Connection() {
    Close();
}

void Connection::Open(const QString& server, const QString& port, const QString& user,
                      const QString& password, const QString& database) {
    Open(ConnectionSettings{server, port, user, password, database});
}

void Connection::Open(const ConnectionSettings& settings) {
    Close();
    settings_ = settings;
    {
        QMutexLocker uno(&driver);
        QSqlDatabase db = QSqlDatabase::addDatabase("QMYSQL", name_);
        db.setConnectOptions(QString("MYSQL_OPT_CONNECT_TIMEOUT=%1;MYSQL_OPT_READ_TIMEOUT=%2;"
                                     "MYSQL_OPT_WRITE_TIMEOUT=%2")
                                 .arg(esperaConexion.loadRelaxed())
                                 .arg(QuerySeconds()));
        db.setHostName(settings.server);
        db.setPort(settings.port.trimmed().toInt());
        db.setUserName(settings.user);
        db.setPassword(settings.password);
        db.setDatabaseName(settings.database);
        if (!db.open()) {
            RuntimeError error = Failure(db.lastError(), {});
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name_);
            throw error;
        }
    }
    Execute("SET NAMES utf8mb4");
    QSqlQuery id;
    try {
        id = Query(
            "SELECT CONNECTION_ID(), (SELECT VARIABLE_VALUE FROM information_schema.GLOBAL_STATUS "
            "WHERE VARIABLE_NAME='WSREP_GCOMM_UUID')");
    } catch (const RuntimeError&) {
        id = Query("SELECT CONNECTION_ID()");  // a MySQL keeps the status elsewhere; no cluster
    }
    id_ = id.next() ? id.value(0).toInt() : 0;
    node_ = id.record().count() > 1 ? id.value(1).toString() : QString();
    // On a cluster a read waits until this node has applied what the others committed before:
    // sessions of one report may land on different nodes.
    if (!node_.isEmpty()) Execute("SET SESSION wsrep_sync_wait=1");
    if (sessions_) sessions_->Add(id_, node_);
}

bool Connection::OpenOn(const ConnectionSettings& settings, const QString& node) {
    const int kTries = 8;
    for (int i = 0; i < kTries; ++i) {
        Open(settings);
        if (node_ == node) return true;
    }
    Close();
    return false;
}

int Connection::QuerySeconds() const {
    return querySeconds_ > 0 ? querySeconds_ : esperaConsulta.loadRelaxed();
}

void Connection::OpenLike(const Connection& other) {
    if (other.sessions_) sessions_ = other.sessions_;
    Open(other.Settings());  // a copy first: other may be this very connection
}

ConnectionSettings Connection::Settings() const {
    return settings_;
}

void Connection::LeaveSessions() {
    if (sessions_ && id_) sessions_->Remove(id_);
    sessions_.reset();
}

bool Connection::EnsureOpen(int querySeconds) {
    try {
        Query("SELECT 1");
        return false;
    } catch (const RuntimeError& e) {
        if (!SinServidor(e.Number()) || settings_.server.isEmpty()) throw;
        if (querySeconds > 0) querySeconds_ = querySeconds;
        OpenLike(*this);
        return true;
    }
}

void Connection::KillOnServer() const {
    if (!id_ || settings_.server.isEmpty()) return;
    try {
        Connection other;
        other.querySeconds_ = esperaConexion.loadRelaxed();
        if (other.OpenOn(settings_, node_)) other.Execute("KILL " + QString::number(id_));
    } catch (const RuntimeError&) {
        // No server to reach, or the session ended meanwhile: nothing runs there.
    }
}

void Connection::Close() {
    schemas_.clear();
    if (sessions_ && id_) sessions_->Remove(id_);
    id_ = 0;
    node_.clear();
    QMutexLocker uno(&driver);
    if (!QSqlDatabase::contains(name_)) return;
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name_);
    settings_.database.clear();
}

bool Connection::IsOpen() const {
    return QSqlDatabase::contains(name_) && QSqlDatabase::database(name_, false).isOpen();
}

void Connection::Execute(const QString& statement) {
    Query(statement);
}

QSqlQuery Connection::Query(const QString& statement) {
    if (!IsOpen())
        throw RuntimeError(vbError::kObjetoCerrado,
                           "La operación no se permite si el objeto está cerrado.", statement);
    if (sessions_ && sessions_->Cancelled())
        throw RuntimeError(mysqlError::kConsultaInterrumpida, "La consulta fue cancelada.",
                           statement);
    QSqlQuery query(QSqlDatabase::database(name_, false));
    query.setForwardOnly(true);
    for (int vez = 1;; ++vez) {
        QElapsedTimer clock;
        clock.start();
        if (query.exec(statement)) return query;
        const bool timedOut = clock.elapsed() >= 1000LL * QuerySeconds();
        const RuntimeError failure =
            Failure(query.lastError(), statement, timedOut ? QuerySeconds() : 0);
        if (timedOut && SinServidor(failure.Number())) KillOnServer();
        // On a Galera cluster a table made or dropped on another node aborts a read of that
        // table's metadata here at that moment (1213); a read has no effect, so it runs again.
        if (failure.Number() != mysqlError::kInterbloqueo || vez == kLecturasAbortadas ||
            !SoloLee(statement))
            throw failure;
    }
}

const TableSchema& Connection::Schema(const QString& table, const QStringList& columns) {
    // A table of the same name may be dropped and made again with other columns.
    const QString clave = table + "\n" + columns.join(',');
    if (auto i = schemas_.constFind(clave); i != schemas_.constEnd()) return *i;
    QSqlQuery q = Query(
        "SELECT COLUMN_NAME, COLUMN_DEFAULT, COLUMN_KEY FROM information_schema.COLUMNS "
        "WHERE TABLE_SCHEMA=DATABASE() AND TABLE_NAME=" +
        Quote(table) + " ORDER BY ORDINAL_POSITION");
    TableSchema schema;
    while (q.next()) {
        const QString columna = q.value(0).toString();
        schema.defaults.insert(columna.toLower(), Predeterminado(q.value(1)));
        if (q.value(2).toString() == "PRI") schema.key << columna;
    }
    return *schemas_.insert(clave, schema);
}

}  // namespace ado
