// The report engine: report files and formulas, the pages it lays out (page breaking, the value
// axis, what a rendered page holds) and the files it writes.
#include <QProcess>
#include <QtTest>

#include "Prueba.h"
#include "platform/ado/Connection.h"
#include "platform/report/ExportXlsx.h"
#include "platform/report/Report.h"
#include "platform/vb/RuntimeError.h"
#include "platform/vb/SaveFile.h"
#include "reportdata/Informe.h"
#include "reportdata/TablaTemporal.h"

#include "platform/report/Eje.h"
#include "platform/report/Export.h"
#include "platform/report/Formato.h"
#include "platform/report/Paginacion.h"
#include "platform/report/ReportPages.h"

using Paginas = QList<QList<int>>;  // per page: first row, row count, totals (1 or 0)
Q_DECLARE_METATYPE(Paginas)

class tst_paginas : public QObject {
    Q_OBJECT
    prueba::Programa programa;
    QString base;
    ado::Connection cn;
    QTemporaryDir salida;
    int tinta = 0;

    // Builds a report of the fixture and reads it as the viewer would.
    report::ReportContent Reporte(int tipo, const reportdata::Seleccion& s, const QString& pdf) {
        const reportdata::Reporte& r = reportdata::kReportes[tipo];
        TablaTemporal trabajo(cn, r.estructura);
        const reportdata::Resultado hecho = reportdata::LlenaTabla(
            r, reportdata::Plan::Agrupado, s, cn, trabajo.cTabla, [](const QString&) {});
        report::ReportPages paginas(reportdata::LeeInforme(r, trabajo.cTabla, hecho, s));
        report::ExportPdf(paginas, pdf);
        const QImage imagen = report::RenderPage(paginas, 0, 72);
        tinta = 0;  // pixels that are not white in the chart's area
        for (int y = 150; y < 380; y += 2)
            for (int x = 60; x < 800; x += 2) tinta += imagen.pixelColor(x, y) != Qt::white;
        return paginas.Content();
    }

  private slots:
    void initTestCase() { base = programa.ConectaFixture(cn); }

    void shippedFilesOpen() {
        for (const char* f : {"ReporteGrafico.rpt", "ReporteGxLineas.rpt", "ReporteGxVend.rpt"}) {
            const report::ReportDefinition d = report::ReadReportFile(programa.Carpeta() + "/" + f);
            QVERIFY(!d.titulo.isEmpty());
        }
    }

