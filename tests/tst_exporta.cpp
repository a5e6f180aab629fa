// miravel-export as a scheduled job runs it: its arguments, the files it writes (only those
// asked for, where asked, whole or not at all), its exit status and its signals. Run as root, it
// makes device nodes, gives files to other users and mounts small file systems; elsewhere those
// cases are skipped.
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <csignal>

#include "Prueba.h"
#include "app/ParaPluginsPortables.h"
#include "app/Principal.h"
#include "platform/ado/Connection.h"
#include "reportdata/Globales.h"

namespace {
const uid_t kOtro = 4321;                 // a user that is neither the test nor the folder's owner
const uid_t kNadie = 65534;               // nobody and nogroup, to run the command as
const QString kCifradoMalo = "~4F5A3B7";  // a password's cipher text cut short
#ifdef __SANITIZE_ADDRESS__
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
const QStringList kMes{"--reporte", "mes", "--anio", "2010"},
    kVendedor{"--reporte", "vendedor", "--desde", "01/01/2010", "--hasta", "31/12/2010"};

struct stat Estado(const QString& ruta) {
    struct stat s {};
    lstat(QFile::encodeName(ruta).constData(), &s);
    return s;
}
using prueba::Bytes;
using prueba::Pon;
}  // namespace

class tst_exporta : public QObject {
    Q_OBJECT
    QString base;
    QTemporaryDir dir;
    prueba::Programa malCifrado;  // host settings whose user is no cipher text
    prueba::Programa renovador;   // an old host version, and the user miravel_exp

    prueba::Corrida Exporta(const QStringList& argumentos, const QString& clave = {}) {
        return prueba::Exporta(prueba::Conexion(base) + argumentos, clave);
    }
    static QJsonObject Json(const QByteArray& datos) {
        return QJsonDocument::fromJson(datos).object();
    }
    // The workbook the command writes, as an independent reader (Debian's openpyxl) sees it;
    // nothing when the command failed.
    QJsonObject Libro(const QStringList& argumentos) {
        const QString xlsx = dir.filePath("libro.xlsx");
        if (prueba::Exporta(argumentos + QStringList{"--xlsx", xlsx}).estado != 0) return {};
        QProcess p;
        p.start("/usr/bin/python3", {MIRAVEL_DIR_FUENTES "/tests/lee_xlsx.py", xlsx});
        p.waitForFinished(60000);
        return Json(p.readAllStandardOutput())["hojas"][0].toObject();
    }
    static QString Celda(const QJsonObject& hoja, const char* celda, const char* campo = "valor") {
        return hoja["celdas"][celda][campo].toVariant().toString();
    }
    bool root() const { return geteuid() == 0; }
    // Tables a renewal of the templates left in the report database.
    static int Restos() {
        return prueba::Valor(
                   "SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA="
                   "'orvaloreportes' AND TABLE_NAME RLIKE '_(nueva|vieja)'")
            .toInt();
    }

