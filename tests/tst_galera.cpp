// Reports on a two-node Galera cluster (scripts/servidor-prueba ... galera): a named lock holds
// on one node only, while a work table's CREATE and DROP run on both.
#include <QTcpServer>
#include <QTcpSocket>
#include <csignal>
#include <thread>

#include "Prueba.h"
#include "platform/ado/Connection.h"
#include "reportdata/CopiaEstructura.h"

namespace {

const QList<QStringList> kReportes{
    {"--reporte", "mes", "--anio", "2010"},
    {"--reporte", "linea", "--anio", "2010"},
    {"--reporte", "vendedor", "--desde", "01/01/2010", "--hasta", "31/12/2010"},
    {"--reporte", "mes", "--anio", "2011", "--ventas", "facturas", "--plan", "fiel"}};

// A balancer on the loopback that sends each new connection to the next node in turn, as a
// plain TCP balancer or HAProxy in round robin does.
struct Balanceador {
    QString puerto;
    std::unique_ptr<QThread> hilo;
    explicit Balanceador(const QStringList& nodos) {
        QSemaphore listo;
        hilo.reset(QThread::create([&, nodos] {
            QTcpServer servidor;
            servidor.listen(QHostAddress::LocalHost);
            puerto = QString::number(servidor.serverPort());
            int turno = 0;
            QObject::connect(&servidor, &QTcpServer::newConnection, [&] {
                while (QTcpSocket* cliente = servidor.nextPendingConnection()) {
                    auto* nodo = new QTcpSocket(cliente);
                    nodo->connectToHost(QHostAddress::LocalHost,
                                        nodos[turno++ % nodos.size()].toUShort());
                    for (auto [de, a] : {std::pair{cliente, nodo}, std::pair{nodo, cliente}}) {
                        QObject::connect(de, &QTcpSocket::readyRead, a,
                                         [de, a] { a->write(de->readAll()); });
                        QObject::connect(de, &QTcpSocket::disconnected, a,
                                         &QTcpSocket::disconnectFromHost);
                    }
                    QObject::connect(cliente, &QTcpSocket::disconnected, cliente,
                                     &QObject::deleteLater);
                }
            });
            listo.release();
            QEventLoop().exec();
        }));
        hilo->start();
        listo.acquire();
    }
    ~Balanceador() {
        hilo->quit();
        hilo->wait();
    }
};

}  // namespace

class tst_galera : public QObject {
    Q_OBJECT
    QString base;
    prueba::Programa programa;  // host settings of an old version: every run renews the templates
    ado::Connection nodo1, nodo2;

    // Blocks: safe on any thread. The JSON written, in place of standard output.
    prueba::Corrida Exporta(const QString& puerto, const QStringList& reporte,
                            bool renueva = false) const {
        QStringList argumentos = reporte + prueba::Conexion(base, puerto);
        if (renueva) argumentos << "--config" << programa.Ini();
        return prueba::Exporta(argumentos + QStringList{"--json", "-"});
    }
    // The tables of the sales and report databases whose names match on a node.
    int Tablas(ado::Connection& nodo, const QString& patron) {
        QSqlQuery q =
            nodo.Query("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA IN ('" +
                       base + "','orvaloreportes') AND TABLE_NAME LIKE '" + patron + "'");
        return q.next() ? q.value(0).toInt() : -1;
    }

  private slots:
    void initTestCase() {
        base = prueba::BaseConFixture();
        programa.Configura(base, "5.0.0");
        prueba::Ejecuta("CREATE USER IF NOT EXISTS miravel@'127.0.0.1' IDENTIFIED BY 'clave'");
        prueba::Ejecuta("GRANT ALL ON `" + base + "`.* TO miravel@'127.0.0.1'");
        prueba::Ejecuta("GRANT ALL ON orvaloreportes.* TO miravel@'127.0.0.1'");
        nodo1.Open("127.0.0.1", prueba::Puerto(), "root", "", base);
        // The fixture's rows reach the second node (InnoDB); the session waits for them.
        nodo2.Open("127.0.0.1", prueba::Puerto2(), "root", "", base);
        nodo2.Execute("SET SESSION wsrep_sync_wait=1");
        QVERIFY(nodo2.Query("SELECT COUNT(*) FROM facturas").next());
    }

