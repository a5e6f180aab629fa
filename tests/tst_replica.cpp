// Reports that read the sales on a read-only replica (scripts/servidor-prueba ... replica) while
// their work tables stay on the primary.
#include <csignal>

#include "Prueba.h"
#include "platform/ado/Connection.h"

namespace {

const QList<QStringList> kReportes{
    {"--reporte", "mes", "--anio", "2010"},
    {"--reporte", "linea", "--anio", "2010"},
    {"--reporte", "vendedor", "--desde", "01/01/2010", "--hasta", "31/12/2010"}};

struct Corrida : prueba::Corrida {
    QString pagina;  // the PDF's text
};

}  // namespace

class tst_replica : public QObject {
    Q_OBJECT
    QString base;
    QTemporaryDir salida;
    ado::Connection replica;  // as root

    // A plain user, as read_only holds back; root may read the replica's status; none: the
    // configuration's. The JSON written goes to standard output; the PDF's text is read.
    Corrida Exporta(QStringList argumentos, const QString& usuario = "miravel") const {
        const QString pdf = salida.filePath("r.pdf");
        QFile::remove(pdf);
        if (!usuario.isEmpty()) argumentos = prueba::Conexion(base, {}, usuario) + argumentos;
        const prueba::Corrida c =
            prueba::Exporta(argumentos + QStringList{"--json", "-", "--pdf", pdf},
                            usuario == "miravel" ? "clave" : "");
        return {c, QFile::exists(pdf) ? prueba::TextoPdf(pdf).simplified() : QString()};
    }
    QStringList Lectura() const { return {"--servidor-lectura", "127.0.0.1:" + prueba::Puerto2()}; }
    void EsperaReplica() {
        const QString posicion = prueba::Valor("SELECT @@gtid_binlog_pos").toString();
        QSqlQuery q = replica.Query("SELECT MASTER_GTID_WAIT('" + posicion + "', 60)");
        QVERIFY(q.next() && q.value(0).toInt() == 0);
    }

  private slots:
    void initTestCase() {
        base = prueba::BaseConFixture();
        prueba::Ejecuta("CREATE USER IF NOT EXISTS miravel@'127.0.0.1' IDENTIFIED BY 'clave'");
        prueba::Ejecuta("GRANT ALL ON `" + base + "`.* TO miravel@'127.0.0.1'");
        prueba::Ejecuta("GRANT ALL ON orvaloreportes.* TO miravel@'127.0.0.1'");
        replica.Open("127.0.0.1", prueba::Puerto2(), "root", "", {});
        EsperaReplica();
    }

    // Each report read on the replica, named by an option or by the program's configuration (read,
    // never written), has the primary's figures and says where they came from; the replica's log
    // shows the reads and no write.
    void reportsReadTheReplica() {
        prueba::Programa programa;
        programa.Configura(base);
        const QByteArray ini = prueba::Bytes(programa.Ini()) +
                               "Servidor de lectura=127.0.0.1:" + prueba::Puerto2().toLatin1() +
                               "\n";
        prueba::Pon(programa.Ini(), ini);
        replica.Execute("SET GLOBAL log_output='TABLE'");
        replica.Execute("TRUNCATE mysql.general_log");
        replica.Execute("SET GLOBAL general_log=1");
        for (const QStringList& r : kReportes) {
            const Corrida principal = Exporta(r);
            QVERIFY(!principal.pagina.contains("servidor de lectura"));
            for (const Corrida& leida :
                 {Exporta(r + Lectura()), Exporta(r + QStringList{"--config", programa.Ini()})}) {
                QVERIFY2(principal.estado == 0 && leida.estado == 0, qPrintable(leida.error));
                QCOMPARE(leida.salida, principal.salida);
                QVERIFY2(leida.pagina.contains("Cifras del servidor de lectura 127.0.0.1:" +
                                               prueba::Puerto2()),
                         qPrintable(leida.pagina));
                // Without the right to the replica's status, nothing is claimed of its delay.
                QVERIFY(!leida.pagina.contains("detrás"));
            }
        }
        QCOMPARE(prueba::Bytes(programa.Ini()), ini);
        replica.Execute("SET GLOBAL general_log=0");
        QStringList leidas, escritas;
        QSqlQuery log = replica.Query(
            "SELECT CONVERT(argument USING utf8mb4) FROM mysql.general_log WHERE "
            "command_type='Query' AND user_host LIKE 'miravel%'");
        static const QRegularExpression escritura(
            "^\\s*(insert|update|delete|replace|create|drop|alter|rename|truncate|lock|load|grant|"
            "set\\s+global)",
            QRegularExpression::CaseInsensitiveOption);
        while (log.next()) {
            const QString s = log.value(0).toString();
            (escritura.match(s).hasMatch() ? escritas : leidas) << s;
        }
        QVERIFY2(escritas.isEmpty(), qPrintable(escritas.join('\n')));
        QVERIFY(leidas.filter("facturas").size() >= 3);
        QCOMPARE(prueba::TablasDeTrabajo(base), 0);
    }

