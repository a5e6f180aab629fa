// The report engine: report files and formulas, the pages it lays out (page breaking, the value
// axis, what a rendered page holds) and the files it writes.

#include "Prueba.h"
#include "platform/ado/Connection.h"
#include "platform/report/Report.h"
#include "platform/vb/RuntimeError.h"
#include "reportdata/Globales.h"
#include "reportdata/Informe.h"
#include "reportdata/TablaTemporal.h"

#include "platform/report/Eje.h"
#include "platform/report/Export.h"
#include "platform/report/Formato.h"
#include "platform/report/Paginacion.h"
#include "platform/report/ReportPages.h"
#include "reportdata/Plantillas.h"

namespace {
// A word of a PDF as pdftotext places it: its page, its box in points and its text.
struct Palabra {
    int pagina;
    QRectF caja;
    QString texto;
};
QList<Palabra> Palabras(const QString& pdf) {
    static const QRegularExpression palabra(
        "<page |<word xMin=\"([^\"]+)\" yMin=\"([^\"]+)\" xMax=\"([^\"]+)\" "
        "yMax=\"([^\"]+)\">([^<]*)</word>");
    QList<Palabra> palabras;
    int pagina = -1;
    for (auto m = palabra.globalMatch(prueba::TextoPdf(pdf, {"-bbox-layout"})); m.hasNext();) {
        const auto p = m.next();
        if (p.captured(0) == "<page ") {
            ++pagina;
            continue;
        }
        palabras << Palabra{pagina,
                            QRectF(QPointF(p.captured(1).toDouble(), p.captured(2).toDouble()),
                                   QPointF(p.captured(3).toDouble(), p.captured(4).toDouble())),
                            p.captured(5).normalized(QString::NormalizationForm_KC)};  // "ﬁ"
    }
    return palabras;
}
// Takes each word of the texts from those counted; false when one is missing.
bool Toma(QHash<QString, int>& cuenta, const QStringList& textos) {
    for (const QString& texto : textos)
        for (const QString& w : texto.split(' ', Qt::SkipEmptyParts))
            if (cuenta[w]-- <= 0) return false;
    return true;
}
}  // namespace

class tst_paginas : public QObject {
    Q_OBJECT
    prueba::Programa programa;
    QString base;
    ado::Connection cn;
    QTemporaryDir salida;

  private slots:
    void initTestCase() {
        base = prueba::BaseConFixture();
        programa.Conecta(base);
        reportdata::PreparaPlantillas(cn);
    }

