#include "platform/report/ExportXlsx.h"

#include <QDateTime>
#include <QRegularExpression>

#include "platform/report/Formato.h"
#include "platform/report/LibroXlsx.h"
#include "platform/report/ReportPages.h"

namespace report {
namespace {

const int kFilaCabecera = 5;      // the table's heading; the rows of figures follow
const double kAltoFila = 15;      // points, a row's default height
const double kAltoGrafica = 216;  // points, a chart's default height (288 pixels)
const double kAltoPagina = 480;   // points a landscape A4 page prints between its margins

// A sheet name Excel accepts: at most 31 characters, none of []:*?/\ .
QString NombreDeHoja(const QString& titulo) {
    QString nombre = QString(titulo).remove(QRegularExpression("[\\[\\]:*?/\\\\]")).trimmed();
    if (nombre.size() > 31) {  // cut at a word where one ends early enough
        const int corte = nombre.left(32).lastIndexOf(' ');
        nombre = nombre.left(corte > 0 ? corte : 31).trimmed();
    }
    return nombre.isEmpty() ? "Reporte" : nombre;
}

QString Celda(int fila, int columna) {
    char texto[LXW_MAX_CELL_NAME_LENGTH];
    lxw_rowcol_to_cell(texto, fila, static_cast<lxw_col_t>(columna));
    return QString::fromLatin1(texto);
}

QString Rango(int fila1, int columna1, int fila2, int columna2) {
    return Celda(fila1, columna1) + ":" + Celda(fila2, columna2);
}

void Escribe(lxw_workbook* libro, const ReportContent& c) {
    const QString nombreHoja = NombreDeHoja(c.titulo);
    lxw_worksheet* hoja = workbook_add_worksheet(libro, nombreHoja.toUtf8().constData());
    lxw_format* titulo = workbook_add_format(libro);
    format_set_bold(titulo);
    format_set_font_size(titulo, 14);
    lxw_format* cabecera = workbook_add_format(libro);
    format_set_bold(cabecera);
    format_set_font_color(cabecera, LXW_COLOR_WHITE);
    format_set_bg_color(cabecera, 0x29629B);
    lxw_format* moneda = workbook_add_format(libro);
    format_set_num_format(moneda, kFormatoMoneda);
    lxw_format* total = workbook_add_format(libro);
    format_set_num_format(total, kFormatoMoneda);
    format_set_bold(total);
    lxw_format* negrita = workbook_add_format(libro);
    format_set_bold(negrita);

    auto texto = [&](int fila, int columna, const QString& t, lxw_format* f = nullptr) {
        worksheet_write_string(hoja, fila, static_cast<lxw_col_t>(columna), t.toUtf8().constData(),
                               f);
    };
    texto(0, 0, c.titulo, titulo);
    texto(1, 0, "Servidor: " + c.servidor + "    Base de datos: " + c.base);
    texto(2, 0, c.seleccion);
    texto(3, 0, "Impreso el " + QDateTime::currentDateTime().toString("dd/MM/yyyy HH:mm"));
    // Printed as the page: landscape A4, one page wide.
    worksheet_set_landscape(hoja);
    worksheet_set_paper(hoja, 9);
    worksheet_fit_to_pages(hoja, 1, 0);
    if (c.filas.isEmpty()) {
        texto(kFilaCabecera, 0, c.Aviso(), titulo);
        return;
    }
    // The line under the page's chart, or the sentence that takes the chart's place.
    texto(4, 0, c.NadaQueMostrar() ? c.Aviso() : c.nota, c.NadaQueMostrar() ? titulo : nullptr);

    const ReportContent::Tabla t = c.TablaMostrada();
    // The table as the page shows it, totals as formulas over the cells.
    const int filas = static_cast<int>(t.filas.size());
    const int columnas = static_cast<int>(t.columnas.size());
    const int primera = kFilaCabecera + 1, ultima = kFilaCabecera + filas;
    QVector<int> anchos(columnas + 2, 8);
    auto anota = [&](int columna, const QString& escrito) {
        anchos[columna] = qMax(anchos[columna], static_cast<int>(escrito.size()) + 2);
    };
    texto(kFilaCabecera, 0, t.tituloFilas, cabecera);
    anota(0, t.tituloFilas);
    for (int j = 0; j < columnas; ++j) {
        texto(kFilaCabecera, j + 1, t.columnas[j], cabecera);
        anota(j + 1, t.columnas[j]);
    }
    texto(kFilaCabecera, columnas + 1, "Total", cabecera);
    const ReportContent::Totales sumas = t.Suma();
    for (int i = 0; i < filas; ++i) {
        texto(primera + i, 0, t.filas[i]);
        anota(0, t.filas[i]);
        for (int j = 0; j < columnas; ++j) {
            const double v = t.celdas[i][j];
            worksheet_write_number(hoja, primera + i, static_cast<lxw_col_t>(j + 1), v, moneda);
            anota(j + 1, Moneda(v));
        }
        const double suma = sumas.filas[i];
        const QString formula = "=SUM(" + Rango(primera + i, 1, primera + i, columnas) + ")";
        worksheet_write_formula_num(hoja, primera + i, static_cast<lxw_col_t>(columnas + 1),
                                    formula.toUtf8().constData(), total, suma);
        anota(columnas + 1, Moneda(suma));
    }
    texto(ultima + 1, 0, "Total", negrita);
    for (int j = 0; j <= columnas; ++j) {
        const QString formula = "=SUM(" + Rango(primera, j + 1, ultima, j + 1) + ")";
        worksheet_write_formula_num(hoja, ultima + 1, static_cast<lxw_col_t>(j + 1),
                                    formula.toUtf8().constData(), total, sumas.columnas[j]);
        anota(j + 1, Moneda(sumas.columnas[j]));
    }
    for (int j = 0; j < anchos.size(); ++j)
        worksheet_set_column(hoja, static_cast<lxw_col_t>(j), static_cast<lxw_col_t>(j),
                             anchos[j] * 1.1, nullptr);
    worksheet_freeze_panes(hoja, kFilaCabecera + 1, 1);
    if (c.NadaQueMostrar()) return;  // the table of zeros, as the page has it, and no chart

    // The page's chart, drawn from these cells so that it follows their edits.
    lxw_chart* grafica = workbook_add_chart(libro, LXW_CHART_COLUMN);
    const QByteArray hoja8 = nombreHoja.toUtf8();
    const auto col = [](int c) { return static_cast<lxw_col_t>(c); };
    const int series = t.seriesEnFilas ? filas : columnas;
    for (int s = 0; s < series; ++s) {
        lxw_chart_series* serie = chart_add_series(grafica, nullptr, nullptr);
        if (t.seriesEnFilas) {  // each row a series over the columns
            chart_series_set_categories(serie, hoja8, kFilaCabecera, 1, kFilaCabecera,
                                        col(columnas));
            chart_series_set_values(serie, hoja8, primera + s, 1, primera + s, col(columnas));
            chart_series_set_name_range(serie, hoja8, primera + s, 0);
        } else {  // each column a series over the rows
            chart_series_set_categories(serie, hoja8, primera, 0, ultima, 0);
            chart_series_set_values(serie, hoja8, primera, col(s + 1), ultima, col(s + 1));
            chart_series_set_name_range(serie, hoja8, kFilaCabecera, col(s + 1));
        }
        lxw_chart_fill relleno{};
        relleno.color = ColorDeSerie(s).rgb() & 0xFFFFFF;
        chart_series_set_fill(serie, &relleno);
    }
    chart_axis_set_num_format(grafica->y_axis, kFormatoMoneda);
    if (!c.ejeCategorias.isEmpty())
        chart_axis_set_name(grafica->x_axis, c.ejeCategorias.toUtf8().constData());
    chart_legend_set_position(grafica, LXW_CHART_LEGEND_BOTTOM);
    lxw_chart_options opciones{};
    opciones.x_scale = 2.2;
    opciones.y_scale = 1.6;
    // The chart prints whole: when the rows above it and the chart would not share a page, it
    // starts one of its own.
    const int filaGrafica = ultima + 3;
    if (filaGrafica * kAltoFila + opciones.y_scale * kAltoGrafica > kAltoPagina) {
        lxw_row_t cortes[] = {static_cast<lxw_row_t>(filaGrafica), 0};
        worksheet_set_h_pagebreaks(hoja, cortes);
    }
    worksheet_insert_chart_opt(hoja, filaGrafica, 0, grafica, &opciones);
}

}  // namespace

void ExportXlsx(const ReportPages& pages, const QString& path, SaveFiles* batch) {
    EscribeLibro(path, batch, [&](lxw_workbook* libro) { Escribe(libro, pages.Content()); });
}

}  // namespace report