    void badFilesAreNamed_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("problema");
        QTest::newRow("not JSON") << "{titulo: x"
                                  << "posición";
        QTest::newRow("no table")
            << R"({"titulo":"t","filas":{"columna":"a"},"columnas":[{"columna":"b","rotulo":"B"}],"series":"filas"})"
            << "\"tabla\"";
        QTest::newRow("unknown formula")
            << R"({"titulo":"t","tabla":"x","filas":{"columna":"a"},"columnas":[{"columna":"b","formula":"F"}],"series":"filas"})"
            << "F";
        QTest::newRow("bad series")
            << R"({"titulo":"t","tabla":"x","filas":{"columna":"a"},"columnas":[{"columna":"b","rotulo":"B"}],"series":"x"})"
            << "series";
    }
    void badFilesAreNamed() {
        QFETCH(QString, texto);
        QFETCH(QString, problema);
        const QString ruta = salida.filePath("malo.rpt");
        programa.Escribe(ruta, texto);
        try {
            report::ReadReportFile(ruta);
            QFAIL("a bad report file was accepted");
        } catch (const RuntimeError& e) {
            QVERIFY2(e.Description().contains(ruta) && e.Description().contains(problema),
                     qPrintable(e.Description()));
        }
    }

    void formulasAreTextConstants() {
        report::Application app;
        auto r = app.OpenReport(programa.Carpeta() + "/ReporteGxVend.rpt");
        r->FormulaFields(1).SetText("'O''Brien'");
        QCOMPARE(r->FormulaFields(1).Value(), "O'Brien");
        r->FormulaFields(4).SetText("");
        QCOMPARE(r->FormulaFields(4).Value(), "");
        for (const char* malo : {"Pinturas", "'abierta", "'a'b'"}) {
            try {
                r->FormulaFields(2).SetText(malo);
                QFAIL("a formula that is no text constant was accepted");
            } catch (const RuntimeError& e) {
                QVERIFY(e.Description().contains("Anio2"));
            }
        }
        QVERIFY_THROWS_EXCEPTION(RuntimeError, r->FormulaFields(5));
    }

    // The page of each yearly report: its chart drawn, the captions the builder left as its
    // columns, every figure of the table on the page as money.
    void yearlyPages_data() {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QStringList>("columnas");
        QTest::newRow("by month") << 0 << QStringList{"Ene", "Feb", "Mar", "Abr", "May", "Jun",
                                                      "Jul", "Ago", "Sep", "Oct", "Nov", "Dic"};
        QTest::newRow("by line: only the listed lines")
            << 1 << QStringList{"O'Hara", "Pinturas", "Plomería", "XXXL", "Adhesivos"};
    }
    void yearlyPages() {
        QFETCH(int, tipo);
        QFETCH(QStringList, columnas);
        reportdata::Seleccion s;
        s.año = "2010";
        const QString pdf = salida.filePath("año.pdf");
        const report::ReportContent c = Reporte(tipo, s, pdf);
        QVERIFY2(tinta > 2000, "the chart area is blank");
        QCOMPARE(c.filas, QStringList({"2008", "2009", "2010"}));
        QCOMPARE(c.columnas, columnas);
        const QString texto = prueba::TextoPdf(pdf);
        QVERIFY(texto.contains(c.titulo) && texto.contains(base));
        for (const QVector<double>& fila : c.celdas)
            for (double cifra : fila)
                QVERIFY2(texto.contains(report::Moneda(cifra)), qPrintable(report::Moneda(cifra)));
    }

    // Nothing sold: one sentence naming the selection, in place of the chart.
    void emptyReportsSaySo_data() {
        QTest::addColumn<int>("tipo");
        QTest::newRow("by month") << 0;
        QTest::newRow("by line") << 1;
    }
    void emptyReportsSaySo() {
        QFETCH(int, tipo);
        reportdata::Seleccion s;
        s.año = "1990";
        const QString pdf = salida.filePath("vacio.pdf");
        Reporte(tipo, s, pdf);
        const QString texto = prueba::TextoPdf(pdf).simplified();
        // (pdftotext gives "fi" as one ligature)
        QVERIFY2(
            texto.contains("Sin ventas para Año") && texto.contains("nal: 1990, Ventas: Ambas"),
            qPrintable(texto));
        QVERIFY(!texto.contains("Mes Año") && !texto.contains("Línea Año"));  // no axis title
    }

    // The page says the year the report used and what each year's column covers.
    void selectionLine() {
        reportdata::Seleccion s;
        s.año = "12AB";
        QVERIFY(reportdata::DescribeSeleccion(reportdata::kReportes[0], s)
                    .contains("Año final: 12   "));
        s.fechaInicial = "01/12/2026";
        s.fechaFinal = "06/12/2026";
        QVERIFY(reportdata::DescribeSeleccion(reportdata::kReportes[2], s)
                    .contains("Columnas: 2024 del 01/12/2024 al 31/12/2024; 2025 completo; 2026 "
                              "del 01/01/2026 al 06/12/2026"));
    }

    void salespersonPageWithAndWithoutData() {
        reportdata::Seleccion s;
        s.fechaInicial = "01/01/2010";
        s.fechaFinal = "31/12/2010";
        QString pdf = salida.filePath("vend.pdf");
        report::ReportContent c = Reporte(2, s, pdf);
        QVERIFY2(tinta > 2000, "the chart area is blank");
        QCOMPARE(c.Series(), QStringList({"2008", "2009", "2010"}));
        QCOMPARE(c.Categorias(), QStringList({"7", "8", "9", "AXXXB", "X'Q"}));
        QVERIFY(c.sinDatos.isEmpty());

        s.fechaInicial = "01/01/1990";
        s.fechaFinal = "31/12/1990";
        pdf = salida.filePath("vacio.pdf");
        c = Reporte(2, s, pdf);
        QCOMPARE(c.sinDatos, "No se encontró información");
        QVERIFY(c.filas.isEmpty());
        QVERIFY(prueba::TextoPdf(pdf).contains("No se encontró información"));
    }

    // 11 rows fit under the chart of the first page, 30 on each page after it.
    void rowsAndTotals_data() {
        QTest::addColumn<int>("filas");
        QTest::addColumn<Paginas>("esperado");
        QTest::newRow("0: no table") << 0 << Paginas{{0, 0, 0}};
        QTest::newRow("1") << 1 << Paginas{{0, 1, 1}};
        QTest::newRow("10: totals under the last row") << 10 << Paginas{{0, 10, 1}};
        QTest::newRow("11: the last row goes over with the totals")
            << 11 << Paginas{{0, 10, 0}, {10, 1, 1}};
        QTest::newRow("12") << 12 << Paginas{{0, 11, 0}, {11, 1, 1}};
        QTest::newRow("13") << 13 << Paginas{{0, 11, 0}, {11, 2, 1}};
        QTest::newRow("41: second page full") << 41 << Paginas{{0, 11, 0}, {11, 29, 0}, {40, 1, 1}};
        QTest::newRow("42") << 42 << Paginas{{0, 11, 0}, {11, 30, 0}, {41, 1, 1}};
        QTest::newRow("100") << 100 << Paginas{{0, 11, 0}, {11, 30, 0}, {41, 30, 0}, {71, 29, 1}};
    }
    void rowsAndTotals() {
        QFETCH(int, filas);
        QFETCH(Paginas, esperado);
        Paginas obtenido;
        for (const report::Trozo& t : report::Pagina(filas, 11, 30))
            obtenido << QList<int>{t.primera, t.cuantas, t.total ? 1 : 0};
        QCOMPARE(obtenido, esperado);
    }

    void rowsThatFit_data() {
        QTest::addColumn<double>("alto");
        QTest::addColumn<int>("caben");
        QTest::newRow("no room for the heading") << 14.9 << 0;
        QTest::newRow("the heading alone") << 15.0 << 0;
        QTest::newRow("one row, exactly") << 30.0 << 1;
        QTest::newRow("a hair short of two") << 44.99 << 1;
        QTest::newRow("a page of rows") << 463.0 << 29;
    }
    void rowsThatFit() {
        QFETCH(double, alto);
        QFETCH(int, caben);
        QCOMPARE(report::FilasQueCaben(alto, 15), caben);
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
    }

    // The CSV a spreadsheet opens: marked as UTF-8, cents with a point, rounded as a person
    // rounds (half a cent up, away from zero, whatever the nearest double), the totals as the
    // page has them, and a key that looks like a formula kept as text.
    void csvForSpreadsheets() {
        report::ReportContent c;
        c.tituloFilas = "Vendedor";
        c.columnas = QStringList{"2025", "2026"};
        c.filas = QStringList{"=1+2", "V, 2", "Ñ"};
        c.celdas = {{1.005, -2.5}, {1000000.125, 0}, {487679.355, -0.005}};
        QTemporaryDir dir;
        report::ExportCsv(report::ReportPages(c), dir.filePath("r.csv"));
        QFile f(dir.filePath("r.csv"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray csv = f.readAll();
        QVERIFY(csv.startsWith("\xEF\xBB\xBFVendedor"));
        QCOMPARE(QString::fromUtf8(csv.mid(3)).split("\r\n"),
                 QStringList({"Vendedor,2025,2026,Total", "'=1+2,1.01,-2.50,-1.50",
                              "\"V, 2\",1000000.13,0.00,1000000.13", "Ñ,487679.36,-0.01,487679.35",
                              "Total,1487680.49,-2.51,1487677.98", ""}));
        QCOMPARE(report::Moneda(487679.355), "$487,679.36");  // the page says the same
    }

    // The largest amounts: thirteen columns of a hundred thousand million, negative too. Every
    // figure stands whole in the table (with or without its cents), the grand total included.
    void noFigureIsCut() {
        report::ReportContent c;
        c.titulo = "Ventas netas por mes";
        c.tituloFilas = "Año";
        c.columnas = QStringList{"Ene", "Feb", "Mar", "Abr", "May", "Jun",
                                 "Jul", "Ago", "Sep", "Oct", "Nov", "Dic"};
        for (int a = 0; a < 3; ++a) {
            c.filas << QString::number(2024 + a);
            c.celdas << QVector<double>(12, a == 1 ? -99999999999.99 : 99999999999.99);
        }
        QTemporaryDir dir;
        report::ExportPdf(report::ReportPages(c), dir.filePath("r.pdf"));
        const QString pagina = prueba::TextoPdf(dir.filePath("r.pdf"));
        double total = 0;
        for (const QVector<double>& fila : c.celdas)
            for (double v : fila) total += v;
        for (double cifra : {99999999999.99, -99999999999.99, total, 12 * 99999999999.99})
            QVERIFY2(pagina.contains(report::Moneda(cifra, 2)) ||
                         pagina.contains(report::Moneda(cifra, 0)),
                     qPrintable(report::Moneda(cifra, 2) + "\n" + pagina));
    }

    // Every salesperson keeps a label on the chart: up to forty on the first page, more on
    // charts of their own pages, evenly filled; the table follows on a page of its own.
    void manySalespeople_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("graficas");
        QTest::newRow("one") << 1 << 1;
        QTest::newRow("forty") << 40 << 1;
        QTest::newRow("ninety") << 90 << 3;
    }
    void manySalespeople() {
        QFETCH(int, n);
        QFETCH(int, graficas);
        report::ReportContent c;
        c.seriesSonFilas = false;
        c.columnas = QStringList{"2024", "2025", "2026"};
        for (int i = 0; i < n; ++i) {
            c.filas << QString("V%1").arg(i + 1, 2, 10, QChar('0'));
            c.celdas << QVector<double>{1000.0 * (i % 7), 2000.0 + 100 * i, 1500.0};
        }
        const report::ReportPages paginas(c);
        if (graficas > 1) QCOMPARE(paginas.Trozos()[graficas].primera, 0);
        QTemporaryDir dir;
        report::ExportPdf(paginas, dir.filePath("r.pdf"));
        const QString graficasTexto =
            prueba::TextoPdf(dir.filePath("r.pdf"), {"-f", "1", "-l", QString::number(graficas)});
        for (const QString& clave : c.filas)
            QVERIFY2(graficasTexto.contains(clave), qPrintable(clave));
    }

    // A long selection wraps under the title, whole, in a type no smaller than 8 pixels; the
    // table still fits under the chart of the first page.
    void longSelectionWhole() {
        report::ReportContent c;
        c.titulo = "Ventas netas por vendedor";
        c.seleccion =
            "Por vendedor · Del 01/01/2026 al 31/12/2026 · Columnas: 2024 del "
            "01/01/2024 al 31/12/2024; 2025 del 01/01/2025 al 31/12/2025; 2026 del "
            "01/01/2026 al 31/12/2026 · Línea: Herramientas eléctricas y accesorios "
            "· Ventas: Ambas · Vendedor: V05 (Patricia Hernández de la Garza Villarreal)";
        c.columnas = QStringList{"2024", "2025", "2026"};
        for (int i = 0; i < 12; ++i) {
            c.filas << "V" + QString::number(i);
            c.celdas << QVector<double>{1, 2, 3};
        }
        const report::ReportPages paginas(c);
        QCOMPARE(paginas.Count(), 1);
        QTemporaryDir dir;
        report::ExportPdf(paginas, dir.filePath("r.pdf"));
        const QString pagina = prueba::TextoPdf(dir.filePath("r.pdf"), {}).simplified().remove(' ');
        QVERIFY2(pagina.contains(QString(c.seleccion).remove(' ')), qPrintable(pagina));
    }

    // Pointing along the chart finds every bar once, each telling its series, category and
    // exact amount; the space above the bars tells nothing.
    void pointingAtBars() {
        report::ReportContent c;
        c.columnas = QStringList{"Ene", "Feb", "Mar"};
        c.filas = QStringList{"2025", "2026"};
        c.celdas = {{100.25, 100.25, 100.25}, {100.5, 100.5, 100.5}};
        const report::ReportPages paginas(c);
        QSet<QString> vistos;
        bool arribaVacio = true;
        for (double x = 0; x < report::ReportPages::PageSize().width(); x += 0.5) {
            const QString abajo = paginas.ValueAt(0, QPointF(x, 300));
            if (!abajo.isEmpty()) vistos << abajo;
            arribaVacio &= paginas.ValueAt(0, QPointF(x, 110)).isEmpty();
        }
        QCOMPARE(vistos.size(), 6);
        QVERIFY(vistos.contains("2025 · Feb · $100.25"));
        QVERIFY(vistos.contains("2026 · Mar · $100.50"));
        QVERIFY(arribaVacio);
    }

    // Every format on a full disk fails naming the file and leaves nothing. Needs root to mount
    // a small file system; elsewhere skipped.
    void fullDiskLeavesNoFileAndFails() {
        QTemporaryDir montaje;
        const QString lleno = montaje.path();
        if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=256k", "tmpfs", lleno}) != 0)
            QSKIP("no small file system can be mounted here");
        const std::unique_ptr<QTemporaryDir, void (*)(QTemporaryDir*)> desmonta(
            &montaje, [](QTemporaryDir* d) { QProcess::execute("umount", {d->path()}); });
        QProcess::execute("sh",
                          {"-c", "dd if=/dev/zero of=" + lleno + "/relleno bs=512 2>/dev/null"});
        report::ReportContent c;
        c.titulo = "Ventas";
        c.columnas = QStringList{"2024", "2025", "2026"};
        for (int i = 0; i < 30; ++i) {
            c.filas << "V" + QString::number(i);
            c.celdas << QVector<double>{1.5 * i, 2, -3};
        }
        const report::ReportPages paginas(c);
        const QList<std::function<void(const QString&)>> formatos{
            [&](const QString& f) { report::ExportPdf(paginas, f); },
            [&](const QString& f) { report::ExportPng(paginas, f); },
            [&](const QString& f) { report::ExportCsv(paginas, f); },
            [&](const QString& f) { report::ExportXlsx(paginas, f); },
            [&](const QString& f) { SaveFile(f, QByteArray(4096, 'j')); }};
        for (int i = 0; i < formatos.size(); ++i) {
            try {
                formatos[i](lleno + "/reporte");
                QFAIL(qPrintable(
                    QString("format %1: a write to a full disk was reported as done").arg(i)));
            } catch (const RuntimeError& e) {
                QCOMPARE(e.Number(), 75);
                QVERIFY2(e.Description().contains(lleno + "/reporte"), qPrintable(e.Description()));
            }
            QCOMPARE(QDir(lleno).entryList(QDir::Files), QStringList{"relleno"});
        }
    }
};

PRUEBA_MAIN(tst_paginas)
#include "tst_paginas.moc"
