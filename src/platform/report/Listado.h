#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class SaveFiles;

namespace report {

// A list of records under a title, as a spreadsheet holds it: texts, dates and amounts; the
// amounts are added up in a totals row.
struct Listado {
    QString titulo;
    QStringList columnas;
    QList<QVariantList> filas;  // QString, QDate or double (an amount) in each column
};

// Each writes its file alone, or adds it to a batch the caller commits.
void ExportListadoCsv(const Listado& l, const QString& path, SaveFiles* batch = nullptr);
void ExportListadoXlsx(const Listado& l, const QString& path, SaveFiles* batch = nullptr);

}  // namespace report
