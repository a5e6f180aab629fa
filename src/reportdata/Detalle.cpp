#include "reportdata/Detalle.h"

#include <QSqlQuery>
#include <QStringList>
#include <optional>

#include "platform/ado/Connection.h"
#include "platform/ado/Quote.h"
#include "reportdata/ClaveVendedor.h"
#include "reportdata/Constructor.h"
#include "reportdata/ListaLineas.h"
#include "reportdata/Sentencias.h"
#include "reportdata/VentasXvend.h"

namespace reportdata {
namespace {

// What a figure takes of the sales, as the report's builders take it.
struct Regla {
    QList<Dias> dias;        // documents dated within any of these
    bool porRenglon = true;  // the amounts of detail lines; the monthly report takes headers
    // Only the lines of these names (the line report), or of this key (the salesperson
    // report's selection); sinLinea: only products with no line.
    std::optional<QStringList> lineas;
    QString lineaElegida;  // " and lineas.Id=N"
    bool sinLinea = false;
    // The salesperson condition on a document's column and on a returning customer's: empty
    // for none, else "=key", " IN (...)" or " IS NULL".
    QString vendedor;
    QString titulo;
};

// An empty list matches nothing.
QString EnLista(const QStringList& valores) {
    QStringList citados{"NULL"};
    for (const QString& v : valores) citados << ado::Quote(v);
    return " IN (" + citados.join(',') + ")";
}

QString Fechas(const QString& columna, const QList<Dias>& dias) {
    QStringList rangos;
    for (const Dias& d : dias)
        rangos << columna + ">=" + ado::Literal(d.primero) + " and " + columna +
                      "<=" + ado::Literal(d.ultimo);
    return rangos.isEmpty() ? QString("0") : "(" + rangos.join(" or ") + ")";
}

// One kind of document (tipo, its table and its detail table, or the returns), as rows of the
// list: the document, its customer and salesperson, its amount within the figure.
QString Parte(const Regla& g, const QString& tipo, const QString& tabla, bool devolucion) {
    const QString detalle = devolucion ? "devolucionctesdet" : tabla + "detalle";
    const QString clave = devolucion ? "DevolucionCtes" : "Id";
    const QString vendedor = devolucion ? "clientes.Vendedor" : tabla + ".Vendedor";
    const QString signo = devolucion ? "-" : "";
    QString importe = devolucion ? (g.porRenglon ? kImporteDevuelto : kTotalDevolucion)
                                 : (g.porRenglon ? QString(kImporteVendido).replace("XXX", tabla)
                                                 : kTotalDocumento);
    const QString columnas =
        QString("%1.%2,%1.Fecha,%1.Cliente,clientes.Nombre,%3,vendedores.Nombre")
            .arg(tabla, clave, vendedor);
    QString sql = "SELECT " + ado::Quote(tipo) + "," + columnas + "," + signo +
                  (g.porRenglon ? "SUM(" + importe + ")" : "(" + importe + ")") + " FROM " + tabla;
    if (g.porRenglon) {
        sql += QString(" join %1 on %1.%2=%3.%2").arg(detalle, clave, tabla);
        if (g.lineas || !g.lineaElegida.isEmpty() || g.sinLinea)
            sql += QString(
                       " left join productos on productos.Clave=%1.Producto left join lineas on "
                       "lineas.Id=productos.Linea")
                       .arg(detalle);
    }
    sql += " left join clientes on clientes.Clave=" + tabla + ".Cliente" +
           " left join vendedores on vendedores.Clave=" + vendedor + " where " +
           Fechas(tabla + ".Fecha", g.dias);
    if (g.lineas) sql += " and lineas.Linea" + EnLista(*g.lineas);
    sql += g.lineaElegida;
    if (g.sinLinea) sql += " and lineas.Linea is null";
    if (!g.vendedor.isEmpty()) sql += " and " + vendedor + g.vendedor;
    if (g.porRenglon) sql += " group by " + columnas;
    return sql;
}

Dias Año(const QString& año) {
    return {QDate(año.toInt(), 1, 1), QDate(año.toInt(), 12, 31)};
}

// The monthly report: a month of a year, its headers.
Regla DelMes(const report::ReportContent& c, const Cifra& f) {
    Regla g;
    g.porRenglon = false;
    const QStringList años = f.fila < 0 ? c.filas : QStringList{c.filas.value(f.fila)};
    for (const QString& año : años) {
        Dias d = Año(año);
        if (f.columna >= 0) {
            d.primero = QDate(año.toInt(), f.columna + 1, 1);
            d.ultimo = d.primero.addMonths(1).addDays(-1);
        }
        g.dias << d;
    }
    const QString mes = f.columna < 0 ? QString() : kMeses[f.columna] + " ";
    g.titulo = mes + (f.fila < 0 ? años.value(0) + " a " + años.value(años.size() - 1) : años[0]);
    return g;
}

// The line report: the lines in their slots, a year or the three.
Regla DeLineas(const report::ReportContent& c, const Resultado& r, const Cifra& f) {
    Regla g;
    QStringList lineas;
    for (int i = 0; i < kLineas; ++i)
        if (!r.aEtiquetas[i].isEmpty()) lineas << r.aEtiquetas[i];
    const QStringList años = f.fila < 0 ? c.filas : QStringList{c.filas.value(f.fila)};
    for (const QString& año : años) g.dias << Año(año);
    const QString periodo =
        f.fila < 0 ? años.value(0) + " a " + años.value(años.size() - 1) : años[0];
    if (f.clase == Cifra::LineasSinLugar) {
        g.lineas = r.lineasSinLugar;
        g.titulo = "Líneas sin lugar, " + periodo;
    } else if (f.clase == Cifra::SinLinea) {
        g.sinLinea = true;
        g.titulo = "Productos sin línea, " + periodo;
    } else {
        g.lineas = f.columna < 0 ? lineas : QStringList{lineas.value(f.columna)};
        g.titulo =
            (f.columna < 0 ? QString("Todas las líneas") : g.lineas->value(0)) + ", " + periodo;
    }
    return g;
}

// The salesperson report: a salesperson's row or every row, a year's column or the period.
Regla DeVendedores(const Seleccion& s, const report::ReportContent& c, const Cifra& f) {
    Regla g;
    const Periodo periodo = PeriodoDe(s, {});
    const Dias dias =
        f.columna < 0 ? Dias{periodo.desde, periodo.hasta} : DiasDeColumna(periodo, f.columna);
    g.dias << dias;
    g.lineaElegida = CondicionLinea(s);
    if (f.clase == Cifra::SinVendedor) {
        g.vendedor = " is null";
        g.titulo = "Sin vendedor";
    } else if (f.fila < 0) {
        g.vendedor = EnLista(c.filas);
        g.titulo = "Todos los vendedores";
    } else {
        g.vendedor = "=" + ado::Quote(c.filas.value(f.fila));
        g.titulo = "Vendedor " + c.filas.value(f.fila);
    }
    g.titulo += ", " + (f.columna < 0 ? QString("todo el periodo") : c.columnas.value(f.columna));
    return g;
}

}  // namespace

double Detalle::Total() const {
    double total = 0;
    for (const Comprobante& d : documentos) total += d.importe;
    return total;
}

QList<std::pair<QString, Cifra>> CifrasDeLasNotas(const Reporte& reporte, const Resultado& r) {
    QList<std::pair<QString, Cifra>> notas;
    if (reporte.tipo == TipoReporte::PorVendedor && r.tieneDatos && r.ventasSinVendedor != 0)
        notas << std::pair{QString("Ventas sin vendedor"), Cifra{Cifra::SinVendedor}};
    if (reporte.tipo == TipoReporte::PorLinea && !r.lineasSinLugar.isEmpty())
        notas << std::pair{QString("Líneas sin lugar"), Cifra{Cifra::LineasSinLugar}};
    if (reporte.tipo == TipoReporte::PorLinea && r.ventasSinLinea != 0)
        notas << std::pair{QString("Productos sin línea"), Cifra{Cifra::SinLinea}};
    return notas;
}

report::Listado ComoListado(const Detalle& d) {
    report::Listado l{d.titulo,
                      {"Tipo", "Número", "Fecha", "Cliente", "Nombre del cliente", "Vendedor",
                       "Nombre del vendedor", "Importe"},
                      {}};
    for (const Comprobante& c : d.documentos)
        l.filas << QVariantList{c.tipo,          c.numero,   c.fecha,          c.cliente,
                                c.nombreCliente, c.vendedor, c.nombreVendedor, c.importe};
    return l;
}

Detalle LeeDetalle(const Reporte& reporte, const Seleccion& s, const report::ReportContent& c,
                   const Resultado& r, const Cifra& cifra, ado::Connection& conexion) {
    Seleccion seleccion = s;
    seleccion.claveSinCabida = HayVendedor(s) && !ClaveCabe(conexion, s.vendedor);
    Regla g = reporte.tipo == TipoReporte::PorMes     ? DelMes(c, cifra)
              : reporte.tipo == TipoReporte::PorLinea ? DeLineas(c, r, cifra)
                                                      : DeVendedores(seleccion, c, cifra);
    if (reporte.tipo != TipoReporte::PorVendedor && HayVendedor(s))
        g.vendedor = "=" + ClaveVendedor(seleccion);
    QStringList partes;
    const RangoTipos tipos = Tipos(s);
    for (int k = tipos.primero; k <= tipos.ultimo; ++k)
        partes << Parte(g, k ? "remisión" : "factura", Documento(s, k), false);
    partes << Parte(g, "devolución", "devolucionctes", true);
    QSqlQuery q = conexion.Query(partes.join(" UNION ALL ") + " ORDER BY 3,1,2");
    Detalle d;
    const QStringList seleccionDicha = DescribeSeleccion(reporte, s).split(report::kSeparador);
    d.titulo =
        (QStringList{reporte.nombre, g.titulo} + seleccionDicha.mid(1)).join(report::kSeparador);
    d.archivo = "Documentos " + reporte.nombre + " " + QString(g.titulo).replace(',', "");
    while (q.next())
        d.documentos << Comprobante{q.value(0).toString(), q.value(1).toString(),
                                    q.value(2).toDate(),   q.value(3).toString(),
                                    q.value(4).toString(), q.value(5).toString(),
                                    q.value(6).toString(), q.value(7).toDouble()};
    return d;
}

}  // namespace reportdata