  private slots:
    void initTestCase() {
        base = prueba::BaseConFixture();
        malCifrado.Configura(base);
        renovador.Configura(base, "5.0.0");  // an old host version: the templates are renewed
        Pon(renovador.Host() + "/Orvalo.ini",
            Bytes(renovador.Host() + "/Orvalo.ini") + "MySQLUsuario=miravel_exp\n");
        Pon(malCifrado.Host() + "/Orvalo.ini",
            Bytes(malCifrado.Host() + "/Orvalo.ini") + "MySQLPassword=" + kCifradoMalo.toLatin1());
        Pon(dir.filePath("sin-ruta.ini"), "[Configuraci\xf3n]\nBase de datos a usar=x\n");
        Pon(dir.filePath("ruta-mala.ini"), "[Configuración]\nRuta de Orvalo=/no/existe\n");
        // Host settings that name no server: empty, and not text at all.
        for (const QString host : {"vacio", "binario"}) {
            QDir().mkpath(dir.filePath(host));
            Pon(dir.filePath(host + ".ini"),
                ("[Configuración]\nRuta de Orvalo=" + dir.filePath(host) + "\n").toUtf8());
            Pon(dir.filePath(host + "/Orvalo.ini"),
                host == "vacio" ? QByteArray() : QByteArray("\x89PNG\0\xff[Orvalo]\0\xfe", 14));
        }
        mkfifo(QFile::encodeName(dir.filePath("fifo-2.png")), 0600);  // a PNG page's name
        // Nodes that are not regular files, in a shared sticky folder; as root also a device and
        // another user's link.
        const QString nodos = dir.filePath("nodos");
        QDir().mkpath(nodos + "/carpeta");
        chmod(QFile::encodeName(nodos), 01777);
        mkfifo(QFile::encodeName(nodos + "/fifo"), 0600);
        QFile::link(nodos + "/no-existe.csv", nodos + "/roto.csv");
        if (!root()) return;
        mknod(QFile::encodeName(nodos + "/null"), S_IFCHR | 0666, makedev(1, 3));
        Pon(dir.filePath("suyo.csv"), "de otro");
        QFile::link(dir.filePath("suyo.csv"), nodos + "/ajeno.csv");
        lchown(QFile::encodeName(nodos + "/ajeno.csv"), kOtro, kOtro);
        // A neighbour's link in his own folder, at a file only root may read.
        QDir().mkpath(nodos + "/vecino");
        chown(QFile::encodeName(nodos + "/vecino"), kOtro, kOtro);
        QFile::link(dir.filePath("suyo.csv"), nodos + "/vecino/r.csv");
        lchown(QFile::encodeName(nodos + "/vecino/r.csv"), kOtro, kOtro);
        chmod(QFile::encodeName(dir.filePath("suyo.csv")), 0600);
    }
    // What a test changed on the server is put back, also when it failed.
    void cleanup() {
        prueba::Repone(base);
        prueba::Ejecuta("DROP USER IF EXISTS 'miravel_exp'@'127.0.0.1'");
        prueba::Ejecuta("SET GLOBAL wait_timeout=DEFAULT");
        QCOMPARE(prueba::TablasDeTrabajo(base), 0);
    }

    // First, while no other child has run: getrusage gives the largest child's peak. A PNG
    // of many pages is written a page at a time, each a page-sized image; a signal stops it
    // between two pages; a shorter report to the same name takes the old pages away.
    void pngPagesKeepMemoryFlat() {
        const QString ventas = prueba::BaseDeVentas();
        for (const char* sql :
             {"INSERT INTO $vendedores SELECT seq, CONCAT('Vendedor ', seq) FROM seq_1_to_1000",
              "INSERT INTO $facturas SELECT seq, '2010-06-01', NULL, seq, seq, 0, 0 FROM "
              "seq_1_to_1000",
              "INSERT INTO $facturasdetalle (Id, Producto, Cantidad, PrecioNeto, IVA) SELECT seq, "
              "'P', 1, seq, 0 FROM seq_1_to_1000"})
            prueba::Ejecuta(QString(sql).replace("$", "`" + ventas + "`."));
        const QString png = dir.filePath("v.png");
        const QStringList argumentos =
            prueba::Conexion(ventas) + kVendedor + QStringList{"--png", png};
        QCOMPARE(prueba::Exporta(argumentos).estado, 0);
        struct rusage uso {};
        getrusage(RUSAGE_CHILDREN, &uso);
        const int paginas = QDir(dir.path()).entryList({"v*.png"}).size();
        qInfo("%d pages; the command's peak memory: %ld MB", paginas, uso.ru_maxrss / 1024);
        QVERIFY(paginas > 20);
        const QImage primera(png), ultima(dir.filePath(QString("v-%1.png").arg(paginas)));
        QCOMPARE(ultima.size(), primera.size());
        QVERIFY(primera.width() < primera.height() * 2);  // a page, not a strip of pages
        // AddressSanitizer holds freed memory back, so the peak says nothing there.
        QVERIFY2(kAddressSanitizer || uso.ru_maxrss < 150 * 1024, "memory grows with the pages");

        // Pages waiting for the end in temporary files: those the command holds open.
        QProcess p;
        auto pendientes = [&] {
            int n = 0;
            for (const QFileInfo& f : QDir(QString("/proc/%1/fd").arg(p.processId()))
                                          .entryInfoList(QDir::AllEntries | QDir::System))
                n += f.symLinkTarget().startsWith(dir.path());
            return n;
        };
        const QByteArray antes = Bytes(png);
        p.start(MIRAVEL_DIR_PROGRAMA "/miravel-export", argumentos);
        QTRY_VERIFY_WITH_TIMEOUT(pendientes() > 0, 60000);
        ::kill(static_cast<pid_t>(p.processId()), SIGTERM);
        int mas = 0;
        while (!p.waitForFinished(10)) mas = qMax(mas, pendientes());
        QCOMPARE(p.exitCode(), 143);
        QVERIFY2(mas < paginas / 2, qPrintable(QString("%1 pages after the signal").arg(mas)));
        QCOMPARE(Bytes(png), antes);

        // Not taken away: a page copied under another page's name, and a file of the user's.
        QFile::remove(dir.filePath("v-2.png"));
        QFile::copy(png, dir.filePath("v-2.png"));
        Pon(dir.filePath("v-3.png"), "mío");
        QCOMPARE(Exporta(kMes + QStringList{"--png", png}).estado, 0);
        QCOMPARE(QDir(dir.path()).entryList({"v*.png"}),
                 (QStringList{"v-2.png", "v-3.png", "v.png"}));
    }

