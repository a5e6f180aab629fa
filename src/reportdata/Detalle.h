#pragma once
// The documents behind a figure of a report: the invoices, delivery notes and customer returns
// whose net amounts, within the figure, add up to it. Read only, from the same selection and the
// same rules as the report's builders, bounded by the figure's dates.
#include <QDate>
#include <QList>
#include <QString>

#include "platform/report/Listado.h"
#include "platform/report/ReportContent.h"
#include "reportdata/Reportes.h"
#include "reportdata/Resultado.h"
#include "reportdata/Seleccion.h"

namespace ado {
class Connection;
}

namespace reportdata {

// A figure of a report, by its row and column in the report's content (the table as the work
// table holds it, before any transposing); -1 stands for every one, as a total does.
// SinVendedor and SinLinea are the figures the page's notes name: the sales no salesperson row
// holds, the lines without a slot and the products with no line.
struct Cifra {
    enum Clase { Celda, SinVendedor, LineasSinLugar, SinLinea };
    Clase clase = Celda;
    int fila = -1, columna = -1;
};

struct Comprobante {
    QString tipo;  // "factura", "remisión" or "devolución"
    QString numero;
    QDate fecha;
    QString cliente, nombreCliente, vendedor, nombreVendedor;
    double importe = 0;  // within the figure; negative for a return
};

struct Detalle {
    QString titulo;   // the figure: the report, its row and column, the selection
    QString archivo;  // the name a saved copy is offered under: the figure and its period
    QList<Comprobante> documentos;
    double Total() const;
};

// The documents of a figure of the report c, filled by LlenaTabla from the selection s (r: what
// it left besides its rows). One statement; the rows in date order.
Detalle LeeDetalle(const Reporte& reporte, const Seleccion& s, const report::ReportContent& c,
                   const Resultado& r, const Cifra& cifra, ado::Connection& conexion);

// The figures the page's notes name, as they may be opened: a caption for each.
QList<std::pair<QString, Cifra>> CifrasDeLasNotas(const Reporte& reporte, const Resultado& r);

// The list as a file holds it: one row a document, in the columns the window shows.
report::Listado ComoListado(const Detalle& d);

}  // namespace reportdata
