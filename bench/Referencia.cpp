#include "Referencia.h"

#include <QDate>
#include <QSqlQuery>
#include <QSqlRecord>

#include "platform/ado/Connection.h"
#include "platform/ado/QueryAtOnce.h"
#include "platform/ado/Quote.h"
#include "reportdata/Globales.h"
#include "reportdata/Reglas.h"
#include "reportdata/Sentencias.h"

namespace {

struct Rango {
    QString desde, hasta;  // [desde, hasta)
    int y1;
};

Rango DeAños(const reportdata::Seleccion& s) {
    const int final = static_cast<int>(oLibreria->kzVal(s.año));
    return {QString("%1-01-01").arg(final - 2), QString("%1-01-01").arg(final + 1), final - 2};
}

Rango DeFechas(const reportdata::Seleccion& s) {
    const QDate inicio = reportdata::FechaDe(s.fechaInicial);
    QDate desde(inicio.year() - 2, inicio.month(), inicio.day());
    if (!desde.isValid()) desde = QDate(inicio.year() - 2, inicio.month(), 28);
    return {desde.toString("yyyy-MM-dd"),
            reportdata::FechaDe(s.fechaFinal).addDays(1).toString("yyyy-MM-dd"), desde.year()};
}

QStringList Documentos(const reportdata::Seleccion& s) {
    return s.tipo == 2 ? QStringList{"facturas", "remisiones"}
                       : QStringList{s.documentos[s.tipo].toLower()};
}

// Adds (or with signo -1 subtracts) the three columns fila, columna, importe of a query.
void Suma(Cifras& c, ado::Connection& cn, const QString& sql, double signo,
          const std::function<QString(const QSqlQuery&)>& columna) {
    QSqlQuery q = cn.Query(sql);
    while (q.next()) c[q.value(0).toString()][columna(q)] += signo * q.value(2).toDouble();
}

QString Dentro(const QString& campo, const Rango& r) {
    return campo + ">=" + ado::Quote(r.desde) + " AND " + campo + "<" + ado::Quote(r.hasta);
}

}  // namespace

Cifras Referencia(int reporte, const reportdata::Seleccion& s, ado::Connection& cn) {
    const bool conVendedor = !s.vendedor.trimmed().isEmpty();
    const QString clave = ado::Quote(s.vendedor);
    const QString detalle = "SUM(d.Cantidad*d.PrecioNeto*(1+d.IVA/100))";
    const QString devuelto = "SUM(dd.Cantidad*dd.Precio*(1+dd.IVA/100))";
    const QString clientes = conVendedor
                                 ? " JOIN clientes c ON c.Clave=r.Cliente AND c.Vendedor=" + clave
                                 : " LEFT JOIN clientes c ON c.Clave=r.Cliente";
    const QString vendedorDoc = conVendedor ? " AND f.Vendedor=" + clave : QString();
    Cifras c;
    if (reporte == 0) {
        const Rango r = DeAños(s);
        auto mes = [](const QSqlQuery& q) { return reportdata::kMeses[q.value(1).toInt() - 1]; };
        for (const QString& doc : Documentos(s))
            Suma(c, cn,
                 "SELECT year(f.Fecha), month(f.Fecha), SUM(f.Subtotal+f.IVA+f.ImpuestoAd) FROM " +
                     doc + " f WHERE " + Dentro("f.Fecha", r) + vendedorDoc + " GROUP BY 1, 2",
                 1, mes);
        Suma(c, cn,
             "SELECT year(r.Fecha), month(r.Fecha), SUM(r.Subtotal+r.IVA+r.ImpuestoAd) FROM "
             "devolucionctes r" +
                 clientes + " WHERE " + Dentro("r.Fecha", r) + " GROUP BY 1, 2",
             -1, mes);
        for (int y = r.y1; y < r.y1 + 3; ++y)
            for (const QString& m : reportdata::kMeses) c[QString::number(y)][m] += 0;
    } else if (reporte == 1) {
        const Rango r = DeAños(s);
        auto linea = [](const QSqlQuery& q) { return q.value(1).toString(); };
        for (const QString& doc : Documentos(s))
            Suma(c, cn,
                 "SELECT year(f.Fecha), l.Linea, " + detalle + " FROM " + doc + " f JOIN " + doc +
                     "detalle d ON d.Id=f.Id JOIN productos p ON p.Clave=d.Producto JOIN lineas l "
                     "ON l.Id=p.Linea WHERE " +
                     Dentro("f.Fecha", r) + vendedorDoc + " GROUP BY 1, 2",
                 1, linea);
        Suma(c, cn,
             "SELECT year(r.Fecha), l.Linea, " + devuelto +
                 " FROM devolucionctes r JOIN devolucionctesdet dd ON "
                 "dd.DevolucionCtes=r.DevolucionCtes JOIN productos p ON p.Clave=dd.Producto JOIN "
                 "lineas l ON l.Id=p.Linea" +
                 clientes + " WHERE " + Dentro("r.Fecha", r) + " GROUP BY 1, 2",
             -1, linea);
    } else {
        const Rango r = DeFechas(s);
        const QString linea = oLibreria->kzVal(s.linea.toString()) > 0
                                  ? " AND p.Linea=" + s.linea.toString()
                                  : QString();
        auto año = [&r](const QSqlQuery& q) {
            const int y = q.value(1).toInt();
            return QString("Anio%1").arg(y == r.y1 ? 1 : y == r.y1 + 1 ? 2 : 3);
        };
        for (const QString& doc : Documentos(s))
            Suma(c, cn,
                 "SELECT f.Vendedor, year(f.Fecha), " + detalle + " FROM " + doc + " f JOIN " +
                     doc +
                     "detalle d ON d.Id=f.Id LEFT JOIN productos p ON p.Clave=d.Producto WHERE " +
                     Dentro("f.Fecha", r) + vendedorDoc + linea +
                     " AND f.Vendedor IS NOT NULL GROUP BY 1, 2",
                 1, año);
        Cifras devoluciones;
        Suma(devoluciones, cn,
             "SELECT c.Vendedor, year(r.Fecha), " + devuelto +
                 " FROM devolucionctes r JOIN devolucionctesdet dd ON "
                 "dd.DevolucionCtes=r.DevolucionCtes JOIN clientes c ON c.Clave=r.Cliente LEFT "
                 "JOIN productos p ON "
                 "p.Clave=dd.Producto WHERE " +
                 Dentro("r.Fecha", r) + linea + " GROUP BY 1, 2",
             -1, año);
        for (auto v = devoluciones.cbegin(); v != devoluciones.cend(); ++v)
            if (c.contains(v.key()))
                for (auto a = v.value().cbegin(); a != v.value().cend(); ++a)
                    c[v.key()][a.key()] += a.value();
    }
    return c;
}

