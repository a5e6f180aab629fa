// The data-access layer on the real server (quoting, rows, errors), the report database's
// templates and the work tables copied from them: names, structure, locks, reclaiming what runs
// that died left, sessions the server dropped or never answered.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "Prueba.h"
#include "app/Principal.h"
#include "platform/ado/Connection.h"
#include "platform/ado/Quote.h"
#include "platform/ado/Recordset.h"
#include "platform/vb/RuntimeError.h"
#include "reportdata/CopiaEstructura.h"
#include "reportdata/Globales.h"
#include "reportdata/Informe.h"
#include "reportdata/Plantillas.h"
#include "reportdata/TablaTemporal.h"
#include "ui/menu/frmMenu.h"

namespace {
// A table's definition as the server gives it, but for its name and its comment.
QString Estructura(const QString& base, const QString& tabla) {
    static const QRegularExpression nombreYComentario("^CREATE TABLE `\\w+`| COMMENT='[^']*'$");
    return prueba::Valor("SHOW CREATE TABLE `" + base + "`." + tabla, 1)
        .toString()
        .remove(nombreYComentario);
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
// Ends a session on the server, as a restart, an idle timeout or kill -9 of its program would.
void Mata(ado::Connection& cn) {
    QSqlQuery q = cn.Query("SELECT CONNECTION_ID()");
    q.next();
    prueba::Ejecuta("KILL " + q.value(0).toString());
}
}  // namespace

class tst_tablas : public QObject {
    Q_OBJECT
    prueba::Programa programa;
    QString base;
    ado::Connection sesion;  // on base, with a table t of its own

  private slots:
    void initTestCase() {
        base = prueba::BaseConFixture();
        programa.Conecta(base);
        oBasesDD->AbrirBdD(sesion, base);
        sesion.Execute(
            "CREATE TABLE t (id int PRIMARY KEY, `Año` smallint NOT NULL DEFAULT 0, "
            "importe double NOT NULL DEFAULT 7.5, nombre varchar(40) NULL)");
    }
    // What a test changed is put back, also when it failed.
    void cleanup() {
        sesion.Execute("SET SESSION sql_mode=DEFAULT");
        ado::Connection::SetTimeouts(10, 600);
        prueba::Ejecuta("DELETE FROM orvaloreportes.ventasde3y");
        prueba::Ejecuta("DELETE FROM orvaloreportes.ventasde3yporvend");
    }

