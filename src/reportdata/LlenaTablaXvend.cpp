#include "reportdata/LlenaTablaXvend.h"

#include "platform/ado/Connection.h"
#include "platform/ado/Quote.h"
#include "platform/ado/Recordset.h"
#include "reportdata/Avance.h"
#include "reportdata/Globales.h"
#include "reportdata/Sentencias.h"
#include "reportdata/VentasXvend.h"

namespace reportdata {
namespace {

// Adds one sales group to its salesperson's row, creating the row when it is new.
void Acumula(ado::Connection& conexion, const QString& cTabla, int y1, const QString& vendedor,
             int año, const QVariant& suma, Resultado& r) {
    CompruebaClave(vendedor);
    ado::Recordset fila;
    if (!oBasesDD->AbrirTabla(fila, conexion, cTabla + " where Vendedor=" + ado::Quote(vendedor))) {
        fila.AddNew();
        fila.SetField("Vendedor", vendedor);
        for (int i = 0; i < 3; ++i) {
            fila.SetField("cAnio" + QString::number(i + 1), QString::number(y1 + i));
            r.aEtiquetas[i] = QString::number(y1 + i);
        }
    }
    const QString columna = año == y1 ? "Anio1" : año == y1 + 1 ? "Anio2" : "Anio3";
    fila.SetField(columna, fila.Fields(columna).toDouble() + oBasesDD->NoNull(suma).toDouble());
    fila.Update();
    oBasesDD->CierraTabla(fila);
}

void PasaVentas(const Seleccion& s, ado::Connection& conexion, const QString& cTabla, int k,
                const Aviso& avisa, Resultado& r) {
    const QString doc = Documento(s, k);
    Avanza("Ventas en " + doc, k, 3);
    avisa(doc);
    const Periodo periodo = PeriodoDe(s, "Fecha");
    const QString consulta = ConsultaDeVentas(s, PorDocumentos(doc), periodo);
    avisa("Consulta: " + consulta);
    ado::Recordset grupos;
    if (!oBasesDD->AbrirTabla(grupos, conexion, consulta)) return;
    for (; !grupos.Eof(); grupos.MoveNext()) {
        if (!DeVendedor(grupos.Fields(0), grupos.Fields(1), r)) continue;
        Acumula(conexion, cTabla, periodo.y1, grupos.Fields(1).toString(), grupos.Fields(2).toInt(),
                grupos.Fields(0), r);
    }
}

// Which Anio column a year of returns belongs to: 0 for none. Years after the second
// label go to Anio3, as their sales did.
int ColumnaDe(int año, const ado::Recordset& fila) {
    if (año == fila.Fields("cAnio1").toInt()) return 1;
    if (año == fila.Fields("cAnio2").toInt()) return 2;
    if (año > fila.Fields("cAnio2").toInt()) return 3;
    return 0;
}

void PasaDevoluciones(const Seleccion& s, ado::Connection& conexion, const QString& cTabla,
                      const Aviso& avisa) {
    ado::Recordset filas;
    oBasesDD->AbrirTabla(filas, conexion, cTabla + " order by Vendedor");
    avisa("Más " + cTabla + " order by Vendedor");
    Avanza("Devoluciones", 2, 3);
    ado::Recordset lineas;
    for (; !filas.Eof(); filas.MoveNext()) {
        const QString vendedor = ado::Quote(filas.Fields("Vendedor").toString());
        const QString consulta = kDevolucionesDeVendedor + PeriodoDe(s, "Fecha").condicion +
                                 " and clientes.Vendedor=" + vendedor + CondicionLinea(s);
        avisa(consulta);
        if (!oBasesDD->AbrirTabla(lineas, conexion, consulta)) continue;
        for (; !lineas.Eof(); lineas.MoveNext()) {
            // A return without detail lines has nothing to subtract.
            if (lineas.Fields("Anio").isNull() || lineas.Fields("Devoluc").isNull()) continue;
            const int n = ColumnaDe(lineas.Fields("Anio").toInt(), filas);
            if (n == 0) continue;
            const QString columna = "Anio" + QString::number(n);
            conexion.Execute("Update " + cTabla + " set " + columna + "=" + columna + "-" +
                             ado::Literal(lineas.Fields("Devoluc").toDouble()) +
                             " where Vendedor=" + vendedor);
        }
    }
    avisa("Fin del 'Más'");
}

}  // namespace

bool LlenaTablaXvend(const Seleccion& s, ado::Connection& conexion, const QString& cTabla,
                     const Aviso& avisa, Resultado& r) {
    return Secuencia(
        s, conexion, avisa, r,
        [&](const RangoTipos& tipos) {
            for (int k = tipos.primero; k <= tipos.ultimo; ++k)
                PasaVentas(s, conexion, cTabla, k, avisa, r);
            return oBasesDD->LastRec(conexion, cTabla) > 0;
        },
        [&] { PasaDevoluciones(s, conexion, cTabla, avisa); });
}

}  // namespace reportdata
