// The report database's templates and the work tables copied from them: names, structure,
// locks, reclaiming what runs that died left, sessions the server dropped or never answered.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSqlQuery>
#include <QThread>
#include <QtTest>
#include <atomic>
#include <thread>

#include "Prueba.h"
#include "app/Principal.h"
#include "platform/ado/Connection.h"
#include "platform/vb/RuntimeError.h"
#include "reportdata/CopiaEstructura.h"
#include "reportdata/Globales.h"
#include "reportdata/Informe.h"
#include "reportdata/Plantillas.h"
#include "reportdata/TablaTemporal.h"
#include "ui/menu/frmMenu.h"

namespace {
QString Columnas(const QString& base, const QString& tabla) {
    return prueba::Valor(
               "SELECT GROUP_CONCAT(CONCAT_WS(' ', COLUMN_NAME, COLUMN_TYPE, IS_NULLABLE, "
               "COLUMN_DEFAULT, COLUMN_COMMENT) ORDER BY ORDINAL_POSITION) FROM "
               "information_schema.COLUMNS "
               "WHERE TABLE_SCHEMA='" +
               base + "' AND TABLE_NAME='" + tabla + "'")
        .toString();
}
QString Claves(const QString& base, const QString& tabla) {
    return prueba::Valor(
               "SELECT GROUP_CONCAT(CONCAT_WS(' ', INDEX_NAME, NON_UNIQUE, COLUMN_NAME)) FROM "
               "information_schema.STATISTICS WHERE TABLE_SCHEMA='" +
               base + "' AND TABLE_NAME='" + tabla + "'")
        .toString();
}
// A port on the loopback that accepts connections (the kernel does) and never says a word.
struct PuertoMudo {
    int socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
    int puerto = 0;
    PuertoMudo() {
        sockaddr_in direccion{};
        direccion.sin_family = AF_INET;
        direccion.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t largo = sizeof direccion;
        if (::bind(socket_, reinterpret_cast<sockaddr*>(&direccion), largo) == 0 &&
            ::listen(socket_, 8) == 0 &&
            ::getsockname(socket_, reinterpret_cast<sockaddr*>(&direccion), &largo) == 0)
            puerto = ntohs(direccion.sin_port);
    }
    ~PuertoMudo() { ::close(socket_); }
};

int IdDe(ado::Connection& cn) {
    QSqlQuery q = cn.Query("SELECT CONNECTION_ID()");
    q.next();
    return q.value(0).toInt();
}

}  // namespace

class tst_tablas : public QObject {
    Q_OBJECT
    prueba::Programa programa;
    QString base;

    // Starts the program on the base with the host recording the version, then closes it.
    void Arranca(const QString& base_, const QString& version) {
        prueba::Programa p;
        p.Configura(base_, version);
        QVERIFY(Main());
        prueba::Menu()->close();  // its objects go with it: the test's are made again
        programa.Conecta(base);
    }

  private slots:
    void initTestCase() {
        base = prueba::BaseConFixture();
        programa.Conecta(base);
    }
    void cleanup() { ado::Connection::SetTimeouts(10, 600); }

    void normalizaVersion_data() {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("normal");
        QTest::newRow("5.11.8") << "5.11.8"
                                << "000500110008";
        QTest::newRow("5.9.12") << "5.9.12"
                                << "000500090012";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("two parts") << "6.1"
                                   << "00060001";
    }
    void normalizaVersion() {
        QFETCH(QString, version);
        QFETCH(QString, normal);
        QCOMPARE(reportdata::NormalizaVersion(version), normal);
    }

    void templatesCreatedThenKeptOrRenewedByVersion() {
        const QString base = prueba::BaseDeVentas();
        prueba::Ejecuta(
            "DROP TABLE IF EXISTS orvaloreportes.ventasde3y, orvaloreportes.ventasde3yporvend");
        Arranca(base, "5.12.0");
        QVERIFY(prueba::ExisteTabla("orvaloreportes", "ventasde3y"));
        QVERIFY(prueba::ExisteTabla("orvaloreportes", "ventasde3yporvend"));

        auto marca = [] {
            prueba::Ejecuta("INSERT INTO orvaloreportes.ventasde3y (`Año`) VALUES (1999)");
            prueba::Ejecuta(
                "INSERT INTO orvaloreportes.ventasde3yporvend (Vendedor) VALUES ('marca')");
        };
        auto marcadas = [] {
            return prueba::Valor(
                       "SELECT (SELECT COUNT(*) FROM orvaloreportes.ventasde3y) + "
                       "(SELECT COUNT(*) FROM orvaloreportes.ventasde3yporvend)")
                .toInt();
        };
        marca();
        for (const char* v : {"5.11.8", "5.12.0", "10.0.0"}) {
            Arranca(base, v);
            QCOMPARE(marcadas(), 2);
        }
        for (const char* v : {"5.11.7", ""}) {
            Arranca(base, v);
            QCOMPARE(marcadas(), 0);
            QVERIFY(prueba::ExisteTabla("orvaloreportes", "ventasde3yporvend"));
            marca();
        }
        prueba::Ejecuta("DELETE FROM orvaloreportes.ventasde3y");
        prueba::Ejecuta("DELETE FROM orvaloreportes.ventasde3yporvend");
    }