    // Every format, with what a program reading it needs: the JSON's shape, an image that opens,
    // a PDF, the CSV on standard output plain UTF-8; with --detalle, the documents of a figure,
    // adding up to it.
    void everyFormat() {
        const QString d = dir.path();
        const prueba::Corrida c =
            Exporta(kMes + QStringList{"--pdf", d + "/m.pdf", "--png", d + "/m.png", "--csv", "-",
                                       "--json", d + "/m.json"});
        QCOMPARE(c.estado, 0);
        QVERIFY(c.salida.startsWith("Mes,2008,2009,% vs 2008,2010,% vs 2009,Total\r\nEne,"));
        const QJsonObject j = Json(Bytes(d + "/m.json"));
        QVERIFY(j["tieneDatos"].isNull());
        QCOMPARE(j["etiquetas"].toArray().size(), 13);
        QCOMPARE(j["seleccion"]["anio"].toString(), "2010");
        QCOMPARE(j["filas"][0].toArray().size(), j["columnas"].toArray().size());
        QVERIFY(!QImage(d + "/m.png").isNull());
        QVERIFY(Bytes(d + "/m.pdf").startsWith("%PDF"));
        const QJsonObject junio =
            Json(Exporta(kMes + QStringList{"--detalle", "--mes", "6", "--json", "-"}).salida);
        QCOMPARE(junio["total"].toDouble(), j["filas"][2][6].toDouble());
        QVERIFY(junio["detalle"].toString().contains("Año final: 2010"));
        QCOMPARE(Exporta(kMes + QStringList{"--detalle", "--csv", d + "/d.csv"}).estado, 0);
        QVERIFY(Bytes(d + "/d.csv").startsWith("\xEF\xBB\xBFTipo,Número,Fecha"));
    }

    // The workbook read by an independent reader, as a spreadsheet user would see it: numbers in
    // money format, totals as formulas over the cells, the heading frozen, a chart drawn from the
    // cells. A NUL in a name does not cut it; nothing sold gives the sentence and no chart;
    // ninety salespeople, three charts of thirty on one scale, every name shown.
    void excelWorkbook() {
        QJsonObject hoja = Libro(prueba::Conexion(base) + kMes);
        QVERIFY(Celda(hoja, "B9", "formato").contains("$"));
        QCOMPARE(Celda(hoja, "G9"), "=SUM(B9,C9,E9)");  // a row a month, a column a year
        QCOMPARE(Celda(hoja, "B19"), "=SUM(B7:B18)");
        QCOMPARE(Celda(hoja, "F19"), "=IF(ROUND(C19,2)>0,E19/C19-1,\"—\")");
        QCOMPARE(hoja["congelada"].toString(), "B7");
        QCOMPARE(hoja["graficas"][0]["series"][2]["valores"].toString(),
                 "'Ventas netas por mes'!$E$7:$E$18");
        const QString siete = "UPDATE `" + base + "`.vendedores SET Nombre=%1 WHERE Clave='7'";
        prueba::Ejecuta(siete.arg("CONCAT('Si',CHAR(0),'ete')"));
        hoja = Libro(prueba::Conexion(base) + kVendedor);
        prueba::Ejecuta(siete.arg("'Siete'"));
        QCOMPARE(Celda(hoja, "A7"), "7  Siete");
        QCOMPARE(hoja["graficas"][0]["series"][0]["categorias"].toString(),
                 "'Ventas netas por vendedor'!$A$7:$A$11");
        hoja = Libro(prueba::Conexion(base) + QStringList{"--reporte", "vendedor", "--desde",
                                                          "01/01/1990", "--hasta", "31/12/1990"});
        QCOMPARE(Celda(hoja, "A6"), "No se encontró información");
        QVERIFY(hoja["graficas"].toArray().isEmpty());
        const QJsonArray graficas =
            Libro(prueba::Conexion(prueba::BaseDeNegocio(90, 1, 1e6)) + kVendedor)["graficas"]
                .toArray();
        QCOMPARE(graficas.size(), 3);
        QCOMPARE(graficas[2]["series"][0]["categorias"].toString(),
                 "'Ventas netas por vendedor'!$A$67:$A$96");
        QCOMPARE(graficas[2]["escala"], graficas[0]["escala"]);
        QCOMPARE(graficas[2]["escala"][2].toInt(), 1);  // a label every category
    }

