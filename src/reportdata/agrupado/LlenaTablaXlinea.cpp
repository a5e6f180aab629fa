#include <QHash>
#include <QSqlQuery>
#include <QStringList>
#include <array>

#include "platform/ado/Connection.h"
#include "platform/ado/Quote.h"
#include "reportdata/Agrupado.h"
#include "reportdata/Etiquetas.h"
#include "reportdata/Globales.h"
#include "reportdata/ListaLineas.h"
#include "reportdata/Sentencias.h"

namespace reportdata::agrupado {
namespace {

using Años = std::array<double, 3>;
using PorLinea = QHash<QByteArray, Años>;  // by the line's collation weight

// One statement: the sums of a source by line and year of the three years.
PorLinea SumasPorLinea(ado::Connection& conexion, const QString& origen, const QString& fecha,
                       const QString& suma, int primero) {
    PorLinea sumas;
    QSqlQuery q =
        conexion.Query("SELECT weight_string(lineas.Linea),year(" + fecha + "),SUM(" + suma +
                       ") FROM " + origen + " group by lineas.Linea,year(" + fecha + ")");
    while (q.next()) {
        const int año = q.value(1).toInt() - primero;
        if (año >= 0 && año < 3) sumas[q.value(0).toByteArray()][año] = q.value(2).toDouble();
    }
    return sumas;
}

}  // namespace

void LlenaTablaXlinea(const Seleccion& s, ado::Connection& conexion, const QString& cTabla) {
    for (int i = 0; i < kLineas; ++i) aEtiquetas[i].clear();
    const RangoTipos tipos = Tipos(s);
    const PesosDeLineas pesos = ListaLineas(s, conexion, tipos, Plan::Agrupado);
    const int ultimo = AñoFinal(s);
    const int primero = AñoInicial(s);

    std::array<PorLinea, 2> ventas;
    PorLinea devoluciones;
    const auto rango = RangoDeAños("XXX.Fecha", primero, ultimo);
    if (rango && !aEtiquetas[0].isEmpty()) {
        for (int k = tipos.primero; k <= tipos.ultimo; ++k) {
            const QString doc = Documento(s, k);
            QString origen = doc + oUtilerias->CambXXX(kVentasDeLinea + " where " + *rango +
                                                           " and lineas.Linea is not null",
                                                       doc);
            if (HayVendedor(s))
                origen += oUtilerias->CambXXX(" and XXX.Vendedor=", doc) + ado::Quote(s.vendedor);
            ventas[k] = SumasPorLinea(conexion, origen, doc + ".Fecha",
                                      oUtilerias->CambXXX(kImporteVendido, doc), primero);
        }
        QString devueltas = kDevolucionesDeLinea + " where " +
                            QString(*rango).replace("XXX.", "devolucionctes.") +
                            " and lineas.Linea is not null";
        if (HayVendedor(s)) devueltas += " and clientes.Vendedor=" + ado::Quote(s.vendedor);
        devoluciones =
            SumasPorLinea(conexion, devueltas, "devolucionctes.Fecha", kImporteDevuelto, primero);
    }

    // The columns of the listed lines only, as the row by row plan writes them; the same
    // additions in the same order: the same doubles.
    QStringList columnas{"Cliente"};
    for (int n = 1; n <= kLineas; ++n)
        if (!aEtiquetas[n - 1].isEmpty()) columnas << "Linea" + QString::number(n);
    QStringList filas;
    for (int año = primero; año <= ultimo; ++año) {
        QStringList valores{QString::number(año)};
        for (int n = 1; n <= kLineas; ++n) {
            if (aEtiquetas[n - 1].isEmpty()) continue;
            double venta = 0;
            for (int k = tipos.primero; k <= tipos.ultimo; ++k)
                venta += ventas[k].value(pesos[n - 1])[año - primero];
            const double devuelto = 0 + devoluciones.value(pesos[n - 1])[año - primero];
            valores << ado::Literal(venta - devuelto);
        }
        filas << "(" + valores.join(',') + ")";
    }
    conexion.Execute("INSERT INTO " + cTabla + " (" + columnas.join(',') + ") VALUES " +
                     filas.join(','));
}

}  // namespace reportdata::agrupado