    void copyTakesTheFirstFreeNameAndTheWholeStructure() {
        const QString base = prueba::BaseDeVentas();
        ado::Connection cn;
        oBasesDD->AbrirBdD(cn, base);
        QCOMPARE(NombreTablaTemporal(cn), "tbltemp0");
        cn.Execute("CREATE TABLE tbltemp0 (a int)");
        cn.Execute("CREATE TABLE tbltemp1 (a int)");
        // Words of the template that name it stay in the copy.
        cn.Execute(
            "ALTER TABLE orvaloreportes.ventasxlinea MODIFY Linea12 double NOT NULL "
            "DEFAULT 0 COMMENT 'de ventasxlinea'");
        for (QString plantilla : {"ventasde3y", "ventasxlinea", "ventasde3yporvend"}) {
            const QString copia = CopiaEstructura(cn, plantilla);
            QCOMPARE(copia, "tbltemp2");
            QCOMPARE(Columnas(base, copia), Columnas("orvaloreportes", plantilla));
            QCOMPARE(Claves(base, copia), Claves("orvaloreportes", plantilla));
            QCOMPARE(
                prueba::Valor("SELECT ENGINE FROM information_schema.TABLES WHERE TABLE_SCHEMA='" +
                              base + "' AND TABLE_NAME='tbltemp2'")
                    .toString(),
                "MyISAM");
            cn.Execute("DROP TABLE " + copia);
        }
    }

    // Two programs printing at the same moment never fill the same table.
    void simultaneousCopiesGetTheirOwnTables() {
        const QString base = prueba::BaseDeVentas();
        QStringList nombres[2];
        QList<QThread*> hilos;
        for (int h = 0; h < 2; ++h) {
            hilos << QThread::create([&, h] {
                ado::Connection cn;
                oBasesDD->AbrirBdD(cn, base);
                for (int i = 0; i < 15; ++i) {
                    QString plantilla = "ventasde3y";
                    nombres[h] << CopiaEstructura(cn, plantilla);
                }
            });
            hilos.last()->start();
        }
        for (QThread* h : hilos) {
            h->wait();
            delete h;
        }
        QSet<QString> distintos(nombres[0].begin(), nombres[0].end());
        distintos.unite(QSet<QString>(nombres[1].begin(), nombres[1].end()));
        QCOMPARE(distintos.size(), 30);
        QCOMPARE(prueba::TablasDeTrabajo(base), 30);
    }

    // A port that accepts and never speaks, and a statement longer than the wait.
    void serverThatDoesNotAnswer() {
        PuertoMudo mudo;
        QVERIFY(mudo.puerto > 0);
        ado::Connection::SetTimeouts(1, 1);
        ado::Connection cn;
        QElapsedTimer reloj;
        reloj.start();
        try {
            cn.Open("127.0.0.1", QString::number(mudo.puerto), "root", "", base);
            QFAIL("a server that never answered was taken as open");
        } catch (const RuntimeError& e) {
            QVERIFY2(e.Description().contains("127.0.0.1:" + QString::number(mudo.puerto)),
                     qPrintable(e.Description()));
        }
        QVERIFY(reloj.elapsed() < 8000);

        oBasesDD->AbrirBdD(cn, base);
        reloj.restart();
        QString tabla;
        try {
            TablaTemporal trabajo(cn, "ventasde3y");
            tabla = trabajo.cTabla;
            cn.Execute("INSERT INTO " + tabla + " (`Año`) SELECT SLEEP(5)");
            QFAIL("an answer past the wait was awaited");
        } catch (const RuntimeError& e) {
            QVERIFY2(e.Description().contains("no respondió"), qPrintable(e.Description()));
        }
        // The statement was stopped on the server too, and the table dropped over a new session
        // once the old one let its lock go.
        QVERIFY(!prueba::ExisteTabla(base, tabla));
        QCOMPARE(prueba::Valor("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE INFO "
                               "LIKE 'INSERT INTO tbltemp%'")
                     .toInt(),
                 0);
    }

    // A session the server dropped (restart, idle timeout, KILL) is opened again before the
    // next report; lost in the middle of one, its table is dropped over a new session.
    void droppedSessionOpensAgain() {
        ado::Connection cn;
        oBasesDD->AbrirBdD(cn, base);
        prueba::Ejecuta("KILL " + QString::number(IdDe(cn)));
        QVERIFY_THROWS_NO_EXCEPTION(cn.EnsureOpen());
        QVERIFY_THROWS_NO_EXCEPTION(cn.Execute("SELECT 1"));
        QString tabla;
        {
            TablaTemporal trabajo(cn, "ventasde3y");
            tabla = trabajo.cTabla;
            prueba::Ejecuta("KILL " + QString::number(IdDe(cn)));
        }
        QVERIFY(!prueba::ExisteTabla(base, tabla));
        QVERIFY_THROWS_NO_EXCEPTION(cn.Execute("SELECT 1"));
    }

