#include "platform/ado/Recordset.h"

#include <QRegularExpression>
#include <QSqlField>

#include "platform/ado/Connection.h"
#include "platform/ado/Quote.h"
#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"

namespace ado {
namespace {

// A whole statement rather than the text after FROM.
bool EsSelect(const QString& source) {
    static const QRegularExpression select("^\\s*(select|show)\\s",
                                           QRegularExpression::CaseInsensitiveOption);
    return select.match(source).hasMatch();
}

RuntimeError SinFila() {
    return RuntimeError(vbError::kFinDeDatos,
                        "BOF o EOF es True, o el registro actual se eliminó.");
}

}  // namespace

void Recordset::Open(const QString& source, Connection& connection, const QString& columns) {
    Close();
    const bool select = EsSelect(source);
    const QString texto =
        select ? source
               : "SELECT " + (columns.isEmpty() ? QString("*") : columns) + " FROM " + source;
    query_ = connection.Query(texto);
    connection_ = &connection;
    table_ = select ? QString() : source.trimmed().section(QRegularExpression("\\s+"), 0, 0);
    row_ = query_.record();
    Read();
}

void Recordset::Close() {
    query_ = QSqlQuery();
    connection_ = nullptr;
    table_.clear();
    row_ = original_ = QSqlRecord();
    changed_.clear();
    eof_ = true;
    isNew_ = false;
}

void Recordset::Read() {
    eof_ = !query_.next();
    isNew_ = false;
    changed_.clear();
    if (!eof_) {
        row_ = query_.record();
        original_ = row_;
    }
}

bool Recordset::Eof() const {
    return eof_ && !isNew_;
}

void Recordset::MoveNext() {
    if (Eof()) throw SinFila();
    Read();
}

int Recordset::Index(const QString& name) const {
    const int i = row_.indexOf(name);
    if (i < 0)
        throw RuntimeError(vbError::kElementoNoEncontrado,
                           "No se encontró el elemento en la colección: " + name);
    return i;
}

QVariant Recordset::Fields(const QString& name) const {
    return Fields(Index(name));
}

QVariant Recordset::Fields(int index) const {
    if (Eof()) throw SinFila();
    if (index < 0 || index >= row_.count())
        throw RuntimeError(vbError::kElementoNoEncontrado,
                           QString("No se encontró el elemento %1 en la colección.").arg(index));
    return row_.value(index);
}

const TableSchema& Recordset::Table() {
    if (table_.isEmpty())
        throw RuntimeError(vbError::kOrigenNoActualizable,
                           "El origen de este conjunto de registros no se puede actualizar.");
    QStringList columnas;
    for (int i = 0; i < row_.count(); ++i) columnas << row_.fieldName(i);
    return connection_->Schema(table_, columnas);
}

void Recordset::AddNew() {
    if (!IsOpen())
        throw RuntimeError(vbError::kObjetoCerrado,
                           "La operación no se permite si el objeto está cerrado.");
    const TableSchema& info = Table();
    for (int i = 0; i < row_.count(); ++i)
        row_.setValue(i, info.defaults.value(row_.fieldName(i).toLower()));
    original_ = row_;
    changed_.clear();
    isNew_ = true;
}

void Recordset::SetField(const QString& name, const QVariant& value) {
    const int i = Index(name);
    if (Eof()) throw SinFila();
    row_.setValue(i, value);
    if (!changed_.contains(i)) changed_ << i;
}

void Recordset::Update() {
    if (Eof()) throw SinFila();
    if (isNew_)
        Insert();
    else if (!changed_.isEmpty())
        Change();
    original_ = row_;
    changed_.clear();
    eof_ = false;
    isNew_ = false;
}

void Recordset::Insert() {
    QStringList columnas, valores;
    for (int i : changed_) {
        columnas << QuoteIdentifier(row_.fieldName(i));
        valores << Literal(row_.value(i));
    }
    connection_->Execute("INSERT INTO " + QuoteIdentifier(table_) + " (" + columnas.join(",") +
                         ") VALUES (" + valores.join(",") + ")");
}

void Recordset::Change() {
    QStringList asignaciones, condiciones;
    for (int i : changed_)
        asignaciones << QuoteIdentifier(row_.fieldName(i)) + "=" + Literal(row_.value(i));
    const QStringList& clave = Table().key;
    for (int i = 0; i < original_.count(); ++i) {
        const QString nombre = original_.fieldName(i);
        const bool enClave = clave.isEmpty() || clave.contains(nombre, Qt::CaseInsensitive);
        if (enClave) condiciones << QuoteIdentifier(nombre) + "<=>" + Literal(original_.value(i));
    }
    connection_->Execute("UPDATE " + QuoteIdentifier(table_) + " SET " + asignaciones.join(",") +
                         " WHERE " + condiciones.join(" AND ") + " LIMIT 1");
}

}  // namespace ado