    // Bad arguments or input: exit 2, a sentence naming the option and the value or path, the
    // usage, nothing written and nothing touched.
    void refusals_data() {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<QString>("mensaje");
        QTest::addColumn<bool>("conConexion");
        auto fila = [](const QString& nombre, const QStringList& argumentos, const QString& mensaje,
                       bool conConexion = true) {
            QTest::newRow(qPrintable(nombre)) << argumentos << mensaje << conConexion;
        };
        fila("unknown report", {"--reporte", "anual"}, "reporte desconocido: anual");
        fila("no report", {}, "falta --reporte");
        fila("bad date", {"--reporte", "vendedor", "--desde", "31/02/2010"},
             "--desde: fecha no válida: «31/02/2010»");
        for (const char* linea : {"abc", "0x65", "nan", "101 OR 1=1", "1e400", "-3", ""})
            fila(QString("line ") + linea, {"--reporte", "vendedor", "--linea", linea},
                 QString("--linea debe ser el número entero de una línea, no «%1»").arg(linea));
        for (const char* anio : {"-5", "10000", "1", "2025.5", "2025abc", ""})
            fila(QString("year ") + anio, {"--reporte", "mes", "--anio", anio},
                 QString("--anio debe ser un año entero de 3 a 9999, no «%1»").arg(anio));
        fila("period before year 1",
             {"--reporte", "vendedor", "--desde", "01/01/0002", "--hasta", "01/02/0002"},
             "--desde: la fecha «01/01/0002»");
        fila("twelve boundaries",
             {"--reporte", "vendedor", "--desde", "01/01/2010", "--hasta", "01/01/2011"},
             "Los meses de diferencia entre ambas fechas exceden el máximo permitido");
        fila("password on the command line", {"--reporte", "mes", "--clave", "x"},
             "opción desconocida: --clave");
        fila("a value missing", {"--reporte", "mes", "--anio"}, "falta el valor de --anio");
        fila("bad kind", {"--reporte", "mes", "--ventas", "todas"}, "--ventas");
        fila("bad plan", {"--reporte", "mes", "--plan", "rapido"}, "«fiel» o «agrupado»");
        for (const char* opcion : {"--json", "--plan", "--config"})
            fila(QString("empty ") + opcion, {"--reporte", "mes", opcion, ""},
                 QString("falta el valor de %1").arg(opcion));
        fila("a month without --detalle", {"--reporte", "mes", "--mes", "3"}, "--mes se aplica");
        fila("month 13", {"--reporte", "mes", "--detalle", "--mes", "13"},
             "--mes debe ser un mes de 1 a 12, no «13»");
        fila("the documents as a PDF", {"--reporte", "mes", "--detalle", "--pdf", "x.pdf"},
             "--detalle escribe la lista de documentos");
        fila("line with mes", {"--reporte", "mes", "--linea", "3"},
             "--linea se aplica solo al reporte vendedor, no a mes");
        fila("png to standard output", {"--reporte", "mes", "--png", "-"},
             "--png escribe un archivo por página");
        fila("two to standard output", {"--reporte", "mes", "--csv", "-", "--json", "-"},
             "solo una salida puede ir a la salida estándar");
        for (const char* puerto : {"0", "abc", "65536"})
            fila(QString("port ") + puerto, {"--reporte", "mes", "--puerto", puerto},
                 QString("puerto no válido: ") + puerto);
        fila("read server's bad port", {"--reporte", "mes", "--servidor-lectura", "h:99999"},
             "debe ser un servidor y, si hace falta, dos puntos y su puerto");
        fila("read server's bad delay", {"--reporte", "mes", "--retraso-maximo-lectura", "-1"},
             "--retraso-maximo-lectura debe ser un número entero de segundos, no «-1»");
        fila("faithful plan on a read server",
             {"--reporte", "mes", "--plan", "fiel", "--servidor-lectura", "h"},
             "El plan «fiel» no puede leer las ventas en el servidor de lectura h");
        fila("missing configuration", {"--reporte", "mes", "--config", "/no/existe/Miravel.ini"},
             "no existe el archivo de configuración /no/existe/Miravel.ini", false);
        fila("a folder as configuration", {"--reporte", "mes", "--config", dir.path()}, dir.path(),
             false);
        // Paths that are not regular files, made in initTestCase.
        const QString nodos = dir.filePath("nodos");
        for (const char* nodo :
             {"fifo", "carpeta", "null", "roto.csv", "ajeno.csv", "vecino/r.csv"})
            for (const char* opcion : {"--json", "--csv"})
                fila(QString("%1 %2").arg(opcion, nodo),
                     {"--reporte", "mes", opcion, nodos + "/" + nodo},
                     QString("%1: %2/%3").arg(opcion, nodos, nodo));
        // Settings the command cannot use; it never writes them.
        fila("configuration without the host folder",
             {"--reporte", "mes", "--config", dir.filePath("sin-ruta.ini")}, "Ruta de Orvalo",
             false);
        fila("host folder that holds no host",
             {"--reporte", "mes", "--config", dir.filePath("ruta-mala.ini")},
             "debe indicarse la ruta correcta de Orvalo.", false);
        fila("a cipher that is not one", {"--reporte", "mes", "--config", malCifrado.Ini()},
             "«MySQLPassword» en " + malCifrado.Host() + "/Orvalo.ini", false);
        for (const QString host : {"vacio", "binario"})
            fila(host + " host settings",
                 {"--reporte", "mes", "--config", dir.filePath(host + ".ini")},
                 dir.filePath(host + "/Orvalo.ini") + " no dice a qué servidor", false);
        fila("a PNG page that is a FIFO", {"--reporte", "mes", "--png", dir.filePath("fifo.png")},
             "--png: " + dir.filePath("fifo-2.png"));
    }
    void refusals() {
        QFETCH(QStringList, argumentos);
        QFETCH(QString, mensaje);
        QFETCH(bool, conConexion);
        const QString nodos = dir.filePath("nodos");
        QMap<QString, QByteArray> antes;
        for (const QString& a : argumentos) {
            if (a.startsWith(nodos) && !QFileInfo(a).isSymLink() && !QFileInfo::exists(a))
                QSKIP("this machine lets no such node be made here: run as root");
            if (QFileInfo(a).isFile()) antes[a] = Bytes(a);
        }
        const mode_t fifo = Estado(nodos + "/fifo").st_mode;
        const prueba::Corrida c = conConexion ? Exporta(argumentos) : prueba::Exporta(argumentos);
        QCOMPARE(c.estado, 2);
        // Bad arguments come with the usage; a configuration that names no host, as the window
        // says it, without asking anything.
        QVERIFY2(c.error.contains(mensaje) && !c.error.contains("¿Desea") &&
                     !c.error.contains(kCifradoMalo) &&
                     (!c.error.startsWith("miravel-export: ") || c.error.contains("--reporte <")),
                 qPrintable(c.error));
        QVERIFY(c.salida.isEmpty());
        for (auto a = antes.begin(); a != antes.end(); ++a) QCOMPARE(Bytes(a.key()), a.value());
        QCOMPARE(Estado(nodos + "/fifo").st_mode, fifo);
        QVERIFY(!QFile::exists(nodos + "/no-existe.csv"));
    }