    // A run whose session was lost (an idle timeout while a long page was drawn) no longer holds
    // its table's lock: the next run reclaims the table and takes its name. The first run, back
    // on a new session, leaves that table alone, whether its report was done or failed, and the
    // second run's report comes out right. A name nobody took is dropped by its run as before.
    void lostSessionLeavesTheNextRunsTable() {
        const reportdata::Seleccion s = prueba::Sel(2);
        for (int vez = 0; vez < 20; ++vez) {
            ado::Connection primera, segunda;
            oBasesDD->AbrirBdD(primera, base);
            oBasesDD->AbrirBdD(segunda, base);
            auto suya = std::make_unique<TablaTemporal>(primera, "ventasde3y");
            const QString nombre = suya->cTabla;
            prueba::Ejecuta("KILL " + QString::number(IdDe(primera)));
            QTRY_COMPARE(
                prueba::Valor("SELECT IS_FREE_LOCK(" + CandadoDe(primera, nombre) + ")").toInt(),
                1);
            TablaTemporal otra(segunda, "ventasde3y");
            QCOMPARE(otra.cTabla, nombre);
            if (vez % 2)
                suya.reset();  // its report failed
            else
                QVERIFY_THROWS_NO_EXCEPTION(suya->Borra());  // its report was done
            QVERIFY(prueba::ExisteTabla(base, nombre));
            prueba::SinFalla([&] {
                reportdata::LlenaTabla(reportdata::kReportes[0], reportdata::Plan::Agrupado, s,
                                       segunda, otra.cTabla, {});
            });
            QCOMPARE(prueba::Valor("SELECT Ene FROM `" + base + "`." + nombre + " WHERE `Año`=2010")
                         .toDouble(),
                     204.0);
            otra.Borra();
        }
        ado::Connection sola;
        oBasesDD->AbrirBdD(sola, base);
        TablaTemporal trabajo(sola, "ventasde3y");
        prueba::Ejecuta("KILL " + QString::number(IdDe(sola)));
        QVERIFY_THROWS_NO_EXCEPTION(trabajo.Borra());
        QVERIFY(!prueba::ExisteTabla(base, trabajo.cTabla));
    }

    // Tables of runs that died are dropped, older runs' too; those of live runs, of other servers
    // and those without the mark stay.
    void deadRunsTablesReclaimed() {
        ado::Connection muerta, viva, nuestra;
        oBasesDD->AbrirBdD(muerta, base);
        oBasesDD->AbrirBdD(viva, base);
        oBasesDD->AbrirBdD(nuestra, base);
        const QString huerfana = CopiaEstructura(muerta, "ventasde3y");
        const QString enUso = CopiaEstructura(viva, "ventasde3y");
        prueba::Ejecuta("CREATE TABLE `" + base + "`.tbltemp900 (a int)");  // someone else's
        // An older run's mark names no server; a mark naming another server is not ours to judge.
        prueba::Ejecuta("CREATE TABLE `" + base + "`.tbltemp901 (a int) COMMENT='" +
                        kMarcaDeTrabajo + " 1x2y3z'");
        prueba::Ejecuta("CREATE TABLE `" + base + "`.tbltemp902 (a int) COMMENT='" +
                        kMarcaDeTrabajo + " de otro:3306 1x2y3z'");
        prueba::Ejecuta("KILL " + QString::number(IdDe(muerta)));  // as kill -9 would
        QTest::qWait(100);
        { TablaTemporal trabajo(nuestra, "ventasde3y"); }
        QVERIFY(!prueba::ExisteTabla(base, huerfana));
        QVERIFY(!prueba::ExisteTabla(base, "tbltemp901"));
        QVERIFY(prueba::ExisteTabla(base, enUso));
        QVERIFY(prueba::ExisteTabla(base, "tbltemp900"));
        QVERIFY(prueba::ExisteTabla(base, "tbltemp902"));
        viva.Execute("DROP TABLE " + enUso);
        prueba::Ejecuta("DROP TABLE `" + base + "`.tbltemp900, `" + base + "`.tbltemp902");
    }

    // Programs starting together on an old host version renew the templates while others copy
    // them: a template is never missing.
    void templatesRenewedWhileOthersCopy() {
        programa.Configura(base, "5.10.0");
        std::atomic<int> fallas = 0;
        std::vector<std::thread> hilos;
        for (int h = 0; h < 4; ++h)
            hilos.emplace_back([&, h] {
                try {
                    ado::Connection cn;
                    for (int i = 0; i < 15; ++i) {
                        if (h % 2 == 0) {
                            reportdata::PreparaPlantillas(cn);
                        } else {
                            oBasesDD->AbrirBdD(cn, base);
                            cn.Execute("DROP TABLE " + CopiaEstructura(cn, "ventasde3y"));
                        }
                    }
                } catch (const RuntimeError& e) {
                    qWarning() << e.Number() << e.Description();
                    ++fallas;
                }
            });
        for (std::thread& t : hilos) t.join();
        programa.Configura(base);
        QCOMPARE(fallas.load(), 0);
    }
};

PRUEBA_MAIN(tst_tablas)
#include "tst_tablas.moc"
