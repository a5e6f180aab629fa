#include "platform/report/ExportXlsx.h"

#include <QDateTime>
#include <QRegularExpression>
#include <vector>

#include "platform/report/Eje.h"
#include "platform/report/Formato.h"
#include "platform/report/LibroXlsx.h"
#include "platform/report/ReportPages.h"

namespace report {
namespace {

const char* const kFormatoCambio = "+0.0%;-0.0%;0.0%";
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

void Escribe(lxw_workbook* libro, const ReportPages& pages) {
    const ReportContent& c = pages.Content();
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
    lxw_format* cambio = workbook_add_format(libro);
    format_set_num_format(cambio, kFormatoCambio);
    format_set_align(cambio, LXW_ALIGN_RIGHT);
    lxw_format* negrita = workbook_add_format(libro);
    format_set_bold(negrita);

    const auto col = [](int c) { return static_cast<lxw_col_t>(c); };
    auto texto = [&](int fila, int columna, const QString& t, lxw_format* f = nullptr) {
        worksheet_write_string(hoja, fila, col(columna), t.toUtf8().constData(), f);
    };
    auto formula = [&](int fila, int columna, const QString& f, lxw_format* formato, double valor) {
        worksheet_write_formula_num(hoja, fila, col(columna), f.toUtf8().constData(), formato,
                                    valor);
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
    // The notes under the page's chart, or the sentence that takes the chart's place.
    texto(4, 0, c.NadaQueMostrar() ? c.Aviso() : c.nota, c.NadaQueMostrar() ? titulo : nullptr);

    const ReportContent::Tabla t = c.TablaMostrada();
    const auto mostradas = t.Mostradas();
    // The table as the page shows it: totals and changes as formulas over the cells.
    const int filas = static_cast<int>(t.filas.size());
    const int n = static_cast<int>(mostradas.size());
    const int primera = kFilaCabecera + 1, ultima = kFilaCabecera + filas;
    QVector<int> hojaDe;  // the sheet's column of each column of figures
    for (int j = 0; j < n; ++j)
        if (!mostradas[j].esCambio) hojaDe << j + 1;
    QVector<int> anchos(n + 2, 8);
    auto anota = [&](int columna, const QString& escrito) {
        anchos[columna] = qMax(anchos[columna], static_cast<int>(escrito.size()) + 2);
    };
    texto(kFilaCabecera, 0, t.tituloFilas, cabecera);
    anota(0, t.tituloFilas);
    for (int j = 0; j < n; ++j) {
        texto(kFilaCabecera, j + 1, mostradas[j].rotulo, cabecera);
        anota(j + 1, mostradas[j].rotulo);
    }
    texto(kFilaCabecera, n + 1, "Total", cabecera);
    // A row of figures (or the totals row) after its cells: its changes and its total.
    auto cambiosYTotal = [&](int fila, const QVector<double>& valores, double suma) {
        for (int j = 0; j < n; ++j) {
            if (!mostradas[j].esCambio) continue;
            const int a = mostradas[j].columna;
            const QString antes = Celda(fila, hojaDe[a - 1]), ahora = Celda(fila, hojaDe[a]);
            const QString f = "=IF(ROUND(" + antes + ",2)>0," + ahora + "/" + antes + "-1,\"—\")";
            if (const auto cifra = Cambio(valores[a - 1], valores[a]))
                formula(fila, j + 1, f, cambio, *cifra / 100);
            else
                worksheet_write_formula_str(hoja, fila, col(j + 1), f.toUtf8().constData(), cambio,
                                            "—");
            anota(j + 1, TextoCambio(valores[a - 1], valores[a]));
        }
        QStringList sumandos;
        for (int h : hojaDe) sumandos << Celda(fila, h);
        formula(fila, n + 1, "=SUM(" + sumandos.join(',') + ")", total, suma);
        anota(n + 1, Moneda(suma));
    };
    const ReportContent::Totales sumas = t.Suma();
    for (int i = 0; i < filas; ++i) {
        texto(primera + i, 0, t.filas[i]);
        anota(0, t.filas[i]);
        for (int a = 0; a < hojaDe.size(); ++a) {
            const double v = t.celdas[i][a];
            worksheet_write_number(hoja, primera + i, col(hojaDe[a]), v, moneda);
            anota(hojaDe[a], Moneda(v));
        }
        cambiosYTotal(primera + i, t.celdas[i], sumas.filas[i]);
    }
    texto(ultima + 1, 0, "Total", negrita);
    for (int a = 0; a < hojaDe.size(); ++a) {
        formula(ultima + 1, hojaDe[a], "=SUM(" + Rango(primera, hojaDe[a], ultima, hojaDe[a]) + ")",
                total, sumas.columnas[a]);
        anota(hojaDe[a], Moneda(sumas.columnas[a]));
    }
    cambiosYTotal(ultima + 1, sumas.columnas, sumas.columnas.last());
    for (int j = 0; j < anchos.size(); ++j)
        worksheet_set_column(hoja, col(j), col(j), anchos[j] * 1.1, nullptr);
    worksheet_freeze_panes(hoja, kFilaCabecera + 1, 1);
    if (c.NadaQueMostrar()) return;  // the table of zeros, as the page has it, and no chart

    // The page's charts, drawn from these cells so that they follow their edits: as many as the
    // page has, each on a print page of its own, on one scale, every category named.
    const QByteArray hoja8 = nombreHoja.toUtf8();
    const int series = t.seriesEnFilas ? filas : static_cast<int>(hojaDe.size());
    const int categorias = t.seriesEnFilas ? static_cast<int>(hojaDe.size()) : filas;
    double menor = 0, mayor = 0;
    for (const QVector<double>& fila : t.celdas)
        for (double v : fila) {
            menor = qMin(menor, v);
            mayor = qMax(mayor, v);
        }
    const Eje eje = EjeDeValores(menor, mayor);
    lxw_chart_options opciones{};
    opciones.x_scale = 2.2;
    opciones.y_scale = 1.6;
    const int filasPorGrafica = static_cast<int>(opciones.y_scale * kAltoGrafica / kAltoFila) + 3;
    std::vector<lxw_row_t> cortes;
    for (int g = 0; g < pages.Graficas(); ++g) {
        const int desde = g * pages.PorGrafica();
        const int hasta = qMin(categorias, desde + pages.PorGrafica()) - 1;
        lxw_chart* grafica = workbook_add_chart(libro, LXW_CHART_COLUMN);
        for (int s = 0; s < series; ++s) {
            lxw_chart_series* serie = chart_add_series(grafica, nullptr, nullptr);
            if (t.seriesEnFilas) {  // each row a series over the columns
                chart_series_set_categories(serie, hoja8, kFilaCabecera, col(hojaDe[desde]),
                                            kFilaCabecera, col(hojaDe[hasta]));
                chart_series_set_values(serie, hoja8, primera + s, col(hojaDe[desde]), primera + s,
                                        col(hojaDe[hasta]));
                chart_series_set_name_range(serie, hoja8, primera + s, 0);
            } else {  // each column a series over the rows
                chart_series_set_categories(serie, hoja8, primera + desde, 0, primera + hasta, 0);
                chart_series_set_values(serie, hoja8, primera + desde, col(hojaDe[s]),
                                        primera + hasta, col(hojaDe[s]));
                chart_series_set_name_range(serie, hoja8, kFilaCabecera, col(hojaDe[s]));
            }
            lxw_chart_fill relleno{};
            relleno.color = ColorDeSerie(s).rgb() & 0xFFFFFF;
            chart_series_set_fill(serie, &relleno);
        }
        chart_axis_set_num_format(grafica->y_axis, kFormatoMoneda);
        chart_axis_set_min(grafica->y_axis, eje.marcas.first());
        chart_axis_set_max(grafica->y_axis, eje.marcas.last());
        chart_axis_set_major_unit(grafica->y_axis, eje.marcas[1] - eje.marcas[0]);
        chart_axis_set_interval_unit(grafica->x_axis, 1);
        if (!c.ejeCategorias.isEmpty())
            chart_axis_set_name(grafica->x_axis, c.ejeCategorias.toUtf8().constData());
        chart_legend_set_position(grafica, LXW_CHART_LEGEND_BOTTOM);
        // Each chart prints whole: the first starts a page of its own when it would not share
        // one with the rows above it, the others always.
        const int fila = ultima + 3 + g * filasPorGrafica;
        if (g > 0 || fila * kAltoFila + opciones.y_scale * kAltoGrafica > kAltoPagina)
            cortes.push_back(static_cast<lxw_row_t>(fila));
        worksheet_insert_chart_opt(hoja, fila, 0, grafica, &opciones);
    }
    cortes.push_back(0);
    if (cortes.size() > 1) worksheet_set_h_pagebreaks(hoja, cortes.data());
}

}  // namespace

void ExportXlsx(const ReportPages& pages, const QString& path, SaveFiles* batch) {
    EscribeLibro(path, batch, [&](lxw_workbook* libro) { Escribe(libro, pages); });
}

}  // namespace report