    // A replica stopped or behind is not read: the figures are the main server's, with its new
    // invoice, and the page says why. One who may read the replica's status is not kept waiting.
    void replicaBehindIsNotRead_data() {
        QTest::addColumn<QString>("usuario");
        QTest::addColumn<QString>("retrasa");
        QTest::addColumn<QString>("motivo");
        auto fila = [](const char* caso, const QString& usuario, const QString& retrasa,
                       const QString& motivo) {
            QTest::newRow(caso) << usuario << retrasa << motivo;
        };
        fila("stopped", "miravel", "STOP SLAVE SQL_THREAD", "no se puso al día en 1 s");
        fila("stopped, status read", "root", "STOP SLAVE SQL_THREAD",
             "su replicación está detenida");
        fila("delayed", "miravel", "STOP SLAVE;CHANGE MASTER TO master_delay=60;START SLAVE",
             "no se puso al día en 1 s");
    }
    void replicaBehindIsNotRead() {
        QFETCH(QString, usuario);
        QFETCH(QString, retrasa);
        QFETCH(QString, motivo);
        for (const QString& sql : retrasa.split(';')) replica.Execute(sql);
        prueba::Ejecuta("INSERT INTO `" + base +
                        "`.facturas VALUES (90,'2010-05-15','C1','7',1000000,0,0)");
        const Corrida principal = Exporta(kReportes[0], usuario);
        const Corrida leida = Exporta(
            kReportes[0] + Lectura() + QStringList{"--retraso-maximo-lectura", "1"}, usuario);
        prueba::Ejecuta("DELETE FROM `" + base + "`.facturas WHERE Id=90");
        for (const char* sql : {"STOP SLAVE", "CHANGE MASTER TO master_delay=0", "START SLAVE"})
            replica.Execute(sql);
        EsperaReplica();
        QVERIFY2(leida.estado == 0, qPrintable(leida.error));
        QCOMPARE(leida.salida, principal.salida);
        QVERIFY2(leida.pagina.contains("Cifras del servidor principal: el servidor de lectura "
                                       "127.0.0.1:" +
                                       prueba::Puerto2() + " no estaba al día (" + motivo),
                 qPrintable(leida.pagina));
        QCOMPARE(prueba::TablasDeTrabajo(base), 0);
    }

    // A report held at its reads on the replica, stopped by a signal: its statements are stopped
    // there (the session ids are the replica's). Last, the replica itself stopped: a clear error
    // naming it. Either way the work table on the primary is gone.
    void stoppedWhileReadingTheReplica_data() {
        QTest::addColumn<bool>("replicaMuerta");
        QTest::newRow("a signal") << false;
        QTest::newRow("the replica killed") << true;
    }
    void stoppedWhileReadingTheReplica() {
        QFETCH(bool, replicaMuerta);
        replica.Execute("LOCK TABLES `" + base + "`.facturas WRITE");
        QProcess corrida;
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        entorno.insert("MIRAVEL_CLAVE", "clave");
        corrida.setProcessEnvironment(entorno);
        corrida.start(MIRAVEL_DIR_PROGRAMA "/miravel-export",
                      kReportes[0] + Lectura() + prueba::Conexion(base, {}, "miravel"));
        QTRY_VERIFY_WITH_TIMEOUT(replica
                                     .Query("SELECT 1 FROM information_schema.PROCESSLIST WHERE "
                                            "USER='miravel' AND STATE LIKE 'Waiting for table%'")
                                     .next(),
                                 20000);
        const pid_t pid =
            prueba::DelEntorno(qEnvironmentVariable("MIRAVEL_PRUEBA_ENTORNO"), "MDB_PID2").toInt();
        QVERIFY(pid > 0);
        replicaMuerta ? ::kill(pid, SIGKILL)
                      : ::kill(static_cast<pid_t>(corrida.processId()), SIGTERM);
        QVERIFY(corrida.waitForFinished(60000));
        QCOMPARE(prueba::TablasDeTrabajo(base), 0);
        const QString error = QString::fromLocal8Bit(corrida.readAllStandardError());
        if (replicaMuerta) {
            QVERIFY(corrida.exitCode() != 0);
            // The message names the read server, not the main one.
            QVERIFY2(error.contains("Se perdió la conexión con el servidor 127.0.0.1:" +
                                    prueba::Puerto2()),
                     qPrintable(error));
            return;
        }
        QCOMPARE(corrida.exitCode(), 143);
        QVERIFY(!replica.Query("SELECT 1 FROM information_schema.PROCESSLIST WHERE USER='miravel'")
                     .next());
        replica.Execute("UNLOCK TABLES");
    }
};

PRUEBA_MAIN(tst_replica)
#include "tst_replica.moc"
