#include "reportdata/Reglas.h"

#include <QDate>

#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"
#include "reportdata/Globales.h"

namespace reportdata {
QDate FechaDe(const QString& texto) {
    const QDate fecha = QDate::fromString(texto, oLibreria->FormatoFecha());
    if (!fecha.isValid())
        throw RuntimeError(vbError::kTiposNoCoinciden,
                           "No coinciden los tipos: «" + texto + "» no es una fecha.");
    return fecha;
}

QString AñoValido(const QString& texto) {
    return oLibreria->kzVal(texto) == 0 ? QDate::currentDate().toString("yyyy") : texto;
}

bool FechaValida(const QString& texto) {
    return QDate::fromString(texto, oLibreria->FormatoFecha()).isValid();
}

int MesesEntre(const QString& inicial, const QString& final) {
    const QDate a = FechaDe(inicial), b = FechaDe(final);
    return (b.year() * 12 + b.month()) - (a.year() * 12 + a.month());
}

}  // namespace reportdata