    // A value written in a new row (the rest at their columns' defaults) and read back, under the
    // server's sql_mode: NO_BACKSLASH_ESCAPES changes how '\' reads in a literal. A row read
    // changed is written back by its key.
    void quotedValuesReadBackUnchanged_data() {
        QTest::addColumn<QString>("modo");
        QTest::addColumn<QString>("valor");
        for (const QString& modo : {QString("''"), QString("'NO_BACKSLASH_ESCAPES'")}) {
            int i = 0;
            for (const char* valor : {"O'Brien", "a\\b", "C:\\orvalo\\", "\\'", "Peña Ñandú",
                                      "XXXL", "'; DROP TABLE t; --", "línea\nnueva", ""})
                QTest::addRow("%s %d", qPrintable(modo), i++) << modo << QString(valor);
        }
    }
    void quotedValuesReadBackUnchanged() {
        QFETCH(QString, modo);
        QFETCH(QString, valor);
        sesion.Execute("SET SESSION sql_mode=" + modo);
        QSqlQuery q = sesion.Query("SELECT " + ado::Quote(valor));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), valor);
        sesion.Execute("DELETE FROM t");
        ado::Recordset rs;
        QVERIFY(!oBasesDD->AbrirTabla(rs, sesion, "t"));
        rs.AddNew();
        QCOMPARE(rs.Fields("importe").toDouble(), 7.5);
        QVERIFY(rs.Fields("nombre").isNull());
        rs.SetField("id", 1);
        rs.SetField("nombre", valor);
        rs.Update();
        QVERIFY(oBasesDD->AbrirTabla(rs, sesion, "t where nombre=" + ado::Quote(valor)));
        QCOMPARE(rs.Fields("nombre").toString(), valor);
        QCOMPARE(rs.Fields("Año").toInt(), 0);
        QCOMPARE(rs.Fields("importe").toDouble(), 7.5);
        rs.SetField("importe", 1.25);
        rs.Update();
        QCOMPARE(prueba::Valor("SELECT importe FROM " + base + ".t").toDouble(), 1.25);
        rs.MoveNext();
        QVERIFY(rs.Eof());
        oBasesDD->CierraTabla(rs);
    }

    void failuresCarryTheServerError() {
        const RuntimeError e = prueba::Falla([&] { sesion.Execute("SELEC 1"); });
        QCOMPARE(e.Number(), 1064);
        QCOMPARE(e.Statement(), "SELEC 1");
        ado::Connection cerrada;
        QVERIFY_THROWS_EXCEPTION(RuntimeError, cerrada.Execute("SELECT 1"));
        oBasesDD->cPassword = "mala";
        QVERIFY_THROWS_EXCEPTION(RuntimeError, oBasesDD->AbrirBdD(cerrada, base));
        oBasesDD->cPassword = "";
    }

    void largeResultInOneGo() {
        sesion.Execute("DELETE FROM t");
        sesion.Execute("INSERT INTO t (id) SELECT seq FROM seq_1_to_20000");
        QSqlQuery q = sesion.Query("SHOW SESSION STATUS LIKE 'Questions'");
        q.next();
        const int preguntas = q.value(1).toInt();
        ado::Recordset rs;
        oBasesDD->AbrirTabla(rs, sesion, "t");
        int filas = 0;
        for (; !rs.Eof(); rs.MoveNext()) ++filas;
        QCOMPARE(filas, 20000);
        q = sesion.Query("SHOW SESSION STATUS LIKE 'Questions'");
        q.next();
        QCOMPARE(q.value(1).toInt() - preguntas, 2);  // the SELECT, and this SHOW
    }

    // At start the missing templates are made; a host version the templates know keeps them, an
    // older one (compared part by part) renews them, emptied.
    void templatesByHostVersion_data() {
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("renovadas");
        for (const char* v : {"5.11.8", "5.12.0", "10.0.0", "6.1"}) QTest::newRow(v) << v << false;
        for (const char* v : {"5.11.7", "5.9.12", ""}) QTest::newRow(*v ? v : "none") << v << true;
    }
    void templatesByHostVersion() {
        QFETCH(QString, version);
        QFETCH(bool, renovadas);
        prueba::Ejecuta(
            "DROP TABLE IF EXISTS orvaloreportes.ventasde3y, orvaloreportes.ventasde3yporvend");
        auto arranca = [&](const QString& v) {
            prueba::Programa p;
            p.Configura(base, v);
            QVERIFY(Main());
            prueba::Menu()->close();  // its objects go with it: the test's are made again
            programa.Conecta(base);
        };
        arranca("5.12.0");
        prueba::Ejecuta("INSERT INTO orvaloreportes.ventasde3y (`Año`) VALUES (1999)");
        prueba::Ejecuta("INSERT INTO orvaloreportes.ventasde3yporvend (Vendedor) VALUES ('a')");
        arranca(version);
        QCOMPARE(prueba::Valor("SELECT (SELECT COUNT(*) FROM orvaloreportes.ventasde3y) + "
                               "(SELECT COUNT(*) FROM orvaloreportes.ventasde3yporvend)")
                     .toInt(),
                 renovadas ? 0 : 2);
    }

    // A copy takes the first free name and the template's whole structure, the words of the
    // template that name it too.
    void copyTakesTheFirstFreeNameAndTheWholeStructure() {
        const QString base = prueba::BaseDeVentas();
        ado::Connection cn;
        oBasesDD->AbrirBdD(cn, base);
        QCOMPARE(NombreTablaTemporal(cn), "tbltemp0");
        cn.Execute("CREATE TABLE tbltemp0 (a int)");
        cn.Execute("CREATE TABLE tbltemp1 (a int)");
        cn.Execute(
            "ALTER TABLE orvaloreportes.ventasxlinea MODIFY Linea12 double NOT NULL "
            "DEFAULT 0 COMMENT 'de ventasxlinea'");
        for (QString plantilla : {"ventasde3y", "ventasxlinea", "ventasde3yporvend"}) {
            QCOMPARE(CopiaEstructura(cn, plantilla), "tbltemp2");
            QCOMPARE(Estructura(base, "tbltemp2"), Estructura("orvaloreportes", plantilla));
            cn.Execute("DROP TABLE tbltemp2");
        }
    }

    // A port that accepts and never speaks, and a statement longer than the wait: both fail
    // naming the server; the statement is stopped on the server and its table dropped.
    void serverThatDoesNotAnswer() {
        PuertoMudo mudo;
        QVERIFY(mudo.puerto > 0);
        ado::Connection::SetTimeouts(1, 1);
        ado::Connection cn;
        QElapsedTimer reloj;
        reloj.start();
        const QString sinRespuesta =
            prueba::Falla([&] {
                cn.Open("127.0.0.1", QString::number(mudo.puerto), "root", "", base);
            }).Description();
        QVERIFY2(sinRespuesta.contains("127.0.0.1:" + QString::number(mudo.puerto)),
                 qPrintable(sinRespuesta));
        QVERIFY(reloj.elapsed() < 8000);
        oBasesDD->AbrirBdD(cn, base);
        QString tabla;
        const QString tarde = prueba::Falla([&] {
                                  TablaTemporal trabajo(cn, "ventasde3y");
                                  tabla = trabajo.cTabla;
                                  cn.Execute("INSERT INTO " + tabla +
                                             " (`Año`) SELECT BENCHMARK(5000000000, MD5(1))");
                              }).Description();
        QVERIFY2(tarde.contains("no respondió"), qPrintable(tarde));
        // Stopped on the server: left running (the server ends a SLEEP of a client gone, not
        // this), its session would keep the table's lock past the cleanup's wait.
        QVERIFY(!prueba::ExisteTabla(base, tabla));
        QCOMPARE(prueba::Valor("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE INFO "
                               "LIKE 'INSERT INTO tbltemp%'")
                     .toInt(),
                 0);
    }

    // A run whose session was lost no longer holds its table's lock: the next run reclaims the
    // table and its name. The first run, back on a new session, leaves that table alone, its
    // report done or failed, and the second run's report fills it. A name nobody took is dropped
    // by its run as before. A session the server dropped is opened again before the next report.
    void lostSessionLeavesTheNextRunsTable() {
        for (int vez = 0; vez < 20; ++vez) {
            ado::Connection primera, segunda;
            oBasesDD->AbrirBdD(primera, base);
            oBasesDD->AbrirBdD(segunda, base);
            auto suya = std::make_unique<TablaTemporal>(primera, "ventasde3y");
            const QString nombre = suya->cTabla;
            Mata(primera);
            QTRY_COMPARE(
                prueba::Valor("SELECT IS_FREE_LOCK(" + CandadoDe(primera, nombre) + ")").toInt(),
                1);
            TablaTemporal otra(segunda, "ventasde3y");
            QCOMPARE(otra.cTabla, nombre);
            // The second run's session lost too: its lock is free, only the token tells.
            const bool ambas = vez % 4 >= 2;
            if (ambas) Mata(segunda);
            QTRY_COMPARE(
                prueba::Valor("SELECT IS_FREE_LOCK(" + CandadoDe(primera, nombre) + ")").toInt(),
                ambas ? 1 : 0);
            if (vez % 2)
                suya.reset();  // its report failed
            else
                QVERIFY_THROWS_NO_EXCEPTION(suya->Borra());  // its report was done
            QVERIFY(prueba::ExisteTabla(base, nombre));
            if (ambas) {
                QVERIFY_THROWS_NO_EXCEPTION(otra.Borra());
                QVERIFY(!prueba::ExisteTabla(base, nombre));
                continue;
            }
            prueba::SinFalla([&] {
                reportdata::LlenaTabla(reportdata::kReportes[0], reportdata::Plan::Agrupado,
                                       prueba::Sel(2), segunda, otra.cTabla, {});
            });
            QCOMPARE(prueba::Valor("SELECT COUNT(*) FROM `" + base + "`." + nombre).toInt(), 3);
            otra.Borra();
        }
        ado::Connection sola;
        oBasesDD->AbrirBdD(sola, base);
        Mata(sola);
        QVERIFY_THROWS_NO_EXCEPTION(sola.EnsureOpen());
        QString nombre;
        {
            TablaTemporal trabajo(sola, "ventasde3y");
            nombre = trabajo.cTabla;
            Mata(sola);
        }
        QVERIFY(!prueba::ExisteTabla(base, nombre));
        QVERIFY_THROWS_NO_EXCEPTION(sola.Execute("SELECT 1"));
    }

    // Tables of runs that died are dropped, older runs' too; those of live runs, of other servers
    // and those without the mark stay.
    void deadRunsTablesReclaimed() {
        ado::Connection muerta, viva, nuestra;
        for (ado::Connection* cn : {&muerta, &viva, &nuestra}) oBasesDD->AbrirBdD(*cn, base);
        const QString huerfana = CopiaEstructura(muerta, "ventasde3y");
        const QString enUso = CopiaEstructura(viva, "ventasde3y");
        const QString b = "`" + base + "`.";
        prueba::Ejecuta("CREATE TABLE " + b + "tbltemp900 (a int)");  // someone else's
        // An older run's mark names no server; a mark naming another server is not ours to judge.
        prueba::Ejecuta("CREATE TABLE " + b + "tbltemp901 (a int) COMMENT='" + kMarcaDeTrabajo +
                        " 1x2y3z'");
        prueba::Ejecuta("CREATE TABLE " + b + "tbltemp902 (a int) COMMENT='" + kMarcaDeTrabajo +
                        " de otro:3306 1x2y3z'");
        Mata(muerta);
        QTest::qWait(100);
        { TablaTemporal trabajo(nuestra, "ventasde3y"); }
        for (const QString& t : {huerfana, QString("tbltemp901")})
            QVERIFY(!prueba::ExisteTabla(base, t));
        for (const QString& t : {enUso, QString("tbltemp900"), QString("tbltemp902")}) {
            QVERIFY(prueba::ExisteTabla(base, t));
            prueba::Ejecuta("DROP TABLE " + b + t);
        }
    }

    // Programs starting together on an old host version renew the templates while others copy
    // them: a template is never missing, and no two copies get the same table.
    void templatesRenewedWhileOthersCopy() {
        programa.Configura(base, "5.10.0");
        std::atomic<int> fallas = 0;
        QStringList copias[4];
        std::vector<std::thread> hilos;
        for (int h = 0; h < 4; ++h)
            hilos.emplace_back([&, h] {
                try {
                    ado::Connection cn;
                    if (h % 2) oBasesDD->AbrirBdD(cn, base);
                    for (int i = 0; i < 15; ++i) {
                        if (h % 2 == 0)
                            reportdata::PreparaPlantillas(cn);
                        else
                            copias[h] << CopiaEstructura(cn, "ventasde3y");
                    }
                } catch (const RuntimeError& e) {
                    qWarning() << e.Number() << e.Description();
                    ++fallas;
                }
            });
        for (std::thread& t : hilos) t.join();
        programa.Configura(base);
        QCOMPARE(fallas.load(), 0);
        const QStringList todas = copias[1] + copias[3];
        QCOMPARE(QSet<QString>(todas.begin(), todas.end()).size(), 30);
        QCOMPARE(prueba::TablasDeTrabajo(base), 30);
        for (const QString& t : todas) prueba::Ejecuta("DROP TABLE `" + base + "`." + t);
    }
};

PRUEBA_MAIN(tst_tablas)
#include "tst_tablas.moc"
