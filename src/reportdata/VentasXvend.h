#pragma once
// What both plans of the salesperson report ask the same way: the period, the line condition,
// the grouped sales statement and the key that must fit the work table.
#include <QDate>
#include <QString>

#include <functional>

#include "reportdata/Constructor.h"
#include "reportdata/Recorrido.h"
#include "reportdata/Resultado.h"
#include "reportdata/Seleccion.h"

namespace ado {
class Connection;
}

namespace reportdata {

// From the start date two years back (29 February becomes the 28th) to the end date.
struct Periodo {
    int y1;
    QDate desde, hasta;
    QString condicion;  // " where columna>=... and columna<=..."
};
Periodo PeriodoDe(const Seleccion& s, const QString& columna);
// The days a year's column holds (0, 1, 2): its year within the period, the third up to the end
// date (any later year of the period too). Empty (primero > ultimo) when none.
struct Dias {
    QDate primero, ultimo;
};
Dias DiasDeColumna(const Periodo& p, int columna);

// " and lineas.Id=N" when a line is chosen.
QString CondicionLinea(const Seleccion& s);

// The sales of a document table by year and salesperson: sum, key, year; its lines read in the
// walk's order. The joins to products and lines change no sum (each joins on its key), so
// without a line they may be left out.
QString ConsultaDeVentas(const Seleccion& s, const Recorrido& recorrido, const Periodo& periodo,
                         bool conUniones = true);

// The progress messages both plans show around their passes: the kinds, the sales pass (which
// gives whether the table got rows), the result, the returns pass when it did, the end.
// Both count in r.ventasSinVendedor what no row holds: the sales groups without a key that the
// sales pass met (DeVendedor), less the returns of customers without a salesperson, read on
// lectura, the session that reads the sales tables.
bool Secuencia(const Seleccion& s, ado::Connection& lectura, const Aviso& avisa, Resultado& r,
               const std::function<bool(const RangoTipos&)>& ventas,
               const std::function<void()>& devoluciones);
// A sales group the sales pass read: false for a group without a salesperson, which no row
// holds (its amount is counted apart in r) or without detail lines.
bool DeVendedor(const QVariant& suma, const QVariant& vendedor, Resultado& r);

// A key longer than the work table's column fails, naming the key.
void CompruebaClave(const QString& vendedor);

}  // namespace reportdata