void Piso(int reporte, const reportdata::Seleccion& s, ado::Connection& cn) {
    QStringList sumas;
    for (const QString& doc : Documentos(s))
        sumas << (reporte == 0
                      ? "SELECT SUM(" + reportdata::kTotalDocumento + ") FROM " + doc
                      : "SELECT SUM(" + oUtilerias->CambXXX(reportdata::kImporteVendido, doc) +
                            ") FROM " + doc + "detalle");
    sumas << (reporte == 0
                  ? "SELECT SUM(" + reportdata::kTotalDevolucion + ") FROM devolucionctes"
                  : "SELECT SUM(" + reportdata::kImporteDevuelto + ") FROM devolucionctesdet");
    ado::QueryAtOnce(cn, sumas);
}

Cifras DeLaTabla(int reporte, ado::Connection& cn, const QString& tabla,
                 const reportdata::Resultado& r) {
    QSqlQuery q = cn.Query("SELECT * FROM " + tabla);
    Cifras c;
    while (q.next()) {
        const QSqlRecord f = q.record();
        if (reporte == 0)
            for (const QString& m : reportdata::kMeses)
                c[f.value("Año").toString()][m] = f.value(m).toDouble();
        if (reporte == 1)
            for (int n = 1; n <= 12; ++n)
                if (!r.aEtiquetas[n - 1].isEmpty())
                    c[f.value("Cliente").toString()][r.aEtiquetas[n - 1]] =
                        f.value("Linea" + QString::number(n)).toDouble();
        if (reporte == 2)
            for (const char* a : {"Anio1", "Anio2", "Anio3"})
                c[f.value("Vendedor").toString()][a] = f.value(a).toDouble();
    }
    return c;
}

QString Diferencias(const Cifras& constructor, const Cifras& referencia) {
    for (auto fila = constructor.cbegin(); fila != constructor.cend(); ++fila)
        for (auto col = fila.value().cbegin(); col != fila.value().cend(); ++col) {
            const double a = col.value(), b = referencia.value(fila.key()).value(col.key());
            if (qAbs(a - b) > 1e-6 * qMax(1.0, qMax(qAbs(a), qAbs(b))))
                return QString("%1/%2: %3 frente a %4")
                    .arg(fila.key(), col.key())
                    .arg(a, 0, 'f', 4)
                    .arg(b, 0, 'f', 4);
        }
    return {};
}
