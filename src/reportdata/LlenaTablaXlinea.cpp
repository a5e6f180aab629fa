#include "reportdata/LlenaTablaXlinea.h"
#include "reportdata/ListaLineas.h"

#include "platform/ado/Quote.h"
#include "platform/ado/Recordset.h"
#include "reportdata/Avance.h"
#include "reportdata/ClaveVendedor.h"
#include "reportdata/Constructor.h"
#include "reportdata/Globales.h"
#include "reportdata/Sentencias.h"

namespace reportdata {

Lineas ListaLineas(const Seleccion& s, ado::Connection& conexion, const RangoTipos& tipos) {
    Lineas lineas;
    const QString años = QString(" and year(XXX.Fecha)>=%1 and year(XXX.Fecha)<=%2")
                             .arg(AñoInicial(s))
                             .arg(AñoFinal(s));
    ado::Recordset rs;
    for (int k = tipos.primero; k <= tipos.ultimo; ++k) {
        const QString doc = Documento(s, k);
        QString origen = doc + oUtilerias->CambXXX(kLineasVendidas + años, doc);
        if (HayVendedor(s))
            origen += oUtilerias->CambXXX(" and XXX.Vendedor=", doc) + ClaveVendedor(s) + " ";
        origen += kAgrupaPorLinea;
        oBasesDD->AbrirTabla(rs, conexion, origen, kLineaYPeso);
        for (; !rs.Eof(); rs.MoveNext())
            lineas.Anota(rs.Fields("Linea").toString(), rs.Fields("Peso").toByteArray());
    }
    return lineas;
}

namespace {

double NetoDeLinea(const Seleccion& s, ado::Connection& conexion, const RangoTipos& tipos,
                   const QString& linea, int año) {
    double ventas = 0;
    for (int k = tipos.primero; k <= tipos.ultimo; ++k) {
        const QString doc = Documento(s, k);
        QString condicion =
            oUtilerias->CambXXX(kVentasDeLinea, doc) + " where lineas.Linea=" + ado::Quote(linea) +
            oUtilerias->CambXXX(" and year(XXX.Fecha)=" + QString::number(año), doc);
        if (HayVendedor(s))
            condicion += oUtilerias->CambXXX(" and XXX.Vendedor=", doc) + ClaveVendedor(s);
        ventas +=
            oBasesDD->Sum(conexion, doc + condicion, oUtilerias->CambXXX(kImporteVendido, doc));
    }
    QString devueltas = kDevolucionesDeLinea + " where lineas.Linea=" + ado::Quote(linea) +
                        " and year(devolucionctes.Fecha)=" + QString::number(año);
    if (HayVendedor(s)) devueltas += " and clientes.Vendedor=" + ClaveVendedor(s);
    const double devoluciones = 0 + oBasesDD->Sum(conexion, devueltas, kImporteDevuelto);
    return ventas - devoluciones;
}

}  // namespace

void LlenaTablaXlinea(const Seleccion& s, ado::Connection& conexion, const QString& cTabla,
                      Resultado& r) {
    for (int i = 0; i < kLineas; ++i) r.aEtiquetas[i].clear();
    const RangoTipos tipos = Tipos(s);
    Avanza("Líneas vendidas", 0, 4);
    const Lineas lineas = ListaLineas(s, conexion, tipos);
    lineas.Publica(r);

    ado::Recordset rs;
    oBasesDD->AbrirTabla(rs, conexion, cTabla);
    const int ultimo = AñoFinal(s);
    for (int año = AñoInicial(s); año <= ultimo; ++año) {
        Avanza(QString("Ventas y devoluciones de %1").arg(año), año - AñoInicial(s) + 1, 4);
        rs.AddNew();
        rs.SetField("Cliente", año);
        for (int n = 1; n <= kLineas; ++n)
            if (!lineas.nombres[n - 1].isEmpty())
                rs.SetField("Linea" + QString::number(n),
                            NetoDeLinea(s, conexion, tipos, lineas.nombres[n - 1], año));
        rs.Update();
    }
    oBasesDD->CierraTabla(rs);
}

}  // namespace reportdata