    // A failure exits with 1 and says in Spanish what happened and what to check, the server's
    // words below. A user with the rights README lists renews the templates; without one of them
    // it is told which, and the renewal leaves no table of its own.
    void failuresSaySo_data() {
        QTest::addColumn<QString>("prepara");
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<QString>("mensaje");  // empty: no failure
        const QString b = "`" + base + "`";
        const QStringList usuario = kMes + prueba::Conexion(base, {}, "miravel_exp"),
                          renueva{"--reporte", "mes", "--config", renovador.Ini()};
        QTest::newRow("missing sales table")
            << "RENAME TABLE " + b + ".remisiones TO " + b + ".remisiones_fuera" << usuario
            << "No existe la tabla «remisiones» en la base de datos «" + base + "»";
        QTest::newRow("another password")
            << "SET PASSWORD FOR miravel_exp@'127.0.0.1' = PASSWORD('otra')" << usuario
            << "no aceptó al usuario «miravel_exp»";
        QTest::newRow("refused connection")
            << "" << kMes + prueba::Conexion(base, "1", "miravel_exp")
            << "El servidor 127.0.0.1:1 rechazó la conexión";
        QTest::newRow("README's rights") << "" << renueva << "";
        QTest::newRow("no ALTER to renew")
            << "REVOKE ALTER ON orvaloreportes.* FROM miravel_exp@'127.0.0.1'" << renueva
            << "El usuario «miravel_exp» no tiene el permiso ALTER sobre la tabla "
               "orvaloreportes.ventasde3y";
        QTest::newRow("read-only server")
            << "SET GLOBAL read_only=1" << usuario
            << "El servidor 127.0.0.1:" + prueba::Puerto() + " es de solo lectura";
    }
    void failuresSaySo() {
        QFETCH(QString, prepara);
        QFETCH(QStringList, argumentos);
        QFETCH(QString, mensaje);
        prueba::Ejecuta("CREATE USER 'miravel_exp'@'127.0.0.1' IDENTIFIED BY 'S3creto!'");
        prueba::Ejecuta("GRANT SELECT, CREATE, INSERT, UPDATE, DROP ON `" + base +
                        "`.* TO miravel_exp@'127.0.0.1'");
        prueba::Ejecuta(
            "GRANT SELECT, CREATE, INSERT, ALTER, DROP ON orvaloreportes.* TO "
            "miravel_exp@'127.0.0.1'");
        if (!prepara.isEmpty()) prueba::Ejecuta(prepara);
        const prueba::Corrida c = prueba::Exporta(argumentos, "S3creto!");
        prueba::Ejecuta("SET GLOBAL read_only=0");
        QCOMPARE(c.estado, mensaje.isEmpty() ? 0 : 1);
        QVERIFY2(c.error.contains(mensaje) && !c.error.contains("S3creto!"), qPrintable(c.error));
        QCOMPARE(Restos(), 0);
    }

