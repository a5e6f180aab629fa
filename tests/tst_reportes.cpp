// The report engine: report files, formulas, and what a rendered page holds.
#include <QProcess>
#include <QtTest>

#include "Prueba.h"
#include "platform/ado/Connection.h"
#include "platform/report/Export.h"
#include "platform/report/Report.h"
#include "platform/report/ReportPages.h"
#include "platform/vb/RuntimeError.h"
#include "reportdata/Informe.h"
#include "reportdata/TablaTemporal.h"

namespace {
QString TextoDelPdf(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}
}  // namespace

class tst_reportes : public QObject {
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
        const bool datos = reportdata::LlenaTabla(r, reportdata::Plan::Agrupado, s, cn,
                                                  trabajo.cTabla, [](const QString&) {})
                               .tieneDatos;
        report::ReportPages paginas(reportdata::LeeInforme(r, trabajo.cTabla, datos, s));
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

    void yearlyPages_data() {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QStringList>("columnas");
        QTest::addColumn<QStringList>("textos");
        QTest::newRow("by month") << 0 << QStringList{"Ene", "Feb", "Mar", "Abr", "May", "Jun",
                                                      "Jul", "Ago", "Sep", "Oct", "Nov", "Dic"}
                                  << QStringList{"Ventas netas por mes", "$204.00", "-$10.00",
                                                 "$232.00", "Total"};
        QTest::newRow("by line: only the listed lines")
            << 1 << QStringList{"O'Hara", "Pinturas", "Plomería", "XXXL", "Adhesivos"}
            << QStringList{"O'Hara", "Plomería", "$41.60", "$75.00", "-$5.00"};
    }
    void yearlyPages() {
        QFETCH(int, tipo);
        QFETCH(QStringList, columnas);
        QFETCH(QStringList, textos);
        reportdata::Seleccion s;
        s.año = "2010";
        const QString pdf = salida.filePath("año.pdf");
        const report::ReportContent c = Reporte(tipo, s, pdf);
        QVERIFY2(tinta > 2000, "the chart area is blank");
        QCOMPARE(c.filas, QStringList({"2008", "2009", "2010"}));
        QCOMPARE(c.columnas, columnas);
        const QString texto = TextoDelPdf(pdf);
        for (const QString& t : textos + QStringList{"2008", "2010", base})
            QVERIFY2(texto.contains(t), qPrintable(t));
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
        const QString texto = TextoDelPdf(pdf).simplified();
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
        QVERIFY(TextoDelPdf(pdf).contains("$93.60"));

        s.fechaInicial = "01/01/1990";
        s.fechaFinal = "31/12/1990";
        pdf = salida.filePath("vacio.pdf");
        c = Reporte(2, s, pdf);
        QCOMPARE(c.sinDatos, "No se encontró información");
        QVERIFY(c.filas.isEmpty());
        QVERIFY(TextoDelPdf(pdf).contains("No se encontró información"));
    }
};

QTEST_MAIN(tst_reportes)
#include "tst_reportes.moc"
