#include "platform/report/Listado.h"

#include <QDate>

#include "platform/report/Export.h"
#include "platform/report/Formato.h"
#include "platform/report/LibroXlsx.h"
#include "platform/vb/SaveFile.h"

namespace report {
namespace {

bool EsImporte(const QVariant& v) {
    return v.typeId() == QMetaType::Double;
}

// The totals row: the sum of each amount column, as the rows give them.
QVariantList Totales(const Listado& l) {
    QVariantList totales(l.columnas.size());
    totales[0] = QString("Total");
    for (const QVariantList& f : l.filas)
        for (int c = 0; c < f.size(); ++c)
            if (EsImporte(f[c])) totales[c] = totales[c].toDouble() + f[c].toDouble();
    return totales;
}

}  // namespace

void ExportListadoCsv(const Listado& l, const QString& path, SaveFiles* batch) {
    QStringList lineas;
    QStringList cabecera;
    for (const QString& c : l.columnas) cabecera << Campo(c);
    lineas << cabecera.join(',');
    for (const QVariantList& f : l.filas + QList<QVariantList>{Totales(l)}) {
        QStringList linea;
        for (const QVariant& v : f)
            linea << (EsImporte(v) ? QString::number(Redondea(v.toDouble()), 'f', 2)
                      : v.typeId() == QMetaType::QDate ? v.toDate().toString("yyyy-MM-dd")
                                                       : Campo(v.toString()));
        lineas << linea.join(',');
    }
    SaveFile(path, LineasCsv(lineas, path), batch);
}

void ExportListadoXlsx(const Listado& l, const QString& path, SaveFiles* batch) {
    EscribeLibro(path, batch, [&](lxw_workbook* libro) {
        lxw_worksheet* hoja = workbook_add_worksheet(libro, "Documentos");
        lxw_format* titulo = workbook_add_format(libro);
        format_set_bold(titulo);
        lxw_format* negrita = workbook_add_format(libro);
        format_set_bold(negrita);
        lxw_format* moneda = workbook_add_format(libro);
        format_set_num_format(moneda, kFormatoMoneda);
        lxw_format* total = workbook_add_format(libro);
        format_set_num_format(total, kFormatoMoneda);
        format_set_bold(total);
        lxw_format* fecha = workbook_add_format(libro);
        format_set_num_format(fecha, "dd/mm/yyyy");
        auto texto = [&](int fila, int columna, const QString& t, lxw_format* f = nullptr) {
            worksheet_write_string(hoja, fila, lxw_col_t(columna), t.toUtf8().constData(), f);
        };
        texto(0, 0, l.titulo, titulo);
        const int primera = 3, ultima = primera + int(l.filas.size()) - 1;
        for (int c = 0; c < l.columnas.size(); ++c) {
            texto(2, c, l.columnas[c], negrita);
            worksheet_set_column(hoja, lxw_col_t(c), lxw_col_t(c), 16, nullptr);
        }
        for (int i = 0; i < l.filas.size(); ++i)
            for (int c = 0; c < l.filas[i].size(); ++c) {
                const QVariant& v = l.filas[i][c];
                if (EsImporte(v)) {
                    worksheet_write_number(hoja, primera + i, lxw_col_t(c), v.toDouble(), moneda);
                } else if (v.typeId() == QMetaType::QDate) {
                    const QDate d = v.toDate();
                    lxw_datetime dt{d.year(), d.month(), d.day(), 0, 0, 0};
                    worksheet_write_datetime(hoja, primera + i, lxw_col_t(c), &dt, fecha);
                } else {
                    texto(primera + i, c, v.toString());
                }
            }
        // The totals follow the cells: formulas, with the figure as their cached value.
        const QVariantList totales = Totales(l);
        texto(ultima + 1, 0, "Total", negrita);
        for (int c = 1; c < totales.size(); ++c) {
            if (totales[c].isNull()) continue;
            char desde[LXW_MAX_CELL_NAME_LENGTH], hasta[LXW_MAX_CELL_NAME_LENGTH];
            lxw_rowcol_to_cell(desde, primera, lxw_col_t(c));
            lxw_rowcol_to_cell(hasta, qMax(primera, ultima), lxw_col_t(c));
            const QString formula = QString("=SUM(%1:%2)").arg(desde, hasta);
            worksheet_write_formula_num(hoja, ultima + 1, lxw_col_t(c),
                                        formula.toUtf8().constData(), total, totales[c].toDouble());
        }
        worksheet_freeze_panes(hoja, primera, 0);
        if (!l.filas.isEmpty())
            worksheet_autofilter(hoja, 2, 0, ultima, lxw_col_t(l.columnas.size() - 1));
    });
}

}  // namespace report
