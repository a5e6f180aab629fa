// Page breaking of the table of figures: which rows go on which page, and where the totals row
// stands. Pure logic, no server.
#include <QtTest>

#include "platform/report/Paginacion.h"
#include "platform/report/ReportPages.h"

using Paginas = QList<QList<int>>;  // per page: first row, row count, totals (1 or 0)
Q_DECLARE_METATYPE(Paginas)

class tst_paginas : public QObject {
    Q_OBJECT
  private slots:
    // 11 rows fit under the chart of the first page, 30 on each page after it.
    void rowsAndTotals_data() {
        QTest::addColumn<int>("filas");
        QTest::addColumn<Paginas>("esperado");
        QTest::newRow("0: no table") << 0 << Paginas{{0, 0, 0}};
        QTest::newRow("1") << 1 << Paginas{{0, 1, 1}};
        QTest::newRow("10: totals under the last row") << 10 << Paginas{{0, 10, 1}};
        QTest::newRow("11: totals on a page of their own") << 11 << Paginas{{0, 11, 0}, {11, 0, 1}};
        QTest::newRow("12") << 12 << Paginas{{0, 11, 0}, {11, 1, 1}};
        QTest::newRow("13") << 13 << Paginas{{0, 11, 0}, {11, 2, 1}};
        QTest::newRow("41: second page full") << 41 << Paginas{{0, 11, 0}, {11, 30, 0}, {41, 0, 1}};
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

    // The real page: every row and the totals row appear exactly once, whatever the count.
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
    }
};

QTEST_MAIN(tst_paginas)
#include "tst_paginas.moc"
