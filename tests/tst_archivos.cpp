// What the program may write: only the outputs asked for, where they were asked, whole or not at
// all; never the settings of a scheduled job. The test runs as root to make nodes, give files to
// other users and mount a small file system; elsewhere those cases are skipped.
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QImage>
#include <QProcess>
#include <QtTest>

#include "Prueba.h"
#include "app/ParaPluginsPortables.h"
#include "app/Principal.h"
#include "reportdata/Globales.h"

namespace {
const uid_t kOtro = 4321;  // a user that is neither the test nor the folder's owner
#ifdef __SANITIZE_ADDRESS__
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

struct stat Estado(const QString& ruta) {
    struct stat s {};
    lstat(QFile::encodeName(ruta).constData(), &s);
    return s;
}
QByteArray Bytes(const QString& archivo) {
    QFile f(archivo);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}
void Pon(const QString& archivo, const QByteArray& datos) {
    QFile f(archivo);
    f.open(QIODevice::WriteOnly);
    f.write(datos);
}
}  // namespace

class tst_archivos : public QObject {
    Q_OBJECT
    QString base;
    QTemporaryDir dir;

    struct Corrida {
        int estado;
        QString error;
        QByteArray salida;
    };
    Corrida Exporta(const QStringList& argumentos, bool conexion = true,
                    const QProcessEnvironment& entorno = QProcessEnvironment::systemEnvironment()) {
        QProcess p;
        p.setProcessEnvironment(entorno);
        p.start(MIRAVEL_DIR_PROGRAMA "/miravel-export",
                (conexion ? QStringList{"--servidor", "127.0.0.1", "--puerto", prueba::Puerto(),
                                        "--usuario", "root", "--base", base}
                          : QStringList{}) +
                    QStringList{"--reporte", "mes", "--anio", "2010"} + argumentos);
        p.waitForFinished(120000);
        return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardError()),
                p.readAllStandardOutput()};
    }
    // Nothing of ours left beside the targets: no temporary file.
    QStringList Ocultos(const QString& carpeta) {
        return QDir(carpeta)
            .entryList(QDir::Hidden | QDir::Files | QDir::NoDotAndDotDot)
            .filter(QRegularExpression("^\\."));
    }

  private slots:
    void initTestCase() {
        if (geteuid() != 0) QSKIP("these cases give files to other users: run as root");
        base = prueba::BaseConFixture();
    }

    // First, while no other child has run: getrusage gives the largest child's peak.
    void pngPagesKeepMemoryFlat() {
        const QString ventas = prueba::BaseDeVentas();
        prueba::Ejecuta("INSERT INTO `" + ventas +
                        "`.vendedores SELECT seq, CONCAT('Vendedor ', seq) FROM seq_1_to_1000");
        prueba::Ejecuta("INSERT INTO `" + ventas +
                        "`.facturas SELECT seq, '2010-06-01', NULL, seq, seq, 0, 0 "
                        "FROM seq_1_to_1000");
        prueba::Ejecuta("INSERT INTO `" + ventas +
                        "`.facturasdetalle (Id, Producto, Cantidad, PrecioNeto, IVA) "
                        "SELECT seq, 'P', 1, seq, 0 FROM seq_1_to_1000");
        const QString png = dir.filePath("v.png");
        base = ventas;
        const Corrida c = Exporta({"--reporte", "vendedor", "--desde", "01/01/2010", "--hasta",
                                   "31/12/2010", "--png", png});
        base = prueba::BaseConFixture();
        QCOMPARE(c.estado, 0);
        struct rusage uso {};
        getrusage(RUSAGE_CHILDREN, &uso);
        const QStringList paginas = QDir(dir.path()).entryList({"v*.png"});
        qInfo("%lld pages; the command's peak memory: %ld MB", qlonglong(paginas.size()),
              uso.ru_maxrss / 1024);
        QVERIFY(paginas.size() > 20);
        const QImage primera(png), ultima(dir.filePath(QString("v-%1.png").arg(paginas.size())));
        QCOMPARE(ultima.size(), primera.size());
        QVERIFY(primera.width() < primera.height() * 2);  // a page, not a strip of pages
        // AddressSanitizer holds freed memory back, so the peak says nothing there.
        QVERIFY2(kAddressSanitizer || uso.ru_maxrss < 150 * 1024, "memory grows with the pages");
    }

    // No byte of an image reaches the file unset: the memory checker sees none.
    void pngHoldsOnlyPaintedBytes() {
        if (kAddressSanitizer) QSKIP("built with AddressSanitizer, which valgrind cannot run");
        if (!QFile::exists("/usr/bin/valgrind")) QSKIP("valgrind is not installed");
        QProcess p;
        p.start("/usr/bin/valgrind",
                {"--error-exitcode=9", MIRAVEL_DIR_PROGRAMA "/miravel-export", "--servidor",
                 "127.0.0.1", "--puerto", prueba::Puerto(), "--usuario", "root", "--base", base,
                 "--reporte", "mes", "--anio", "2010", "--png", dir.filePath("vg.png")});
        QVERIFY(p.waitForFinished(300000));
        const QByteArray informe = p.readAllStandardError();
        QVERIFY2(p.exitCode() == 0, informe.right(3000).constData());
    }

    // A device, a FIFO, a socket or a folder is refused before any work and stays as it was.
    void nodesThatAreNotFilesAreRefused() {
        const QString nodos = dir.filePath("nodos");
        QDir().mkpath(nodos);
        const QByteArray dispositivo = QFile::encodeName(nodos + "/null");
        const bool hayDispositivo = mknod(dispositivo, S_IFCHR | 0666, makedev(1, 3)) == 0;
        mkfifo(QFile::encodeName(nodos + "/fifo"), 0600);
        QDir(nodos).mkdir("carpeta");
        QStringList rutas{nodos + "/fifo", nodos + "/carpeta"};
        if (hayDispositivo) rutas << nodos + "/null";
        for (const QString& ruta : rutas) {
            const mode_t antes = Estado(ruta).st_mode;
            for (const char* opcion : {"--json", "--csv"}) {
                const Corrida c = Exporta({opcion, ruta});
                QCOMPARE(c.estado, 2);
                QVERIFY2(c.error.contains(QString(opcion) + ": " + ruta), qPrintable(c.error));
                QCOMPARE(Estado(ruta).st_mode, antes);
            }
        }
        if (!hayDispositivo) QSKIP("this machine lets no device node be made: checked the rest");
    }

    // "-" is standard output, for one output only.
    void dashIsStandardOutput() {
        Corrida c = Exporta({"--csv", "-"});
        QCOMPARE(c.estado, 0);
        QVERIFY(c.salida.startsWith("Año,Ene,Feb,Mar"));
        c = Exporta({"--csv", "-", "--json", "-"});
        QCOMPARE(c.estado, 2);
        QVERIFY(c.salida.isEmpty());
    }

    // A link to a file is written through and stays a link; a dangling link and a stranger's
    // link in a shared sticky folder are refused.
    void links() {
        const QString compartida = dir.filePath("compartida");
        QDir().mkpath(compartida + "/destino");
        chmod(QFile::encodeName(compartida), 01777);
        const QString destino = compartida + "/destino/r.csv", enlace = compartida + "/r.csv";
        Pon(destino, "viejo");
        chmod(QFile::encodeName(destino), 0640);
        QFile::link(destino, enlace);
        QCOMPARE(Exporta({"--csv", enlace}).estado, 0);
        QVERIFY(QFileInfo(enlace).isSymLink());
        QVERIFY(
            Bytes(destino).startsWith("\xEF\xBB\xBF"
                                      "Año,"));
        QCOMPARE(Estado(destino).st_mode & 07777, mode_t(0640));
        QVERIFY(Ocultos(compartida + "/destino").isEmpty());

        QVERIFY(lchown(QFile::encodeName(enlace), kOtro, kOtro) == 0);
        Corrida c = Exporta({"--csv", enlace});
        QCOMPARE(c.estado, 2);
        QVERIFY2(c.error.contains("--csv: " + enlace), qPrintable(c.error));

        QFile::link(compartida + "/no-existe.csv", dir.filePath("roto.csv"));
        c = Exporta({"--json", dir.filePath("roto.csv")});
        QCOMPARE(c.estado, 2);
        QVERIFY(!QFile::exists(compartida + "/no-existe.csv"));
    }

    // Two outputs, the second on a full file system: neither target changes, nothing is left.
    void oneFailureChangesNoTarget() {
        const QString lleno = dir.filePath("lleno");
        QDir().mkpath(lleno);
        if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", lleno}) != 0)
            QSKIP("this machine lets no small file system be mounted here");
        Pon(lleno + "/r.json", "{}");
        QProcess::execute("sh", {"-c", "dd if=/dev/zero of=" + lleno + "/relleno 2>/dev/null"});
        Pon(dir.filePath("r.csv"), "viejo");
        const Corrida c = Exporta({"--csv", dir.filePath("r.csv"), "--json", lleno + "/r.json"});
        const QByteArray csv = Bytes(dir.filePath("r.csv")), json = Bytes(lleno + "/r.json");
        const QStringList restos = Ocultos(dir.path()) + Ocultos(lleno);
        QProcess::execute("umount", {lleno});
        QCOMPARE(c.estado, 1);
        QVERIFY2(c.error.contains("error 75") && c.error.contains(lleno + "/r.json"),
                 qPrintable(c.error));
        QCOMPARE(csv, QByteArray("viejo"));
        QCOMPARE(json, QByteArray("{}"));
        QCOMPARE(restos, QStringList());
    }

    // The command's runtime folder cannot be planted: a link where a fixed name would be
    // is left alone, and the folder it made is gone at exit.
    void runtimeFolderIsPrivate() {
        QTemporaryDir temporal, ajena;
        chmod(QFile::encodeName(ajena.path()), 0755);
        QFile::link(ajena.path(),
                    temporal.filePath("miravel-runtime-" + QString::number(getuid())));
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        entorno.remove("XDG_RUNTIME_DIR");
        entorno.insert("TMPDIR", temporal.path());
        QCOMPARE(Exporta({"--json", dir.filePath("t.json")}, true, entorno).estado, 0);
        const mode_t mascara = umask(0);
        umask(mascara);
        QCOMPARE(Estado(dir.filePath("t.json")).st_mode & 0777, 0666 & ~mascara);  // a new file
        QCOMPARE(Estado(ajena.path()).st_mode & 07777, mode_t(0755));
        QCOMPARE(QDir(temporal.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"miravel-runtime-" + QString::number(getuid())});
    }

    // The command reads the settings of other users' files and writes none of them; the window
    // completes the host's file line by line, keeping its owner, mode and code page.
    void settingsOfOtherUsers() {
        prueba::Programa p;
        p.Configura(base);
        const QString host = p.Host() + "/Orvalo.ini";
        // Written on Windows in its code page: "; configuración" in Latin-1, CR LF.
        const QByteArray ajustes = Bytes(host).replace("\n", "\r\n") + "; configuraci\xf3n\r\n";
        Pon(host, ajustes);
        for (const QString& f : {host, p.Ini()}) {
            chown(QFile::encodeName(f), kOtro, kOtro);
            chmod(QFile::encodeName(f), 0604);
        }
        const QByteArray ini = Bytes(p.Ini());
        QCOMPARE(Exporta({"--config", p.Ini(), "--json", dir.filePath("c.json")}, false).estado, 0);
        QCOMPARE(Bytes(host), ajustes);
        QCOMPARE(Bytes(p.Ini()), ini);
        QCOMPARE(Estado(host).st_uid, kOtro);

        CreaObjetos();
        cArchivoIni = p.Ini();
        QVERIFY(LeeConfiguracion(*oLibreria, *oRegistro, *oBasesDD, cArchivoIni));
        QCOMPARE(oBasesDD->cUsuario, "root");
        // The completed keys follow, each in the file's own line ending.
        const QByteArray completo = Bytes(host);
        QVERIFY2(completo.startsWith(ajustes) &&
                     QRegularExpression("^MySQLUsuario=~[0-9A-F]+\r\nMySQLPassword=~\r\n$")
                         .match(QString::fromLatin1(completo.mid(ajustes.size())))
                         .hasMatch(),
                 completo.constData());
        QCOMPARE(Estado(host).st_uid, kOtro);
        QCOMPARE(Estado(host).st_gid, gid_t(kOtro));
        QCOMPARE(Estado(host).st_mode & 07777, mode_t(0604));
    }

    // A settings file the command cannot use is bad input naming it, and stays as it was.
    void unusableSettingsAreExitTwo() {
        prueba::Programa p;
        p.Configura(base);
        const QByteArray sinRuta = "[Configuraci\xf3n]\nBase de datos a usar=x\n";
        Pon(p.Ini(), sinRuta);
        Corrida c = Exporta({"--config", p.Ini()}, false);
        QCOMPARE(c.estado, 2);
        QVERIFY2(c.error.contains(p.Ini()) && c.error.contains("Ruta de Orvalo"),
                 qPrintable(c.error));
        QCOMPARE(Bytes(p.Ini()), sinRuta);

        c = Exporta({"--config", p.Carpeta()}, false);
        QCOMPARE(c.estado, 2);
        QVERIFY2(c.error.contains(p.Carpeta()), qPrintable(c.error));

        p.Configura(base);
        Pon(p.Host() + "/Orvalo.ini", Bytes(p.Host() + "/Orvalo.ini") + "MySQLUsuario=~zz\n");
        c = Exporta({"--config", p.Ini()}, false);
        QCOMPARE(c.estado, 2);
        QVERIFY2(c.error.contains("MySQLUsuario") && c.error.contains(p.Host() + "/Orvalo.ini"),
                 qPrintable(c.error));
    }
};

QTEST_MAIN(tst_archivos)
#include "tst_archivos.moc"
