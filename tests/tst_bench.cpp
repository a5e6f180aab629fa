// The benchmark keeps building and working: one run on the small fixture database.

#include "Prueba.h"

class tst_bench : public QObject {
    Q_OBJECT
  private slots:
    void runsAndAgreesWithTheBaseline() {
        const QString base = prueba::BaseConFixture();
        QTemporaryDir dir;
        QProcess p;
        p.start(
            MIRAVEL_DIR_PROGRAMA "/miravel-bench",
            {"--servidor", "127.0.0.1", "--puerto", prueba::Puerto(), "--usuario", "root", "--base",
             base, "--repeticiones", "1", "--fiel", "--json", dir.filePath("r.json")});
        QVERIFY(p.waitForFinished(120000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError() + p.readAllStandardOutput());
        const QJsonObject r =
            QJsonDocument::fromJson(prueba::Bytes(dir.filePath("r.json"))).object();
        const QJsonArray reportes = r["reportes"].toArray();
        QCOMPARE(reportes.size(), 6);
        for (const QJsonValue& v : reportes) QVERIFY(v.toObject()["iguales"].toBool());
        // The monthly report: a statement per figure row by row, a handful grouped (with what
        // opens its other sessions).
        const QJsonObject mes = reportes[0].toObject();
        QVERIFY(mes["contadoresFiel"].toObject()["Questions"].toInt() > 108);
        QVERIFY(mes["contadoresAgrupado"].toObject()["Questions"].toInt() < 20);
        QVERIFY(r["arranque"].toObject()["mediana_ms"].toDouble() > 0);
    }
};

PRUEBA_MAIN(tst_bench)
#include "tst_bench.moc"
