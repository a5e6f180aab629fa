// What a report survives: a full disk, a server that does not answer, a session the server
// dropped, runs that died with their work tables, programs starting together on an old host
// version, a broken template.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QSqlQuery>
#include <QtTest>
#include <atomic>
#include <thread>

#include "Prueba.h"
#include "platform/ado/Connection.h"
#include "platform/report/Export.h"
#include "platform/report/ExportXlsx.h"
#include "platform/report/ReportPages.h"
#include "platform/vb/RuntimeError.h"
#include "platform/vb/SaveFile.h"
#include "reportdata/CopiaEstructura.h"
#include "reportdata/Globales.h"
#include "reportdata/Informe.h"
#include "reportdata/Plantillas.h"
#include "reportdata/TablaTemporal.h"

namespace {

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

class tst_robustez : public QObject {
    Q_OBJECT
    prueba::Programa programa;
    QString base;
    QTemporaryDir montaje;  // where a small file system is mounted, outliving each test
    QString lleno;
    QStringList plantillasOriginales;  // templates a test changed, made again whatever its end

    void CambiaPlantilla(const QString& plantilla, const QString& cambio) {
        plantillasOriginales
            << prueba::Filas("SHOW CREATE TABLE orvaloreportes." + plantilla)[0][1].toString();
        prueba::Ejecuta("ALTER TABLE orvaloreportes." + plantilla + " " + cambio);
    }
    // Salesperson rows of a report: key -> the three years.
    QMap<QString, QList<double>> PorVendedor(ado::Connection& cn, reportdata::Plan plan,
                                             const reportdata::Seleccion& s, bool* datos = {}) {
        TablaTemporal trabajo(cn, "ventasde3yporvend");
        const bool hay = prueba::SinFalla([&] {
            return reportdata::LlenaTabla(reportdata::kReportes[2], plan, s, cn, trabajo.cTabla,
                                          [](const QString&) {})
                .tieneDatos;
        });
        if (datos) *datos = hay;
        QMap<QString, QList<double>> filas;
        for (const QVariantList& f : prueba::Filas("SELECT Vendedor, Anio1, Anio2, Anio3 FROM `" +
                                                   cn.DefaultDatabase() + "`." + trabajo.cTabla))
            filas.insert(f[0].toString(), {f[1].toDouble(), f[2].toDouble(), f[3].toDouble()});
        return filas;
    }

  private slots:
    void initTestCase() {
        base = prueba::BaseConFixture();
        programa.Conecta(base);
    }
    void cleanup() {
        ado::Connection::SetTimeouts(10, 600);
        if (!lleno.isEmpty()) QProcess::execute("umount", {lleno});
        lleno.clear();
        prueba::Ejecuta("USE orvaloreportes");
        for (const QString& creacion : plantillasOriginales) {
            prueba::Ejecuta("DROP TABLE " + creacion.section('`', 1, 1));
            prueba::Ejecuta(creacion);
        }
        plantillasOriginales.clear();
    }

