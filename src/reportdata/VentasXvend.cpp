#include "reportdata/VentasXvend.h"

#include <QDate>
#include <QSqlQuery>
#include <QVariant>

#include "platform/ado/Connection.h"
#include "platform/ado/Quote.h"
#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"
#include "reportdata/ClaveVendedor.h"
#include "reportdata/Constructor.h"
#include "reportdata/Globales.h"
#include "reportdata/Reglas.h"
#include "reportdata/Sentencias.h"

namespace reportdata {

Periodo PeriodoDe(const Seleccion& s, const QString& columna) {
    const QDate inicio = FechaDe(s.fechaInicial);
    const int y1 = Año16(inicio.year() - 2);
    QDate desplazada(y1, inicio.month(), inicio.day());
    if (!desplazada.isValid()) desplazada = QDate(y1, inicio.month(), 28);
    const QString desde = oLibreria->FechaSQL(desplazada.toString(oLibreria->FormatoFecha()));
    const QString hasta = oLibreria->FechaSQL(FechaDe(s.fechaFinal));
    return {y1, desplazada, FechaDe(s.fechaFinal),
            " where " + columna + ">=" + ado::Quote(desde) + " and " + columna +
                "<=" + ado::Quote(hasta)};
}

Dias DiasDeColumna(const Periodo& p, int columna) {
    const int año = p.y1 + columna;
    return {qMax(p.desde, QDate(año, 1, 1)),
            columna < 2 ? qMin(p.hasta, QDate(año, 12, 31)) : p.hasta};
}

QString CondicionLinea(const Seleccion& s) {
    const double linea = oLibreria->kzVal(s.linea.toString());
    if (linea <= 0) return {};
    return " and lineas.Id=" + QString::number(linea, 'g', 17);
}

QString ConsultaDeVentas(const Seleccion& s, const Recorrido& recorrido, const Periodo& periodo,
                         bool conUniones) {
    const QString doc = recorrido.doc;
    const QString linea = CondicionLinea(s);
    const QString uniones = conUniones || !linea.isEmpty() ? kProductosYLineas : QString();
    const QString vendedor = HayVendedor(s) ? " and Vendedor=" + ClaveVendedor(s) : QString();
    // Grouped by the key also for one salesperson: the key is selected, and a server in
    // ONLY_FULL_GROUP_BY mode refuses a selected column that is not grouped.
    return "Select Sum(" + oUtilerias->CambXXX(kImporteVendido, doc) +
           "),Vendedor,year(Fecha) from " + recorrido.Desde() + oUtilerias->CambXXX(uniones, doc) +
           periodo.condicion + vendedor + linea + " group by year(Fecha),Vendedor";
}

bool DeVendedor(const QVariant& suma, const QVariant& vendedor, Resultado& r) {
    if (suma.isNull()) return false;
    if (vendedor.isNull()) {
        r.ventasSinVendedor += suma.toDouble();
        return false;
    }
    return true;
}

namespace {

double DevolucionesSinVendedor(const Seleccion& s, ado::Connection& conexion) {
    QSqlQuery q =
        conexion.Query("Select Sum(" + kImporteDevuelto + ") from " + kDevolucionesDeLinea +
                       PeriodoDe(s, "devolucionctes.Fecha").condicion +
                       " and clientes.Vendedor is null" + CondicionLinea(s));
    return q.next() ? q.value(0).toDouble() : 0;
}

}  // namespace

bool Secuencia(const Seleccion& s, ado::Connection& lectura, const Aviso& avisa, Resultado& r,
               const std::function<bool(const RangoTipos&)>& ventas,
               const std::function<void()>& devoluciones) {
    const RangoTipos tipos = Tipos(s);
    r.ventasSinVendedor = 0;
    avisa(QString(" De %1 al %2").arg(tipos.primero).arg(tipos.ultimo));
    const bool resultado = ventas(tipos);
    avisa("LlenaTablaXvend: " + QVariant(resultado).toString());
    if (resultado) devoluciones();
    if (resultado && !HayVendedor(s)) r.ventasSinVendedor -= DevolucionesSinVendedor(s, lectura);
    avisa("Fin de la función");
    return resultado;
}

void CompruebaClave(const QString& vendedor) {
    // Characters as the server counts them, not UTF-16 units: an emoji is one.
    if (vendedor.toUcs4().size() > kAnchoVendedor)
        throw RuntimeError(mysqlError::kDatoMuyLargo, "La clave de vendedor «" + vendedor +
                                                          "» tiene más de " +
                                                          QString::number(kAnchoVendedor) +
                                                          " caracteres y no cabe en el reporte.");
}

}  // namespace reportdata
