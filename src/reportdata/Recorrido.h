#pragma once
// Which way a grouped statement walks a document table and its lines. A report that reads most of
// the history reads every detail line in its own order and looks each document up by its primary
// key: near the cost of a plain scan, whatever order the documents were numbered in. A report of
// one salesperson or of a small share of the documents walks the documents of its dates and reads
// only their lines. Either relies only on the primary keys and the detail's document key.
#include <QString>
#include <QVector>

#include "reportdata/Constructor.h"
#include "reportdata/Seleccion.h"

namespace ado {
class Connection;
}

namespace reportdata {

struct Recorrido {
    QString doc;                // the document table
    bool detalleAntes = false;  // every detail line, each document looked up by its key
    QString aviso;              // what it reads, for the progress window
};

// A walk for each document table of tipos, in order. With every salesperson, the documents
// that donde (" where ..." on the document table's columns, XXX for its name) selects are
// counted first, all tables in one statement; a table whose period holds a large share of its
// documents is read detail first.
QVector<Recorrido> Recorridos(const Seleccion& s, ado::Connection& lectura, const RangoTipos& tipos,
                              const QString& donde);

// What the walks read, for the progress window: "paso: what each reads".
QString Describe(const QString& paso, const QVector<Recorrido>& recorridos);

// The document table doc joined with its lines in that order, ending in a blank.
QString DocumentoYDetalle(const QString& doc, bool detalleAntes);

}  // namespace reportdata