    // SIGINT, SIGTERM or SIGHUP in the middle of a statement: the statement stopped, no table,
    // no output file, the exit status of the signal; also once every idle session of the run has
    // expired on the server. The process, which holds the password, makes no core dump and is
    // not dumpable: its /proc entries are root's, not its group's.
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
        prueba::Lentas(base);
        const QString pdf = dir.filePath("senal.pdf");
        QProcess p;
        if (root())
            p.setChildProcessModifier([] {
                if (setgid(kOtro) != 0) _exit(126);
            });
        p.start(MIRAVEL_DIR_PROGRAMA "/miravel-export",
                prueba::Conexion(base) + kMes + QStringList{"--pdf", pdf});
        QVERIFY(p.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(prueba::TablasDeTrabajo(base), 1, 10000);
        const QString proceso = QString("/proc/%1/").arg(p.processId());
        QVERIFY(Bytes(proceso + "limits").simplified().contains("Max core file size 0 0"));
        QCOMPARE(Estado(proceso + "environ").st_gid, gid_t(0));
        QTest::qWait(espera);
        QElapsedTimer reloj;
        reloj.start();
        ::kill(static_cast<pid_t>(p.processId()), senal);
        QVERIFY(p.waitForFinished(10000));
        qInfo("Ended %lld ms after the signal", reloj.elapsed());
        QCOMPARE(p.exitCode(), estado);
        QVERIFY(!QFile::exists(pdf));
    }

    // A signal while the templates are renewed lets the renewal end in order; a run killed in
    // the middle leaves tables the next run drops, once their owner's session is gone.
    void renewalInterrupted() {
        prueba::Programa viejo;
        viejo.Configura(base, "5.10.0");  // an old host version: the templates are renewed
        const QStringList argumentos{"--reporte", "mes", "--config", viejo.Ini()};
        QCOMPARE(prueba::Exporta(argumentos).estado, 0);
        for (int senal : {SIGTERM, SIGKILL}) {
            ado::Connection cerrojo;
            cerrojo.Open("127.0.0.1", prueba::Puerto(), "root", "", "orvaloreportes");
            cerrojo.Execute("LOCK TABLES ventasde3y READ");
            QProcess p;
            p.start(MIRAVEL_DIR_PROGRAMA "/miravel-export",
                    argumentos + QStringList{"--json", dir.filePath("r.json")});
            QVERIFY(p.waitForStarted());
            QString sesion;
            QTRY_VERIFY_WITH_TIMEOUT(
                !(sesion = prueba::Valor("SELECT ID FROM information_schema.PROCESSLIST WHERE "
                                         "INFO LIKE 'Rename table ventasde3y to %'")
                               .toString())
                     .isEmpty(),
                10000);
            ::kill(static_cast<pid_t>(p.processId()), senal);
            QTRY_COMPARE_WITH_TIMEOUT(p.state(), QProcess::Running, 10000);
            cerrojo.Execute("UNLOCK TABLES");
            QTRY_COMPARE_WITH_TIMEOUT(p.state(), QProcess::NotRunning, 10000);
            if (senal == SIGTERM) {
                QCOMPARE(p.exitCode(), 143);
            } else {
                QTRY_COMPARE(
                    prueba::Valor("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE ID=" +
                                  sesion)
                        .toInt(),
                    0);
                QCOMPARE(prueba::Exporta(argumentos).estado, 0);
            }
            QCOMPARE(Restos(), 0);
            QVERIFY(!QFile::exists(dir.filePath("r.json")));
        }
    }