    // Needs root to mount a small tmpfs; elsewhere skipped with a message.
    void fullDiskLeavesNoFileAndFails() {
        if (geteuid() != 0) QSKIP("mounting a small file system needs root");
        if (QProcess::execute("mount",
                              {"-t", "tmpfs", "-o", "size=256k", "tmpfs", montaje.path()}) != 0)
            QSKIP("this machine lets no small file system be mounted here");
        lleno = montaje.path();
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
        // The statement was stopped on the server too, so the cleanup did not wait for it: the
        // table is gone at once.
        QVERIFY(reloj.elapsed() < 4500);
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

    // A key a latin1 database cannot hold matches nothing: an ordinary empty report.
    void keyALatin1DatabaseCannotHold() {
        const QString latin = prueba::BaseNueva("latin");
        prueba::Ejecuta("ALTER DATABASE `" + latin + "` CHARACTER SET latin1");
        prueba::EjecutaArchivo(MIRAVEL_DIR_FUENTES "/demo/esquema.sql", latin);
        prueba::EjecutaArchivo(MIRAVEL_DIR_FUENTES "/tests/fixtures/ventas.sql", latin);
        ado::Connection cn;
        oBasesDD->AbrirBdD(cn, latin);
        reportdata::Seleccion s;
        s.año = "2010";
        s.fechaInicial = "01/01/2010";
        s.fechaFinal = "31/12/2010";
        s.vendedor = QString::fromUtf8("7\xF0\x9F\x98\x80");
        for (reportdata::Plan plan : {reportdata::Plan::Fiel, reportdata::Plan::Agrupado})
            for (const reportdata::Reporte& r : reportdata::kReportes) {
                TablaTemporal trabajo(cn, r.estructura);
                bool datos = true;
                QVERIFY_THROWS_NO_EXCEPTION(
                    datos =
                        reportdata::LlenaTabla(r, plan, s, cn, trabajo.cTabla, [](const QString&) {
                        }).tieneDatos);
                if (r.porFechas) QVERIFY(!datos);
                const QVariant suma =
                    prueba::Valor("SELECT SUM(" +
                                  QString(r.porFechas ? "Anio1+Anio2+Anio3"
                                          : r.rotulos ? "Linea1"
                                                      : "Ene+Feb+Mar+Abr+May+Jun") +
                                  ") FROM `" + latin + "`." + trabajo.cTabla);
                QVERIFY(suma.isNull() || suma.toDouble() == 0);
            }
    }

    // Every salesperson the sales data tells apart keeps a row of its own, with the figures it
    // has, whatever the templates' character set: a binary collation tells ab from AB, a latin1
    // template would take Mü for My and hold no emoji. Both plans.
    void keysCompareAsTheSalesColumns() {
        const QString claves = prueba::BaseNueva("claves");
        prueba::EjecutaArchivo(MIRAVEL_DIR_FUENTES "/demo/esquema.sql", claves);
        prueba::EjecutaArchivo(MIRAVEL_DIR_FUENTES "/tests/fixtures/ventas.sql", claves);
        const QMap<QString, QString> nuevas{
            {"7", "😀😀😀"}, {"8", "ab"}, {"9", "AB"}, {"AXXXB", "Mü"}, {"X''Q", "My"}};
        const QString binaria = " varchar(10) CHARACTER SET utf8mb4 COLLATE utf8mb4_bin";
        for (const auto& [tabla, columna] : {std::pair{"facturas", "Vendedor"},
                                             {"remisiones", "Vendedor"},
                                             {"clientes", "Vendedor"},
                                             {"vendedores", "Clave"}}) {
            const QString t = "`" + claves + "`." + tabla;
            prueba::Ejecuta(QString("ALTER TABLE %1 MODIFY %2%3").arg(t, columna, binaria));
            for (auto n = nuevas.begin(); n != nuevas.end(); ++n)
                prueba::Ejecuta(QString("UPDATE %1 SET %2='%3' WHERE %2='%4'")
                                    .arg(t, columna, n.value(), n.key()));
        }
        ado::Connection fixture, cn;
        oBasesDD->AbrirBdD(fixture, base);
        oBasesDD->AbrirBdD(cn, claves);
        for (bool latin1 : {false, true}) {
            if (latin1) CambiaPlantilla("ventasde3yporvend", "CONVERT TO CHARACTER SET latin1");
            for (reportdata::Plan plan : {reportdata::Plan::Fiel, reportdata::Plan::Agrupado}) {
                const auto esperado = PorVendedor(fixture, plan, prueba::Sel(2));
                const auto obtenido = PorVendedor(cn, plan, prueba::Sel(2));
                QCOMPARE(obtenido.size(), esperado.size());
                for (auto n = nuevas.begin(); n != nuevas.end(); ++n)
                    QCOMPARE(obtenido.value(n.value()),
                             esperado.value(QString(n.key()).replace("''", "'")));
                bool datos = false;
                const auto uno = PorVendedor(cn, plan, prueba::Sel(2, "😀😀😀"), &datos);
                QVERIFY(datos);
                QCOMPARE(uno.value("😀😀😀"), esperado.value("7"));
            }
        }
    }

    // A template that lacks a column the builder writes is named in the message.
    void brokenTemplateNamed() {
        CambiaPlantilla("ventasxlinea", "DROP COLUMN Linea1");
        ado::Connection cn;
        oBasesDD->AbrirBdD(cn, base);
        reportdata::Seleccion s;
        s.año = "2010";
        for (reportdata::Plan plan : {reportdata::Plan::Fiel, reportdata::Plan::Agrupado}) {
            TablaTemporal trabajo(cn, "ventasxlinea");
            try {
                reportdata::LlenaTabla(reportdata::kReportes[1], plan, s, cn, trabajo.cTabla, {});
                QFAIL("a template without Linea1 went unnoticed");
            } catch (const RuntimeError& e) {
                QVERIFY2(e.Description().contains("Linea1") &&
                             e.Description().contains("orvaloreportes.ventasxlinea"),
                         qPrintable(e.Description()));
            }
        }
    }
};

QTEST_MAIN(tst_robustez)
#include "tst_robustez.moc"