    void badFilesAreNamed_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("problema");
        QTest::newRow("not JSON") << "{titulo: x"
                                  << "posición";
        QTest::newRow("unknown formula")
            << R"({"titulo":"t","tabla":"x","filas":{"columna":"a"},"columnas":[{"columna":"b","formula":"F"}],"series":"filas"})"
            << "F";
        QTest::newRow("a change across the chart's categories")
            << R"({"titulo":"t","tabla":"x","filas":{"columna":"a"},"columnas":[{"columna":"b","rotulo":"B"}],"series":"filas","cambio":true})"
            << "cambio";
        QTest::newRow("bad series")
            << R"({"titulo":"t","tabla":"x","filas":{"columna":"a"},"columnas":[{"columna":"b","rotulo":"B"}],"series":"x"})"
            << "series";
    }
    void badFilesAreNamed() {
        QFETCH(QString, texto);
        QFETCH(QString, problema);
        const QString ruta = salida.filePath("malo.rpt");
        prueba::Pon(ruta, texto.toUtf8());
        const QString falla = prueba::Falla([&] { report::ReadReportFile(ruta); }).Description();
        QVERIFY2(falla.contains(ruta) && falla.contains(problema), qPrintable(falla));
    }

    void formulasAreTextConstants() {
        report::Application app;
        auto r = app.OpenReport(programa.Carpeta() + "/ReporteGxVend.rpt");
        r->FormulaFields(1).SetText("'O''Brien'");
        QCOMPARE(r->FormulaFields(1).Value(), "O'Brien");
        r->FormulaFields(4).SetText("");
        QCOMPARE(r->FormulaFields(4).Value(), "");
        for (const char* malo : {"Pinturas", "'abierta", "'a'b'"})
            QVERIFY(prueba::Falla([&] { r->FormulaFields(2).SetText(malo); })
                        .Description()
                        .contains("Anio2"));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, r->FormulaFields(5));
    }

    // The fixture's pages: a chart drawn, as many categories as the report lists, the title and
    // the database; nothing sold, one sentence naming the selection in place of the chart (a key
    // the catalogue lacks is not taken for a salesperson who sold nothing).
    void fixturePages_data() {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("vendedor");
        QTest::addColumn<int>("categorias");
        QTest::addColumn<QString>("dice");  // in 1990, instead of the chart; empty: 2010's chart
        const QString nada = "Sin ventas para Año final: 1990, Ventas: Ambas";
        QTest::newRow("by month") << 0 << QString() << 12 << QString();
        QTest::newRow("by line: only the listed lines") << 1 << QString() << 5 << QString();
        QTest::newRow("by salesperson") << 2 << QString() << 5 << QString();
        QTest::newRow("by month, nothing sold") << 0 << QString() << 0 << nada;
        QTest::newRow("by line, nothing sold") << 1 << QString() << 0 << nada;
        QTest::newRow("by month, a key not in the catalogue")
            << 0 << QString("V99") << 0
            << nada + ", Vendedor: V99 (no está en el catálogo de vendedores)";
        QTest::newRow("by salesperson, nothing sold")
            << 2 << QString() << 0 << QString("No se encontró información");
    }
    void fixturePages() {
        QFETCH(int, tipo);
        QFETCH(QString, vendedor);
        QFETCH(int, categorias);
        QFETCH(QString, dice);
        const QString año = dice.isEmpty() ? "2010" : "1990";
        reportdata::Seleccion s = prueba::Sel(2, vendedor, "01/01/" + año, "31/12/" + año);
        s.año = año;
        reportdata::NombraSeleccion(s, cn);
        const reportdata::Reporte& r = reportdata::kReportes[tipo];
        TablaTemporal trabajo(cn, r.estructura);
        const reportdata::Resultado hecho = reportdata::LlenaTabla(
            r, reportdata::Plan::Agrupado, s, cn, trabajo.cTabla, [](const QString&) {});
        const report::ReportPages paginas(reportdata::LeeInforme(r, trabajo.cTabla, hecho, s));
        const report::ReportContent& c = paginas.Content();
        const QString pdf = salida.filePath("f.pdf");
        report::ExportPdf(paginas, pdf);
        const QString texto =
            prueba::TextoPdf(pdf).simplified().normalized(QString::NormalizationForm_KC);  // "ﬁ"
        QVERIFY2(texto.contains(dice), qPrintable(texto));
        if (!dice.isEmpty()) {
            QVERIFY(!texto.contains("Mes Año") && !texto.contains("Línea Año"));  // no axis title
            return;
        }
        const QImage imagen = report::RenderPage(paginas, 0, 72);
        int tinta = 0;  // pixels that are not white in the chart's area
        for (int y = 150; y < 380; y += 2)
            for (int x = 60; x < 800; x += 2) tinta += imagen.pixelColor(x, y) != Qt::white;
        QVERIFY2(tinta > 2000, "the chart area is blank");
        QCOMPARE(c.Categorias().size(), categorias);
        QVERIFY(texto.contains(c.titulo) && texto.contains(base));
    }

    // The real page: every row and the totals row appear exactly once, whatever the count, and
    // nothing is drawn in the bottom margin.
    void everyRowAndTheTotalsOnTheRealPage_data() {
        QTest::addColumn<int>("filas");
        for (int n : {0, 1, 11, 12, 13, 41, 42, 100})
            QTest::newRow(qPrintable(QString::number(n))) << n;
    }
    void everyRowAndTheTotalsOnTheRealPage() {
        QFETCH(int, filas);
        report::ReportContent c;
        c.columnas = QStringList{"2024", "2025", "2026"};
        for (int i = 0; i < filas; ++i) {
            c.filas << QString::number(i);
            c.celdas << QVector<double>{1, 2, 3};
        }
        const report::ReportPages paginas(c);
        int vistas = 0, totales = 0;
        for (const report::Trozo& t : paginas.Trozos()) {
            QCOMPARE(t.primera, vistas);
            vistas += t.cuantas;
            totales += t.total;
        }
        QCOMPARE(vistas, filas);
        QCOMPARE(totales, filas ? 1 : 0);
        QVERIFY(!filas || paginas.Trozos().last().cuantas > 0);  // the totals never alone
        if (filas <= 13) QCOMPARE(paginas.Count(), 1);  // twelve lines: one page with the chart
        const int margen = 36;  // points, as the page lays it out; a rule on its edge may bleed
        for (int pagina = 0; pagina < paginas.Count(); ++pagina) {
            const QImage imagen = report::RenderPage(paginas, pagina, 72);
            for (int y = imagen.height() - margen + 1; y < imagen.height(); ++y)
                for (int x = 0; x < imagen.width(); ++x)
                    QVERIFY2(imagen.pixel(x, y) == qRgb(255, 255, 255),
                             qPrintable(QString("page %1 drawn at %2,%3 in the bottom margin")
                                            .arg(pagina + 1)
                                            .arg(x)
                                            .arg(y)));
        }
    }

    // Round, distinct, few ticks for any range; zero among them; money as the table writes it.
    void valueAxis_data() {
        QTest::addColumn<double>("menor");
        QTest::addColumn<double>("mayor");
        QTest::newRow("all zero") << 0.0 << 0.0;
        QTest::newRow("a few cents") << 0.0 << 0.03;
        QTest::newRow("mixed signs") << -58.0 << 20000.0;
        QTest::newRow("millions") << 0.0 << 2750548123.45;
        QTest::newRow("only losses") << -1000000.0 << 0.0;
        QTest::newRow("odd range") << -3.3 << 7.7;
    }
    void valueAxis() {
        QFETCH(double, menor);
        QFETCH(double, mayor);
        const report::Eje eje = report::EjeDeValores(menor, mayor);
        QVERIFY(eje.marcas.size() >= 3 && eje.marcas.size() <= 11);
        QVERIFY(eje.marcas.first() <= menor && eje.marcas.last() >= mayor);
        QVERIFY(eje.marcas.contains(0.0));
        QStringList rotulos;
        for (double m : eje.marcas) rotulos << report::Moneda(m, eje.decimales);
        QCOMPARE(QSet<QString>(rotulos.begin(), rotulos.end()).size(), rotulos.size());
        if (menor < 0) QVERIFY2(rotulos.first().startsWith("-$"), qPrintable(rotulos.first()));
        if (menor >= 0) QCOMPARE(eje.marcas.first(), 0.0);  // no negative tick without losses
        const double alto = eje.marcas.last() - eje.marcas.first();  // room beyond the bars
        QVERIFY(mayor <= 0 || eje.marcas.last() - mayor >= alto / 20);
        QVERIFY(menor >= 0 || menor - eje.marcas.first() >= alto / 20);
    }

    // The CSV a spreadsheet opens: marked as UTF-8, cents with a point, rounded as a person
    // rounds (half a cent up, away from zero, whatever the nearest double), the changes in
    // percent (a dash after nothing), the totals as the page has them, and a key that looks
    // like a formula kept as text.
    void csvForSpreadsheets() {
        report::ReportContent c;
        c.tituloFilas = "Vendedor";
        c.columnas = QStringList{"2025", "2026"};
        c.filas = QStringList{"=1+2", "V, 2", "Ñ"};
        c.celdas = {{1.005, -2.5}, {1000000.125, 0}, {0, 487679.355}};
        c.seriesSonFilas = false;
        c.cambio = true;
        QTemporaryDir dir;
        report::ExportCsv(report::ReportPages(c), dir.filePath("r.csv"));
        const QByteArray csv = prueba::Bytes(dir.filePath("r.csv"));
        QVERIFY(csv.startsWith("\xEF\xBB\xBFVendedor"));
        QCOMPARE(QString::fromUtf8(csv.mid(3)).split("\r\n"),
                 QStringList({"Vendedor,2025,2026,% vs 2025,Total", "'=1+2,1.01,-2.50,-348.8,-1.50",
                              "\"V, 2\",1000000.13,0.00,-100.0,1000000.13",
                              "Ñ,0.00,487679.36,—,487679.36",
                              "Total,1000001.13,487676.86,-51.2,1487677.99", ""}));
        QCOMPARE(report::Moneda(487679.355), "$487,679.36");  // the page says the same
    }

    // Pages of databases shaped as businesses are (salespeople with long names, lines whose names
    // fill their column, amounts up to ten thousand million a month), with every note a page
    // carries, read as a reader does: every word in a type of 8 points at least, inside the
    // margins, over no other; every figure and change of the table and the selection whole; every
    // line's name whole in the chart; what the line report leaves out reconciling it with the
    // monthly report.
    void businessPages_data() {
        QTest::addColumn<int>("vendedores");
        QTest::addColumn<int>("lineas");
        QTest::addColumn<double>("mes");
        QTest::newRow("1 salesperson, 12 lines, demo amounts") << 1 << 12 << 1800000.0;
        QTest::newRow("40 salespeople, 13 lines, $300 M a month") << 40 << 13 << 3e8;
        QTest::newRow("90 salespeople, 15 lines, $9,999,999,999.99 a month")
            << 90 << 15 << 9999999999.99;
    }
    void businessPages() {
        QFETCH(int, vendedores);
        QFETCH(int, lineas);
        QFETCH(double, mes);
        const QString negocio = prueba::BaseDeNegocio(vendedores, lineas, mes);
        oBasesDD->cMiBase = negocio;
        const auto vuelve = qScopeGuard([this] { oBasesDD->cMiBase = base; });
        ado::Connection ventas;
        oBasesDD->AbrirBdD(ventas, negocio);
        double totales[3] = {};
        for (int tipo : {0, 1, 2}) {
            const reportdata::Reporte& r = reportdata::kReportes[tipo];
            reportdata::Seleccion s = prueba::Sel(2);
            if (tipo == 2) {  // the selection names a line whose name fills its column
                s.linea = 1;
                reportdata::NombraSeleccion(s, ventas);
            }
            TablaTemporal trabajo(ventas, r.estructura);
            reportdata::Resultado hecho = reportdata::LlenaTabla(
                r, reportdata::Plan::Agrupado, s, ventas, trabajo.cTabla, [](const QString&) {});
            hecho.origenDeCifras =
                "Cifras del servidor de lectura 127.0.0.1:3307, 0 s detrás del "
                "servidor principal";
            const report::ReportPages paginas(reportdata::LeeInforme(r, trabajo.cTabla, hecho, s));
            const QString pdf = salida.filePath(QString("negocio%1.pdf").arg(tipo));
            report::ExportPdf(paginas, pdf);
            QHash<QString, int> cuenta, enGrafica;
            const QList<Palabra> palabras = Palabras(pdf);
            double menor = 99;
            for (int i = 0; i < palabras.size(); ++i) {
                const Palabra& p = palabras[i];
                menor = qMin(menor, p.caja.height() / 1.164);
                const QString dice = QString("page %1: «%2» ").arg(p.pagina + 1).arg(p.texto);
                // DejaVu Sans: a word's box is 1.164 times its type's size high
                QVERIFY2(p.caja.height() >= 8 * 1.164 - 0.05, qPrintable(dice + "in a small type"));
                QVERIFY2(QRectF(35, 35, 772, 525).contains(p.caja), qPrintable(dice + "off"));
                for (int j = i + 1; j < palabras.size(); ++j)
                    QVERIFY2(
                        palabras[j].pagina != p.pagina ||
                            !palabras[j].caja.adjusted(0.3, 0.3, -0.3, -0.3).intersects(p.caja),
                        qPrintable(dice + "over «" + palabras[j].texto + "»"));
                ++cuenta[p.texto];
                if (p.pagina < paginas.Graficas() && paginas.ChartArea(p.pagina).contains(p.caja))
                    ++enGrafica[p.texto];
            }
            qInfo("report %d: %lld pages, smallest type %.1f points", tipo,
                  static_cast<long long>(paginas.Count()), menor);
            const report::ReportContent::Tabla t = paginas.Content().TablaMostrada();
            const report::ReportContent::Totales suma = t.Suma();
            QStringList cifras;
            for (const auto& m : t.Mostradas()) {
                for (const QVector<double>& fila : t.celdas) cifras << t.Texto(m, fila);
                cifras << t.Texto(m, suma.columnas);
            }
            for (double v : suma.filas + QVector<double>{suma.columnas.last()})
                cifras << report::Moneda(v);
            QVERIFY(cifras.contains("+100.0%"));  // each year of the shape doubles the one before
            if (tipo == 1) cifras << report::Moneda(hecho.ventasSinLinea);  // the notes
            if (tipo == 1 && lineas > 12) cifras << report::Moneda(hecho.ventasSinLugar);
            QVERIFY2(Toma(cuenta, cifras + QStringList{paginas.Content().seleccion}),
                     "a figure or the selection is not whole on the page");
            QVERIFY2(Toma(enGrafica, paginas.Content().Categorias()),
                     "a category's name is not whole in the chart");
            totales[tipo] = suma.columnas.last() + hecho.ventasSinLugar + hecho.ventasSinLinea;
        }
        QCOMPARE(report::Moneda(totales[1]), report::Moneda(totales[0]));  // they reconcile
    }

    // Pointing along the chart finds every bar once, standing or lying, each telling its series,
    // category and exact amount, beside its caption; the space beyond the bars tells nothing.
    void pointingAtBars_data() {
        QTest::addColumn<QStringList>("categorias");
        QTest::addColumn<QLineF>("porLasBarras");
        QTest::addColumn<QLineF>("masAlla");
        QTest::newRow("standing") << QStringList{"Ene", "Feb", "Mar"} << QLineF(0, 300, 842, 300)
                                  << QLineF(0, 110, 842, 110);
        QStringList largas;
        for (int i = 1; i <= 6; ++i)
            largas << QString("Impermeabilizantes y selladores finos %1").arg(i, 2, 10, QChar('0'));
        QTest::newRow("lying") << largas << QLineF(421, 100, 421, 480)
                               << QLineF(800, 100, 800, 480);
    }
    void pointingAtBars() {
        QFETCH(QStringList, categorias);
        QFETCH(QLineF, porLasBarras);
        QFETCH(QLineF, masAlla);
        report::ReportContent c;
        c.columnas = categorias;
        c.filas = QStringList{"2025", "2026"};
        c.celdas = {QVector<double>(categorias.size(), 100.25),
                    QVector<double>(categorias.size(), 100.5)};
        const report::ReportPages paginas(c);
        QSet<QString> vistos;
        bool masAllaVacio = true;
        for (double t = 0; t <= 1; t += 0.001) {
            const QString aqui = paginas.ValueAt(0, porLasBarras.pointAt(t));
            if (!aqui.isEmpty()) vistos << aqui;
            masAllaVacio &= paginas.ValueAt(0, masAlla.pointAt(t)).isEmpty();
        }
        QCOMPARE(vistos.size(), 2 * categorias.size());
        QVERIFY(vistos.contains("2025 · " + categorias[1] + " · $100.25"));
        QVERIFY(vistos.contains("2026 · " + categorias[2] + " · $100.50"));
        QVERIFY(masAllaVacio);
        // Each caption stands by its own bars: beside its middle, its first series' bar.
        report::ExportPdf(paginas, salida.filePath("barras.pdf"));
        int juntos = 0;
        for (const Palabra& p : Palabras(salida.filePath("barras.pdf")))
            for (int k = 0; k < categorias.size(); ++k)
                if (p.texto == categorias[k].section(' ', -1) &&
                    paginas.ChartArea(0).contains(p.caja)) {
                    const QPointF m = p.caja.center();
                    QVERIFY(paginas
                                .ValueAt(0, porLasBarras.dy() == 0
                                                ? QPointF(m.x() - 4, porLasBarras.y1())
                                                : QPointF(porLasBarras.x1(), m.y() - 4))
                                .startsWith("2025 · " + categorias[k] + " · "));
                    ++juntos;
                }
        QCOMPARE(juntos, categorias.size());
    }
};

PRUEBA_MAIN(tst_paginas)
#include "tst_paginas.moc"
