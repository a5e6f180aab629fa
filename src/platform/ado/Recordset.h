#pragma once
#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace ado {

class Connection;
struct TableSchema;

// Rows of a table source (the text after FROM) or of a whole SELECT. Over a table,
// rows can be added and changed and written back.
class Recordset {
  public:
    // source: "table [joins] [where ...]" or "select ..."; columns: all when empty.
    void Open(const QString& source, Connection& connection, const QString& columns = {});
    void Close();
    bool IsOpen() const { return connection_ != nullptr; }

    bool Eof() const;
    void MoveNext();
    QVariant Fields(const QString& name) const;
    QVariant Fields(int index) const;

    void AddNew();
    void SetField(const QString& name, const QVariant& value);
    void Update();

  private:
    int Index(const QString& name) const;
    void Read();
    const TableSchema& Table();
    void Insert();
    void Change();

    Connection* connection_ = nullptr;
    QString table_;
    QSqlQuery query_;
    QSqlRecord row_;
    QSqlRecord original_;
    QList<int> changed_;
    bool eof_ = true;
    bool isNew_ = false;
};

}  // namespace ado
