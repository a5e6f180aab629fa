// miravel-export as a scheduled job runs it: arguments, outputs and exit status.
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>
#include <csignal>

#include "Prueba.h"
#include "platform/ado/Connection.h"

class tst_exporta : public QObject {
    Q_OBJECT
    QString base;
    QTemporaryDir salida;

    struct Corrida {
        int estado;
        QString error;
    };
    Corrida Exporta(QStringList argumentos, const QString& clave = {}, bool conexion = true) {
        // The test's own options come last and win.
        if (conexion)
            argumentos = QStringList{"--servidor", "127.0.0.1", "--puerto", prueba::Puerto(),
                                     "--usuario",  "root",      "--base",   base} +
                         argumentos;
        QProcess p;
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        entorno.remove("MIRAVEL_CLAVE");
        if (!clave.isEmpty()) entorno.insert("MIRAVEL_CLAVE", clave);
        p.setProcessEnvironment(entorno);
        p.start(MIRAVEL_DIR_PROGRAMA "/miravel-export", argumentos);
        p.waitForFinished(60000);
        return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardError())};
    }
    QJsonObject Json(const QString& archivo) {
        QFile f(archivo);
        f.open(QIODevice::ReadOnly);
        return QJsonDocument::fromJson(f.readAll()).object();
    }
    static QJsonValue Dato(const QJsonObject& celdas, const char* celda, const char* campo) {
        return celdas[celda].toObject()[campo];
    }
    QJsonObject Libro(const QString& xlsx) {
        QProcess p;
        p.start("/usr/bin/python3",
                {MIRAVEL_DIR_FUENTES "/tests/lee_xlsx.py", xlsx});  // Debian's, with openpyxl
        p.waitForFinished(60000);
        const QJsonObject libro = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
        if (libro["hojas"].toArray().isEmpty()) qFatal("%s", p.readAllStandardError().constData());
        return libro["hojas"].toArray().first().toObject();
    }
    int Temporales() {
        return prueba::Valor("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA='" +
                             base + "' AND TABLE_NAME LIKE 'tbltemp%'")
            .toInt();
    }

  private slots:
    void initTestCase() { base = prueba::BaseConFixture(); }
    // What a test changed on the server is put back, also when it failed.
    void cleanup() {
        if (prueba::ExisteTabla(base, "facturas_datos")) {  // the slow sales of a test
            prueba::Ejecuta("DROP VIEW `" + base + "`.facturas");
            prueba::Ejecuta("RENAME TABLE `" + base + "`.facturas_datos TO `" + base +
                            "`.facturas");
        }
        if (prueba::ExisteTabla(base, "remisiones_fuera"))
            prueba::Ejecuta("RENAME TABLE " + base + ".remisiones_fuera TO " + base +
                            ".remisiones");
        prueba::Ejecuta("DROP USER IF EXISTS 'miravel_exp'@'127.0.0.1'");
        prueba::Ejecuta("SET GLOBAL wait_timeout=DEFAULT");
    }

    void monthlyToEveryFormat() {
        const QString d = salida.path();
        const Corrida c =
            Exporta({"--reporte", "mes", "--anio", "2010", "--pdf", d + "/m.pdf", "--png",
                     d + "/m.png", "--csv", d + "/m.csv", "--json", d + "/m.json"});
        QCOMPARE(c.estado, 0);
        const QJsonObject j = Json(d + "/m.json");
        QCOMPARE(j["reporte"].toString(), "mes");
        QVERIFY(j["tieneDatos"].isNull());
        QCOMPARE(j["etiquetas"].toArray().size(), 13);
        QCOMPARE(j["columnas"].toArray().first().toString(), "Año");
        QCOMPARE(j["seleccion"].toObject()["anio"].toString(), "2010");
        const QJsonArray año2010 = j["filas"].toArray()[2].toArray();
        QCOMPARE(año2010, QJsonArray({"2010", 204, 40, 10, 15, -3, -10, 0, -4, 0, 0, 0, 0}));
        QVERIFY(!QImage(d + "/m.png").isNull());
        QFile csv(d + "/m.csv");
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QVERIFY(
            csv.readAll().startsWith("\xEF\xBB\xBF"
                                     "Año,Ene,Feb,Mar"));
        QVERIFY(QFileInfo(d + "/m.pdf").size() > 1000);
        QCOMPARE(Temporales(), 0);
    }

    // The workbook read by an independent reader, as a spreadsheet user would see it.
    void excelWorkbook() {
        const QString xlsx = salida.filePath("mes.xlsx");
        QCOMPARE(Exporta({"--reporte", "mes", "--anio", "2010", "--xlsx", xlsx}).estado, 0);
        QJsonObject hoja = Libro(xlsx);
        QCOMPARE(hoja["nombre"].toString(), "Ventas netas por mes");
        QJsonObject celdas = hoja["celdas"].toObject();
        QCOMPARE(Dato(celdas, "A1", "valor").toString(), "Ventas netas por mes");
        QVERIFY(Dato(celdas, "A3", "valor").toString().contains("Año final: 2010"));
        // 2010 is the third row of figures: January 204, June -10; amounts are numbers.
        QCOMPARE(Dato(celdas, "A9", "valor").toString(), "2010");
        QCOMPARE(Dato(celdas, "B9", "valor").toDouble(), 204.0);
        QCOMPARE(Dato(celdas, "G9", "valor").toDouble(), -10.0);
        QVERIFY(Dato(celdas, "B9", "formato").toString().contains("$"));
        QCOMPARE(Dato(celdas, "N9", "valor").toString(), "=SUM(B9:M9)");
        QCOMPARE(Dato(celdas, "A10", "valor").toString(), "Total");
        QCOMPARE(Dato(celdas, "B10", "valor").toString(), "=SUM(B7:B9)");
        QCOMPARE(Dato(celdas, "N10", "valor").toString(), "=SUM(N7:N9)");
        QCOMPARE(hoja["congelada"].toString(), "B7");
        // Printed as the page: landscape, one page wide, the series in the page's colours.
        QCOMPARE(hoja["orientacion"].toString(), "landscape");
        QCOMPARE(hoja["anchoEnPaginas"].toInt(), 1);
        QJsonArray series = hoja["graficas"].toArray()[0].toObject()["series"].toArray();
        QCOMPARE(hoja["graficas"].toArray()[0].toObject()["agrupacion"].toString(), "clustered");
        QCOMPARE(series.size(), 3);  // a series per year, months as categories
        QCOMPARE(series[0].toObject()["color"].toString(), "29629B");
        QCOMPARE(series[2].toObject()["nombre"].toString(), "'Ventas netas por mes'!$A$9");
        QCOMPARE(series[2].toObject()["valores"].toString(), "'Ventas netas por mes'!$B$9:$M$9");
        QCOMPARE(series[2].toObject()["categorias"].toString(), "'Ventas netas por mes'!$B$6:$M$6");

        // Salespeople as categories, a series per year; a NUL in a name does not cut it.
        prueba::Ejecuta("UPDATE `" + base +
                        "`.vendedores SET Nombre=CONCAT('Si',CHAR(0),'ete') "
                        "WHERE Clave='7'");
        const int estado = Exporta({"--reporte", "vendedor", "--desde", "01/01/2010", "--hasta",
                                    "31/12/2010", "--xlsx", xlsx})
                               .estado;
        prueba::Ejecuta("UPDATE `" + base + "`.vendedores SET Nombre='Siete' WHERE Clave='7'");
        QCOMPARE(estado, 0);
        hoja = Libro(xlsx);
        celdas = hoja["celdas"].toObject();
        QCOMPARE(Dato(celdas, "A7", "valor").toString(), "7  Siete");  // the name beside the key
        QCOMPARE(Dato(celdas, "D7", "valor").toDouble(), 93.6);
        series = hoja["graficas"].toArray()[0].toObject()["series"].toArray();
        QCOMPARE(series.size(), 3);
        QCOMPARE(series[0].toObject()["nombre"].toString(), "'Ventas netas por vendedor'!$B$6");
        QCOMPARE(series[0].toObject()["categorias"].toString(),
                 "'Ventas netas por vendedor'!$A$7:$A$11");

        // Nothing sold: the title block and the sentence, no chart.
        QCOMPARE(Exporta({"--reporte", "vendedor", "--desde", "01/01/1990", "--hasta", "31/12/1990",
                          "--xlsx", xlsx})
                     .estado,
                 0);
        hoja = Libro(xlsx);
        QCOMPARE(Dato(hoja["celdas"].toObject(), "A6", "valor").toString(),
                 "No se encontró información");
        QVERIFY(hoja["graficas"].toArray().isEmpty());

        // A month report of years without sales: its sentence, and the table of zeros the page
        // has, without a chart.
        QCOMPARE(Exporta({"--reporte", "mes", "--anio", "1990", "--xlsx", xlsx}).estado, 0);
        hoja = Libro(xlsx);
        celdas = hoja["celdas"].toObject();
        QCOMPARE(Dato(celdas, "A9", "valor").toString(), "1990");
        QCOMPARE(Dato(celdas, "B9", "valor").toDouble(), 0.0);
        QVERIFY(!Dato(celdas, "A5", "valor").toString().isEmpty());
        QVERIFY(hoja["graficas"].toArray().isEmpty());
    }

    void lineAndSalesperson() {
        const QString d = salida.path();
        QCOMPARE(Exporta({"--reporte", "linea", "--anio", "2010", "--ventas", "facturas", "--json",
                          d + "/l.json", "--csv", d + "/l.csv"})
                     .estado,
                 0);
        const QJsonObject l = Json(d + "/l.json");
        QCOMPARE(l["etiquetas"].toArray()[3].toString(), "XXXL");
        QCOMPARE(l["filas"].toArray()[2].toArray(), QJsonArray({"2010", 0, 21.6, 45, 15}));

        const Corrida c = Exporta({"--reporte", "vendedor", "--desde", "01/01/2010", "--hasta",
                                   "31/12/2010", "--vendedor", "7", "--json", d + "/v.json"});
        QCOMPARE(c.estado, 0);
        const QJsonObject v = Json(d + "/v.json");
        QCOMPARE(v["tieneDatos"].toBool(), true);
        const QJsonArray fila = v["filas"].toArray()[0].toArray();
        QCOMPARE(fila[0].toString(), "7");
        QCOMPARE(fila[2].toDouble(), 30.0);
        QCOMPARE(fila[3].toDouble(), 93.6);  // written with every digit the double has
        QCOMPARE(v["seleccion"].toObject()["vendedor"].toString(), "7");
    }

    void badInputExitsWithTwo_data() {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("unknown report")
            << QStringList{"--reporte", "anual"} << "reporte desconocido: anual";
        QTest::newRow("no report") << QStringList{} << "falta --reporte";
        QTest::newRow("bad date") << QStringList{"--reporte", "vendedor", "--desde", "31/02/2010"}
                                  << "--desde: fecha no válida: «31/02/2010»";
        // Every refusal names the option and the value.
        for (const char* linea : {"abc", "0x65", "nan", "inf", "101 OR 1=1", "1e400", "-3", ""})
            QTest::newRow(qPrintable(QString("line ") + linea))
                << QStringList{"--reporte", "vendedor", "--linea", linea}
                << QString("--linea debe ser el número entero de una línea, no «%1»").arg(linea);
        for (const char* anio : {"-5", "10000", "1", "2025.5", "2025abc", "abc", ""})
            QTest::newRow(qPrintable(QString("year ") + anio))
                << QStringList{"--reporte", "mes", "--anio", anio}
                << QString("--anio debe ser un año entero de 3 a 9999, no «%1»").arg(anio);
        QTest::newRow("period before year 1") << QStringList{"--reporte",  "vendedor", "--desde",
                                                             "01/01/0002", "--hasta",  "01/02/0002"}
                                              << "--desde: la fecha «01/01/0002»";
        QTest::newRow("missing configuration")
            << QStringList{"--reporte", "mes", "--config", "/no/existe/Miravel.ini"}
            << "no existe el archivo de configuración /no/existe/Miravel.ini";
        QTest::newRow("twelve boundaries")
            << QStringList{"--reporte",  "vendedor", "--desde",
                           "01/01/2010", "--hasta",  "01/01/2011"}
            << "Los meses de diferencia entre ambas fechas exceden el máximo permitido";
        QTest::newRow("password on the command line")
            << QStringList{"--reporte", "mes", "--clave", "x"} << "opción desconocida: --clave";
        QTest::newRow("bad kind") << QStringList{"--reporte", "mes", "--ventas", "todas"}
                                  << "--ventas";
        QTest::newRow("bad plan") << QStringList{"--reporte", "mes", "--plan", "rapido"}
                                  << "«fiel» o «agrupado»";
        for (const char* opcion : {"--json", "--plan", "--config"})
            QTest::newRow(qPrintable(QString("empty ") + opcion))
                << QStringList{"--reporte", "mes", opcion, ""}
                << QString("falta el valor de %1").arg(opcion);
        for (const char* reporte : {"mes", "linea"})
            QTest::newRow(qPrintable(QString("line with ") + reporte))
                << QStringList{"--reporte", reporte, "--linea", "3"}
                << QString("--linea se aplica solo al reporte vendedor, no a %1").arg(reporte);
        QTest::newRow("png to standard output") << QStringList{"--reporte", "mes", "--png", "-"}
                                                << "--png escribe un archivo por página";
        for (const char* puerto : {"0", "-1", "abc", "3306x", "65536"})
            QTest::newRow(qPrintable(QString("port ") + puerto))
                << QStringList{"--reporte", "mes", "--puerto", puerto}
                << QString("puerto no válido: ") + puerto;
    }
    void badInputExitsWithTwo() {
        QFETCH(QStringList, argumentos);
        QFETCH(QString, mensaje);
        const Corrida c = Exporta(argumentos);
        QCOMPARE(c.estado, 2);
        QVERIFY2(c.error.startsWith("miravel-export: ") && c.error.contains(mensaje) &&
                     c.error.contains("uso: miravel-export"),
                 qPrintable(c.error));
        QCOMPARE(Temporales(), 0);
    }

    void failuresExitWithOneAndLeaveNoTable() {
        prueba::Ejecuta("RENAME TABLE " + base + ".remisiones TO " + base + ".remisiones_fuera");
        Corrida c = Exporta({"--reporte", "mes", "--anio", "2010"});
        QCOMPARE(c.estado, 1);
        QVERIFY(c.error.contains("error 1146"));
        QCOMPARE(Temporales(), 0);

        c = Exporta({"--reporte", "mes", "--servidor", "127.0.0.1", "--puerto", "1", "--usuario",
                     "root", "--base", base},
                    {}, false);
        QCOMPARE(c.estado, 1);
        QVERIFY(c.error.contains("error 2002") || c.error.contains("error 2003"));
        // Said in Spanish first, naming the server; the client's own words below.
        QVERIFY2(c.error.contains("El servidor 127.0.0.1:1 rechazó la conexión"),
                 qPrintable(c.error));
    }

    // SIGINT or SIGTERM in the middle of a statement: the statement stopped, no table, no
    // output file, and the exit status of the signal; also once every idle session of the run
    // has expired on the server.
    void signalsStopInGoodOrder_data() {
        QTest::addColumn<int>("senal");
        QTest::addColumn<int>("estado");
        QTest::addColumn<int>("espera");  // ms before the signal
        QTest::newRow("SIGINT") << int(SIGINT) << 130 << 1500;
        QTest::newRow("SIGTERM") << int(SIGTERM) << 143 << 1500;
        QTest::newRow("SIGHUP") << int(SIGHUP) << 143 << 1500;
        QTest::newRow("sessions expired") << int(SIGTERM) << 143 << 5000;
    }
    void signalsStopInGoodOrder() {
        QFETCH(int, senal);
        QFETCH(int, estado);
        QFETCH(int, espera);
        if (espera > 2000) prueba::Ejecuta("SET GLOBAL wait_timeout=2");
        prueba::Ejecuta("RENAME TABLE `" + base + "`.facturas TO `" + base + "`.facturas_datos");
        prueba::Ejecuta("CREATE VIEW `" + base + "`.facturas AS SELECT * FROM `" + base +
                        "`.facturas_datos WHERE SLEEP(4)=0");
        const QString pdf = salida.filePath("senal.pdf");
        QProcess p;
        p.start(MIRAVEL_DIR_PROGRAMA "/miravel-export",
                {"--reporte", "mes", "--anio", "2010", "--pdf", pdf, "--servidor", "127.0.0.1",
                 "--puerto", prueba::Puerto(), "--usuario", "root", "--base", base});
        QVERIFY(p.waitForStarted());
        QTest::qWait(espera);
        QElapsedTimer reloj;
        reloj.start();
        ::kill(static_cast<pid_t>(p.processId()), senal);
        QVERIFY(p.waitForFinished(10000));
        QVERIFY(reloj.elapsed() < 2000);
        QCOMPARE(p.exitCode(), estado);
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(Temporales(), 0);
    }

    // A signal while the templates are renewed lets the renewal end in order; a run killed in
    // the middle leaves tables the next run drops, once their owner's session is gone.
    void renewalInterrupted() {
        prueba::Programa programa;
        programa.Configura(base, "5.10.0");  // an old host version: the templates are renewed
        QCOMPARE(Exporta({"--reporte", "mes", "--config", programa.Ini()}, {}, false).estado, 0);
        const QString restos =
            "SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA='orvaloreportes' "
            "AND (TABLE_NAME LIKE '%!_nueva%' ESCAPE '!' OR TABLE_NAME LIKE '%!_vieja%' "
            "ESCAPE '!')";
        for (int senal : {SIGTERM, SIGKILL}) {
            ado::Connection cerrojo;
            cerrojo.Open("127.0.0.1", prueba::Puerto(), "root", "", "orvaloreportes");
            cerrojo.Execute("LOCK TABLES ventasde3y READ");
            QProcess p;
            p.start(MIRAVEL_DIR_PROGRAMA "/miravel-export",
                    {"--reporte", "mes", "--config", programa.Ini(), "--json",
                     salida.filePath("r.json")});
            QVERIFY(p.waitForStarted());
            QString sesion;
            QTRY_VERIFY_WITH_TIMEOUT(
                !(sesion = prueba::Valor("SELECT ID FROM information_schema.PROCESSLIST WHERE "
                                         "INFO LIKE 'Rename table ventasde3y to %'")
                               .toString())
                     .isEmpty(),
                10000);
            ::kill(static_cast<pid_t>(p.processId()), senal);
            QTest::qWait(300);
            cerrojo.Execute("UNLOCK TABLES");
            QTRY_COMPARE_WITH_TIMEOUT(p.state(), QProcess::NotRunning, 10000);
            if (senal == SIGTERM) {
                QCOMPARE(p.exitCode(), 143);
                QCOMPARE(prueba::Valor(restos).toInt(), 0);
            } else {
                QTRY_COMPARE(prueba::Valor("SELECT COUNT(*) FROM information_schema.PROCESSLIST "
                                           "WHERE ID=" +
                                           sesion)
                                 .toInt(),
                             0);
                QCOMPARE(
                    Exporta({"--reporte", "mes", "--config", programa.Ini()}, {}, false).estado, 0);
                QCOMPARE(prueba::Valor(restos).toInt(), 0);
            }
            QVERIFY(!QFile::exists(salida.filePath("r.json")));
        }
    }

    void passwordFromTheEnvironmentOnly() {
        prueba::Ejecuta(
            "CREATE USER IF NOT EXISTS 'miravel_exp'@'127.0.0.1' IDENTIFIED BY 'S3creto!'");
        prueba::Ejecuta("GRANT ALL ON `" + base + "`.* TO 'miravel_exp'@'127.0.0.1'");
        prueba::Ejecuta("GRANT ALL ON orvaloreportes.* TO 'miravel_exp'@'127.0.0.1'");
        const QStringList conexion{
            "--reporte",      "mes",       "--servidor",  "127.0.0.1", "--puerto",
            prueba::Puerto(), "--usuario", "miravel_exp", "--base",    base};
        QCOMPARE(Exporta(conexion, "S3creto!", false).estado, 0);
        const Corrida sin = Exporta(conexion, {}, false);
        QCOMPARE(sin.estado, 1);
        QVERIFY(sin.error.contains("error 1045"));
        QVERIFY2(sin.error.contains("no aceptó al usuario «miravel_exp»"), qPrintable(sin.error));
    }

    void readsTheProgramsConfiguration() {
        prueba::Programa p;
        p.Configura(base);
        const QString json = salida.filePath("c.json");
        QCOMPARE(
            Exporta({"--reporte", "mes", "--anio", "2010", "--config", p.Ini(), "--json", json}, {},
                    false)
                .estado,
            0);
        QCOMPARE(Json(json)["filas"].toArray()[0].toArray()[12].toDouble(), 232.0);

        // The query plan is an optional key, read and never written.
        const QString ini = p.Lee(p.Ini());
        QVERIFY(!ini.contains("Plan de consultas"));
        for (const char* plan : {"fiel", "agrupado", "otro"}) {
            p.Escribe(p.Ini(), ini + "Plan de consultas=" + plan + "\n");
            const Corrida c =
                Exporta({"--reporte", "mes", "--anio", "2010", "--config", p.Ini(), "--json", json},
                        {}, false);
            QCOMPARE(c.estado, QString(plan) == "otro" ? 2 : 0);
            if (c.estado == 0)
                QCOMPARE(Json(json)["filas"].toArray()[0].toArray()[12].toDouble(), 232.0);
            else
                QVERIFY2(c.error.contains("Plan de consultas") && c.error.contains("otro"),
                         qPrintable(c.error));
        }

        p.Escribe(p.Ini(), "[Configuración]\nRuta de Orvalo=/no/existe\n");
        const Corrida c = Exporta({"--reporte", "mes", "--config", p.Ini()}, {}, false);
        QCOMPARE(c.estado, 2);
        QVERIFY(c.error.contains("debe indicarse la ruta correcta de Orvalo."));
        QVERIFY2(!c.error.contains("¿Desea editar"), qPrintable(c.error));  // it asks nothing
    }
};

QTEST_MAIN(tst_exporta)
#include "tst_exporta.moc"
