#pragma once
// Which way a grouped statement walks a document table and its lines. A report that reads most of
// the history reads every detail line in its own order and looks each document up by its primary
// key: near the cost of a plain scan, whatever order the documents were numbered in. A report of
// one salesperson or of a small share of the documents walks the documents of its dates and reads
// only their lines. Either relies only on the primary keys and the detail's document key.
#include <QString>
#include <QVariant>
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
    QVariant desde, hasta;      // then: the least and the greatest key of the period's documents
    QString aviso;              // what it reads, for the progress window
    // The document table joined with its lines in this order, ending in a blank. Read detail
    // first, lines outside the period's keys are passed over before their document is looked
    // up: where numbers follow dates, the years before the period cost a plain scan only.
    QString Desde() const;
};

// The documents of the period walked first, their lines looked up by the detail's key.
Recorrido PorDocumentos(const QString& doc);

// A walk for each document table of tipos, in order. With every salesperson, the documents
// that donde (" where ..." on the document table's columns, XXX for its name) selects are
// counted first, all tables in one statement; a table whose period holds a large share of its
// documents is read detail first.
QVector<Recorrido> Recorridos(const Seleccion& s, ado::Connection& lectura, const RangoTipos& tipos,
                              const QString& donde);

// What the walks read, for the progress window: "paso: what each reads".
QString Describe(const QString& paso, const QVector<Recorrido>& recorridos);

}  // namespace reportdata
