#include "reportdata/LlenaTablaXlinea.h"

#include "platform/ado/Quote.h"
#include "platform/ado/Recordset.h"
#include "reportdata/Constructor.h"
#include "reportdata/Etiquetas.h"
#include "reportdata/Globales.h"
#include "reportdata/Sentencias.h"

namespace reportdata {
namespace {

const int kLineas = 12;

// A line name goes into the first free slot unless a slot holds it already.
void Anota(const QString& linea) {
    for (int i = 0; i < kLineas; ++i) {
        if (aEtiquetas[i].isEmpty()) {
            aEtiquetas[i] = linea;
            return;
        }
        if (aEtiquetas[i] == linea) return;
    }
}

void PrimeraPasada(const Seleccion& s, ado::Connection& conexion, const RangoTipos& tipos) {
    const int primero = AñoInicial(s);
    ado::Recordset rs;
    for (int k = tipos.primero; k <= tipos.ultimo; ++k) {
        const QString doc = Documento(s, k);
        QString origen =
            doc + oUtilerias->CambXXX(
                      kLineasVendidas + QString(" and year(XXX.Fecha)>=%1 and year(XXX.Fecha)<=%2")
                                            .arg(primero)
                                            .arg(AñoFinal(s)),
                      doc);
        if (HayVendedor(s))
            origen += oUtilerias->CambXXX(" and XXX.Vendedor=", doc) + ado::Quote(s.vendedor) + " ";
        origen += kAgrupaPorLinea;
        oBasesDD->AbrirTabla(rs, conexion, origen, "lineas.Linea");
        for (; !rs.Eof(); rs.MoveNext()) Anota(rs.Fields("Linea").toString());
    }
}

double NetoDeLinea(const Seleccion& s, ado::Connection& conexion, const RangoTipos& tipos,
                   const QString& linea, int año) {
    double ventas = 0;
    for (int k = tipos.primero; k <= tipos.ultimo; ++k) {
        const QString doc = Documento(s, k);
        QString condicion =
            oUtilerias->CambXXX(kVentasDeLinea, doc) + " where lineas.Linea=" + ado::Quote(linea) +
            oUtilerias->CambXXX(" and year(XXX.Fecha)=" + QString::number(año), doc);
        if (HayVendedor(s))
            condicion += oUtilerias->CambXXX(" and XXX.Vendedor=", doc) + ado::Quote(s.vendedor);
        ventas +=
            oBasesDD->Sum(conexion, doc + condicion, oUtilerias->CambXXX(kImporteVendido, doc));
    }
    QString devueltas = kDevolucionesDeLinea + " where lineas.Linea=" + ado::Quote(linea) +
                        " and year(devolucionctes.Fecha)=" + QString::number(año);
    if (HayVendedor(s)) devueltas += " and clientes.Vendedor=" + ado::Quote(s.vendedor);
    const double devoluciones = 0 + oBasesDD->Sum(conexion, devueltas, kImporteDevuelto);
    return ventas - devoluciones;
}

}  // namespace

void LlenaTablaXlinea(const Seleccion& s, ado::Connection& conexion, const QString& cTabla) {
    for (int i = 0; i < kLineas; ++i) aEtiquetas[i].clear();
    const RangoTipos tipos = Tipos(s);
    PrimeraPasada(s, conexion, tipos);

    ado::Recordset rs;
    oBasesDD->AbrirTabla(rs, conexion, cTabla);
    const int ultimo = AñoFinal(s);
    for (int año = AñoInicial(s); año <= ultimo; ++año) {
        rs.AddNew();
        rs.SetField("Cliente", año);
        for (int n = 1; n <= kLineas; ++n)
            if (!aEtiquetas[n - 1].isEmpty())
                rs.SetField("Linea" + QString::number(n),
                            NetoDeLinea(s, conexion, tipos, aEtiquetas[n - 1], año));
        rs.Update();
    }
    oBasesDD->CierraTabla(rs);
}

}  // namespace reportdata
