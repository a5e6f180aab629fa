#pragma once
// The selection's own rules, shared by the window and the export command.
#include <QDate>
#include <QString>

namespace reportdata {

inline const int kMaximoMesesVendedor = 11;
inline const QString kMensajeMesesExcedidos =
    "Los meses de diferencia entre ambas fechas exceden el máximo permitido";

// A year without a numeric value becomes the current year.
QString AñoValido(const QString& texto);
bool FechaValida(const QString& texto);
// The date of a text in the date format; a text that is no date is an error.
QDate FechaDe(const QString& texto);
// Calendar month boundaries from one date text to the other (negative when backwards).
int MesesEntre(const QString& inicial, const QString& final);

}  // namespace reportdata