    // The command reads the program's configuration and its optional keys, and writes neither
    // it nor the host's settings, whoever owns them; the window completes the host's file line
    // by line, keeping its owner, mode and code page. Both files are read as the host writes
    // them on Windows: in its code page, CR LF, its ciphers made of that code page's bytes.
    void settingsReadNeverWritten() {
        prueba::Programa p;
        p.Configura(base);
        const QString host = p.Host() + "/Orvalo.ini";
        // "; configuración" and the user "raíz", enciphered, in Latin-1.
        const QByteArray ajustes =
            Bytes(host).replace("\n", "\r\n") + "; configuraci\xf3n\r\nMySQLUsuario=~3D0CA546\r\n";
        Pon(host, ajustes);
        const QByteArray ini = QString::fromUtf8(Bytes(p.Ini()) + "Plan de consultas=fiel\n")
                                   .toLatin1()
                                   .replace("\n", "\r\n");
        Pon(p.Ini(), ini);
        for (const QString& f : {host, p.Ini()}) {
            if (root()) chown(QFile::encodeName(f), kOtro, kOtro);
            chmod(QFile::encodeName(f), 0604);
        }
        const prueba::Corrida c = prueba::Exporta(
            kMes + QStringList{"--config", p.Ini(), "--usuario", "root", "--json", "-"});
        QVERIFY2(c.estado == 0 && Json(c.salida)["filas"].toArray().size() == 3,
                 qPrintable(c.error));
        QCOMPARE(Bytes(host), ajustes);
        QCOMPARE(Bytes(p.Ini()), ini);

        QVERIFY(p.LeeAjustes());
        QCOMPARE(oBasesDD->cUsuario, "raíz");
        // The completed key follows, in the file's own line ending.
        QCOMPARE(Bytes(host), ajustes + "MySQLPassword=~\r\n");
        if (!root()) return;
        QCOMPARE(Estado(host).st_uid, kOtro);
        QCOMPARE(Estado(host).st_gid, gid_t(kOtro));
        QCOMPARE(Estado(host).st_mode & 07777, mode_t(0604));
    }