    // Four runs at a time, two on each node, of mixed reports, each renewing the templates half of
    // the times: every one succeeds with the figures of a run alone, and nothing is left behind.
    void runsOnBothNodesAtOnce() {
        QList<QByteArray> esperado;
        for (const QStringList& r : kReportes) {
            const prueba::Corrida c = Exporta(prueba::Puerto(), r);
            QVERIFY2(c.estado == 0, qPrintable(c.error));
            esperado << c.salida;
        }
        QMutex mutex;
        QStringList fallas;
        std::vector<std::thread> hilos;
        for (int h = 0; h < 4; ++h)
            hilos.emplace_back([&, h] {
                const QString puerto = h % 2 ? prueba::Puerto2() : prueba::Puerto();
                for (int i = 0; i < 25; ++i) {
                    const int r = (h + i) % kReportes.size();
                    const prueba::Corrida c = Exporta(puerto, kReportes[r], i % 2);
                    if (c.estado == 0 && c.salida == esperado[r]) continue;
                    QMutexLocker candado(&mutex);
                    fallas << QString("nodo %1, %2: %3 %4")
                                  .arg(h % 2 + 1)
                                  .arg(kReportes[r].join(' '))
                                  .arg(c.estado)
                                  .arg(c.error);
                }
            });
        for (std::thread& t : hilos) t.join();
        QVERIFY2(fallas.isEmpty(), qPrintable(fallas.join('\n')));
        for (ado::Connection* nodo : {&nodo1, &nodo2}) {
            QCOMPARE(Tablas(*nodo, "tbltemp%"), 0);
            QCOMPARE(Tablas(*nodo, "%!_nueva%' ESCAPE '!"), 0);
            QCOMPARE(Tablas(*nodo, "ventasde3y%"), 2);
        }
    }

    // Behind a balancer each session of a run lands on another node: the figures are the
    // cluster's all the same, and a stopped run is stopped on the node where it runs.
    void runsThroughABalancer() {
        const Balanceador balanceador({prueba::Puerto(), prueba::Puerto2()});
        for (const QStringList& r : kReportes) {
            const QByteArray esperado = Exporta(prueba::Puerto(), r).salida;
            for (int i = 0; i < 3; ++i) {
                const prueba::Corrida c = Exporta(balanceador.puerto, r);
                QVERIFY2(c.estado == 0, qPrintable(c.error));
                QCOMPARE(c.salida, esperado);
            }
        }
        ado::Connection cerrojos[2];
        for (int n = 0; n < 2; ++n) {
            cerrojos[n].Open("127.0.0.1", n ? prueba::Puerto2() : prueba::Puerto(), "root", "",
                             base);
            cerrojos[n].Execute("LOCK TABLES facturas WRITE");  // holds the reads on both nodes
        }
        QProcess detenida;
        detenida.start(MIRAVEL_DIR_PROGRAMA "/miravel-export",
                       kReportes[0] + prueba::Conexion(base, balanceador.puerto));
        QTRY_VERIFY_WITH_TIMEOUT(Tablas(nodo1, "tbltemp%") == 1, 20000);
        QTest::qWait(500);  // its reads are waiting by now
        detenida.terminate();
        const bool termino = detenida.waitForFinished(20000);
        for (ado::Connection& c : cerrojos) c.Execute("UNLOCK TABLES");
        QVERIFY(termino);
        QCOMPARE(detenida.exitCode(), 143);
        QTRY_COMPARE(Tablas(nodo1, "tbltemp%"), 0);
    }

