#include "reportdata/FueraDeLineas.h"

#include "platform/ado/QueryAtOnce.h"
#include "platform/ado/Quote.h"
#include "reportdata/ClaveVendedor.h"
#include "reportdata/Constructor.h"
#include "reportdata/Globales.h"
#include "reportdata/Sentencias.h"

namespace reportdata {

void VentasFueraDeLineas(const Seleccion& s, ado::Connection& lectura, Resultado& r) {
    r.ventasSinLugar = r.ventasSinLinea = 0;
    const auto rango = RangoDeAños("XXX.Fecha", AñoInicial(s), AñoFinal(s));
    if (!rango) return;
    // The lines without a slot by name: compared in the column's collation, as they were grouped.
    QStringList sinLugar;
    for (const QString& linea : r.lineasSinLugar) sinLugar << ado::Quote(linea);
    auto sumas = [&](const QString& importe) {
        return "SELECT SUM(case when lineas.Linea is null then " + importe + " end)," +
               (sinLugar.isEmpty() ? QString("0")
                                   : "SUM(case when lineas.Linea in (" + sinLugar.join(',') +
                                         ") then " + importe + " end)");
    };
    const RangoTipos tipos = Tipos(s);
    QStringList sentencias;
    for (int k = tipos.primero; k <= tipos.ultimo; ++k) {
        const QString doc = Documento(s, k);
        QString ventas = sumas(oUtilerias->CambXXX(kImporteVendido, doc)) + " FROM " + doc +
                         oUtilerias->CambXXX(kVentasDeLinea + " where " + *rango, doc);
        if (HayVendedor(s))
            ventas += oUtilerias->CambXXX(" and XXX.Vendedor=", doc) + ClaveVendedor(s);
        sentencias << ventas;
    }
    QString devueltas = sumas(kImporteDevuelto) + " FROM " + kDevolucionesDeLinea + " where " +
                        QString(*rango).replace("XXX.", "devolucionctes.");
    if (HayVendedor(s)) devueltas += " and clientes.Vendedor=" + ClaveVendedor(s);
    sentencias << devueltas;
    const QVector<ado::Rows> filas = ado::QueryAtOnce(lectura, sentencias);
    for (int i = 0; i < filas.size(); ++i) {
        const double signo = i + 1 < filas.size() ? 1 : -1;  // the returns come last
        r.ventasSinLinea += signo * filas[i].value(0).value(0).toDouble();
        r.ventasSinLugar += signo * filas[i].value(0).value(1).toDouble();
    }
}

}  // namespace reportdata