    // No byte of an image reaches the file unset: the memory checker sees none.
    void pngHoldsOnlyPaintedBytes() {
        if (kAddressSanitizer) QSKIP("built with AddressSanitizer, which valgrind cannot run");
        QProcess p;
        p.start("/usr/bin/valgrind",
                QStringList{"--error-exitcode=9", MIRAVEL_DIR_PROGRAMA "/miravel-export"} +
                    prueba::Conexion(base) + kMes + QStringList{"--png", dir.filePath("vg.png")});
        QVERIFY(p.waitForFinished(300000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().right(3000).constData());
    }

    // A link to a file is written through and stays a link, the file keeping its mode. A user
    // who may write a file of his group's but not give files away replaces it as his own, in
    // its group and with its mode.
    void linksAreWrittenThrough() {
        const QString destino = dir.filePath("destino.csv"), enlace = dir.filePath("enlace.csv");
        Pon(destino, "viejo");
        chmod(QFile::encodeName(destino), 0640);
        QFile::link(destino, enlace);
        QCOMPARE(Exporta(kMes + QStringList{"--csv", enlace}).estado, 0);
        QVERIFY(QFileInfo(enlace).isSymLink());
        QVERIFY(Bytes(destino).startsWith("\xEF\xBB\xBF"));
        QCOMPARE(Estado(destino).st_mode & 07777, mode_t(0640));

        if (!root()) return;
        QTemporaryDir compartida;
        const QString suyo = compartida.filePath("r.csv");
        Pon(suyo, "viejo");
        for (const QString& f : {compartida.path(), suyo}) {
            chown(QFile::encodeName(f), f == suyo ? kOtro : 0, kNadie);
            chmod(QFile::encodeName(f), f == suyo ? 0664 : 0775);
        }
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        entorno.remove("XDG_RUNTIME_DIR");  // the test's own, not his
        const prueba::Corrida c =
            prueba::Exporta(prueba::Conexion(base) + kMes + QStringList{"--csv", suyo}, {}, entorno,
                            120000, kNadie);
        QVERIFY2(c.estado == 0, qPrintable(c.error));
        QVERIFY(Bytes(suyo).startsWith("\xEF\xBB\xBF"));
        QCOMPARE(Estado(suyo).st_uid, kNadie);
        QCOMPARE(Estado(suyo).st_gid, kNadie);
        QCOMPARE(Estado(suyo).st_mode & 07777, mode_t(0664));
    }

    // Two outputs, the second in each format on a full file system, or on a file that cannot be
    // replaced (a mount point): the command fails naming it, neither target changes, nothing is
    // left.
    void oneFailureChangesNoTarget_data() {
        QTest::addColumn<QString>("estorbo");
        QTest::addColumn<QString>("formato");
        for (const char* formato : {"pdf", "png", "xlsx", "json"})
            QTest::addRow("full, %s", formato) << "dd if=/dev/zero of=relleno" << formato;
        QTest::newRow("mount point") << "cp r.json tapa && mount --bind tapa r.json"
                                     << "json";
    }
    void oneFailureChangesNoTarget() {
        QFETCH(QString, estorbo);
        QFETCH(QString, formato);
        const QString lleno = dir.filePath("lleno"), destino = lleno + "/r." + formato;
        QDir().mkpath(lleno);
        if (!root() ||
            QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", lleno}) != 0)
            QSKIP("no small file system can be mounted here");
        Pon(destino, "{}");
        QProcess::execute("sh", {"-c", "cd " + lleno + " && " + estorbo + " 2>/dev/null"});
        Pon(dir.filePath("r.csv"), "viejo");
        const prueba::Corrida c =
            Exporta(kMes + QStringList{"--csv", dir.filePath("r.csv"), "--" + formato, destino});
        const QByteArray csv = Bytes(dir.filePath("r.csv")), anterior = Bytes(destino);
        QStringList restos;  // nothing of ours beside the targets: no temporary file
        for (const QString& carpeta : {dir.path(), lleno})
            restos << QDir(carpeta).entryList(QDir::Hidden | QDir::Files | QDir::NoDotAndDotDot);
        QProcess::execute("sh", {"-c", "umount " + destino + " 2>/dev/null; umount " + lleno});
        QCOMPARE(c.estado, 1);
        QVERIFY2(c.error.contains("error 75") && c.error.contains(destino), qPrintable(c.error));
        QCOMPARE(csv, QByteArray("viejo"));
        QCOMPARE(anterior, QByteArray("{}"));
        QCOMPARE(restos.filter(QRegularExpression("^\\.")), QStringList());
    }

    // The command's runtime folder cannot be planted: a link where a fixed name would be is left
    // alone, and the folder it made is gone at exit. Those a killed run left (a process that is
    // no more) are removed, only if they are our user's.
    void runtimeFolderIsPrivate() {
        QTemporaryDir temporal, ajena;
        chmod(QFile::encodeName(ajena.path()), 0755);
        QFile::link(ajena.path(),
                    temporal.filePath("miravel-runtime-" + QString::number(getuid())));
        const QString vivo = QString("miravel-runtime-%1-vivo00").arg(getpid()),
                      otro = "miravel-runtime-2147483646-otro00";
        for (const QString& carpeta : {vivo, otro, QString("miravel-runtime-2147483646-muerto")})
            QDir(temporal.path()).mkpath(carpeta + "/wayland-0");
        if (root()) chown(QFile::encodeName(temporal.filePath(otro)), kOtro, kOtro);
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        entorno.remove("XDG_RUNTIME_DIR");
        entorno.insert("TMPDIR", temporal.path());
        QCOMPARE(prueba::Exporta(
                     prueba::Conexion(base) + kMes + QStringList{"--json", dir.filePath("t.json")},
                     {}, entorno)
                     .estado,
                 0);
        QCOMPARE(Estado(ajena.path()).st_mode & 07777, mode_t(0755));
        QStringList quedan{"miravel-runtime-" + QString::number(getuid()), vivo};
        if (root()) quedan << otro;
        quedan.sort();
        QCOMPARE(QDir(temporal.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), quedan);
    }
};

PRUEBA_MAIN(tst_exporta)
#include "tst_exporta.moc"