    // A run killed on node 1 keeps its table while it lives, from runs on either node; once gone,
    // a run on node 2 still leaves it (its node is a member) and the next on node 1 reclaims it.
    void killedRunReclaimedOnItsOwnNode() {
        ado::Connection cerrojo;
        cerrojo.Open("127.0.0.1", prueba::Puerto(), "root", "", base);
        cerrojo.Execute("LOCK TABLES facturas WRITE");  // holds the run on node 1 at its reads
        QProcess muerta;
        muerta.start(MIRAVEL_DIR_PROGRAMA "/miravel-export", kReportes[0] + prueba::Conexion(base));
        QString tabla;  // the test's own statements run on node 1
        QTRY_VERIFY_WITH_TIMEOUT(
            !(tabla = prueba::Valor("SELECT TABLE_NAME FROM information_schema."
                                    "TABLES WHERE TABLE_SCHEMA='" +
                                    base + "' AND TABLE_NAME LIKE 'tbltemp%'")
                          .toString())
                 .isEmpty(),
            20000);
        const QStringList soloRemisiones = kReportes[0] + QStringList{"--ventas", "remisiones"};
        for (const QString& puerto : {prueba::Puerto2(), prueba::Puerto()}) {
            const prueba::Corrida c = Exporta(puerto, soloRemisiones);
            QVERIFY2(c.estado == 0, qPrintable(c.error));
            QCOMPARE(Tablas(nodo1, tabla), 1);
        }
        ::kill(static_cast<pid_t>(muerta.processId()), SIGKILL);
        muerta.waitForFinished();
        cerrojo.Execute("UNLOCK TABLES");
        QTRY_COMPARE(prueba::Valor("SELECT IS_FREE_LOCK(" + CandadoDe(nodo1, tabla) + ")").toInt(),
                     1);
        prueba::Corrida c = Exporta(prueba::Puerto2(), soloRemisiones);
        QVERIFY2(c.estado == 0, qPrintable(c.error));
        QCOMPARE(Tablas(nodo1, tabla), 1);
        c = Exporta(prueba::Puerto(), soloRemisiones);
        QVERIFY2(c.estado == 0, qPrintable(c.error));
        QCOMPARE(Tablas(nodo1, tabla) + Tablas(nodo2, tabla), 0);
    }

    // A node no longer in the cluster leaves tables nobody else judges by lock: any run that may
    // list the members drops them (root reads mysql.wsrep_cluster_members; the plugin wsrep_info
    // lists them to SUPER); without a list nothing but its own node's is touched. An older
    // run's table (no server named, or a live member's name) is left alone on a cluster.
    void goneNodesTablesReclaimed_data() {
        QTest::addColumn<QString>("usuario");
        QTest::addColumn<QString>("prepara");  // and the statements that undo it, after a '|'
        QTest::addColumn<bool>("reclamada");
        QTest::newRow("root") << QString("root") << "|" << true;
        QTest::newRow("no members list") << QString("miravel") << "|" << false;
        QTest::newRow("wsrep_info")
            << "miravel"
            << "INSTALL SONAME 'wsrep_info';GRANT SUPER ON *.* TO miravel@'127.0.0.1'|UNINSTALL "
               "SONAME 'wsrep_info';REVOKE SUPER ON *.* FROM miravel@'127.0.0.1'"
            << true;
    }
    void goneNodesTablesReclaimed() {
        QFETCH(QString, usuario);
        QFETCH(QString, prepara);
        QFETCH(bool, reclamada);
        const auto ejecuta = [&](const QString& sentencias) {
            for (const QString& sql : sentencias.split(';', Qt::SkipEmptyParts)) nodo1.Execute(sql);
        };
        ejecuta(prepara.section('|', 0, 0));
        const QString marca = kMarcaDeTrabajo,
                      nombre = prueba::Valor("SELECT @@hostname").toString();
        nodo1.Execute("CREATE TABLE tbltemp900 (a int) COMMENT='" + marca + " de nodo9 1x2y'");
        nodo1.Execute("CREATE TABLE tbltemp901 (a int) COMMENT='" + marca + " 1x2y'");
        nodo1.Execute("CREATE TABLE tbltemp902 (a int) COMMENT='" + marca + " de " + nombre +
                      " 1x2y'");
        const prueba::Corrida c =
            prueba::Exporta(kReportes[0] + prueba::Conexion(base, prueba::Puerto(), usuario) +
                                QStringList{"--json", "-"},
                            usuario == "root" ? "" : "clave");
        ejecuta(prepara.section('|', 1));
        QVERIFY2(c.estado == 0, qPrintable(c.error));
        QCOMPARE(Tablas(nodo1, "tbltemp900"), reclamada ? 0 : 1);
        QCOMPARE(Tablas(nodo1, "tbltemp90_"), reclamada ? 2 : 3);
        nodo1.Execute("DROP TABLE IF EXISTS tbltemp900, tbltemp901, tbltemp902");
    }
};

PRUEBA_MAIN(tst_galera)
#include "tst_galera.moc"
