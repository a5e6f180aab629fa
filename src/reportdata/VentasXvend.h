#pragma once
// What both plans of the salesperson report ask the same way: the period, the line condition,
// the grouped sales statement and the key that must fit the work table.
#include <QString>

#include "reportdata/Seleccion.h"

namespace reportdata {

// From the start date two years back (29 February becomes the 28th) to the end date.
struct Periodo {
    int y1;
    QString condicion;  // " where Fecha>=... and Fecha<=..."
};
Periodo PeriodoDe(const Seleccion& s);

// " and lineas.Id=N" when a line is chosen.
QString CondicionLinea(const Seleccion& s);

// The sales of a document table by year and salesperson: sum, key, year. The joins to products
// and lines change no sum (each joins on its key), so without a line they may be left out.
QString ConsultaDeVentas(const Seleccion& s, const QString& doc, const Periodo& periodo,
                         bool conUniones = true);

// A key longer than the work table's column fails, naming the key.
void CompruebaClave(const QString& vendedor);

}  // namespace reportdata
