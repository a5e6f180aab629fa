#pragma once
#include <QString>
#include <QStringList>
#include <QVector>

namespace report {

// A report file: a JSON text (see README, "Report files"), validated when read.
struct ColumnDefinition {
    QString columna;  // column of the table
    QString rotulo;   // literal caption, or
    QString formula;  // name of the formula that gives the caption
};

struct ReportDefinition {
    QString titulo;
    QString tabla;         // first database table
    QStringList formulas;  // formula fields, positions 1, 2, ...
    QString filasColumna;  // column that captions each row
    QString filasTitulo;   // heading of that column in the table of figures
    QString orden;         // column the rows are ordered by (optional)
    QVector<ColumnDefinition> columnas;
    bool seriesSonFilas = true;     // rows make the series, columns the categories; or the reverse
    QString ejeCategorias;          // caption of the category axis
    QString sinDatos;               // formula shown large when not empty (optional)
    bool tablaTranspuesta = false;  // the table of figures shows the columns as its rows
    bool cambio = false;  // after each column of the table but the first, its change in percent
    // Where each row's caption finds a name to show beside it in the table (optional).
    QString nombresTabla, nombresClave, nombresColumna;
};

// Reads and validates a report file; a bad file raises an error naming the file and the fault.
ReportDefinition ReadReportFile(const QString& path);

}  // namespace report
