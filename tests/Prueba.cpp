#include "Prueba.h"

#include <grp.h>
#include <unistd.h>

#include "app/ParaPluginsPortables.h"
#include "app/Principal.h"
#include "platform/ado/Connection.h"
#include "platform/vb/App.h"
#include "reportdata/Globales.h"
#include "reportdata/Plantillas.h"
#include "ui/menu/frmMenu.h"

namespace prueba {
namespace {

ado::Connection& Admin() {
    // Outlives the tests; closed by the routine that drops their databases.
    static auto* conexion = new ado::Connection;
    if (!conexion->IsOpen()) conexion->Open("127.0.0.1", Puerto(), "root", "", {});
    return *conexion;
}

QStringList& Creadas() {
    static QStringList bases;
    static bool registrado = false;
    if (!registrado) {
        registrado = true;
        qAddPostRoutine([] {
            for (const QString& b : Creadas())
                Admin().Execute("DROP DATABASE IF EXISTS `" + b + "`");
            Admin().Close();
        });
    }
    return bases;
}

}  // namespace

int Cajas::Show(const QString& prompt, int buttons, const QString&) {
    vistos << Mensaje{prompt, buttons};
    return respuestas.isEmpty() ? ((buttons & vbYesNo) ? vbNo : vbOK) : respuestas.takeFirst();
}

int Corre(QObject& caso, int argc, char** argv) {
    if (argc > 1) return QTest::qExec(&caso, argc, argv);
    static const QStringList kMarco{"initTestCase", "cleanupTestCase", "init", "cleanup"};
    QStringList funciones;
    const QMetaObject* meta = caso.metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod m = meta->method(i);
        const QString nombre = QString::fromLatin1(m.name());
        if (m.methodType() == QMetaMethod::Slot && m.access() == QMetaMethod::Private &&
            m.parameterCount() == 0 && !kMarco.contains(nombre) && !nombre.endsWith("_data"))
            funciones << nombre;
    }
    QTemporaryDir carpeta;
    const QString tap = carpeta.filePath("resultados.tap");
    int estado = 0;
    while (!funciones.isEmpty()) {
        try {
            return estado |
                   QTest::qExec(
                       &caso, QStringList{argv[0], "-o", tap + ",tap", "-o", "-,txt"} + funciones);
        } catch (...) {
            // The last result QtTest wrote is the function that threw.
            static const QRegularExpression resultado("^(?:not )?ok \\d+ - (\\w+)\\(",
                                                      QRegularExpression::MultilineOption);
            QString ultima;
            for (auto m = resultado.globalMatch(QString::fromUtf8(Bytes(tap))); m.hasNext();)
                ultima = m.next().captured(1);
            estado = 1;
            const int hecha = funciones.indexOf(ultima);
            if (hecha < 0) return estado;  // it threw outside a test function
            funciones = funciones.mid(hecha + 1);
        }
    }
    return estado;
}

QByteArray Bytes(const QString& archivo) {
    QFile f(archivo);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Pon(const QString& archivo, const QByteArray& datos) {
    QFile f(archivo);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(datos);
}

QString DelEntorno(const QString& archivo, const QByteArray& clave) {
    for (const QByteArray& linea : Bytes(archivo).split('\n'))
        if (linea.startsWith(clave + "="))
            return QString::fromLatin1(linea.mid(linea.indexOf('=') + 1));
    return {};
}

namespace {
// The servers ctest's fixture started (scripts/servidor-prueba): the common one, unless the test
// names the file of its own.
QString Entorno(const QByteArray& clave) {
    const QString archivo = qEnvironmentVariable("MIRAVEL_PRUEBA_ENTORNO",
                                                 MIRAVEL_DIR_PROGRAMA "/servidor-prueba/entorno");
    const QString valor = DelEntorno(archivo, clave);
    if (valor.isEmpty()) qFatal("no test server: run the tests through ctest or scripts/test");
    return valor;
}
}  // namespace

QString Puerto() {
    static const QString puerto = qEnvironmentVariableIsSet("MIRAVEL_PRUEBA_PUERTO")
                                      ? qEnvironmentVariable("MIRAVEL_PRUEBA_PUERTO")
                                      : Entorno("MIRAVEL_PRUEBA_PUERTO");
    return puerto;
}

QString Puerto2() {
    static const QString puerto = Entorno("MIRAVEL_PRUEBA_PUERTO2");
    return puerto;
}

void Ejecuta(const QString& sql) {
    Admin().Execute(sql);
}

QVariant Valor(const QString& sql, int columna) {
    QSqlQuery q = Admin().Query(sql);
    return q.next() ? q.value(columna) : QVariant();
}

void EjecutaArchivo(const QString& archivo, const QString& base) {
    if (!QFileInfo(archivo).isReadable()) qFatal("cannot read %s", qPrintable(archivo));
    if (!base.isEmpty()) Ejecuta("USE `" + base + "`");
    QString texto;
    for (const QString& linea : QString::fromUtf8(Bytes(archivo)).split('\n'))
        if (!linea.trimmed().startsWith("--")) texto += linea + "\n";
    for (const QString& sentencia : texto.split(";\n"))
        if (!sentencia.trimmed().isEmpty()) Ejecuta(sentencia);
}

QString BaseNueva(const QString& prefijo) {
    static QAtomicInt n;
    const QString nombre = QString("%1_%2_%3")
                               .arg(prefijo)
                               .arg(QCoreApplication::applicationPid())
                               .arg(n.fetchAndAddRelaxed(1));
    Ejecuta("DROP DATABASE IF EXISTS `" + nombre + "`");
    Ejecuta("CREATE DATABASE `" + nombre + "`");
    Creadas() << nombre;
    return nombre;
}

QString BaseDeVentas() {
    const QString base = BaseNueva("ventas");
    EjecutaArchivo(MIRAVEL_DIR_FUENTES "/demo/esquema.sql", base);
    // The report database with all its templates, as a first start leaves it.
    EjecutaArchivo(MIRAVEL_DIR_FUENTES "/demo/orvaloreportes.sql");
    Ejecuta("USE orvaloreportes");
    Ejecuta(reportdata::CreaVentasde3y());
    Ejecuta(reportdata::CreaVentasde3yporvend());
    return base;
}

frmMenu* Menu() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* menu = qobject_cast<frmMenu*>(w)) return menu;
    return nullptr;
}

QString BaseConFixture() {
    const QString base = BaseDeVentas();
    EjecutaArchivo(MIRAVEL_DIR_FUENTES "/tests/fixtures/ventas.sql", base);
    return base;
}

QString BaseDeNegocio(int vendedores, int lineas, double mes) {
    const QString base = BaseDeVentas();
    // %1 salespeople, %2 lines; each product's price in a month the month's share, in cents.
    const QString script =
        QString(
            "INSERT INTO $.vendedores SELECT CONCAT('V', LPAD(seq, 2, '0')), CONCAT_WS(' ', "
            "ELT(1 + seq % 5, 'María Guadalupe', 'José Luis', 'Ana', 'Juan Carlos', 'Rosa'), "
            "ELT(1 + seq % 4, 'Hernández', 'de la Garza', 'Villarreal', 'Martínez'), "
            "ELT(1 + seq % 3, 'Treviño', 'Montemayor', 'Sánchez')) FROM seq_1_to_%1;\n"
            "INSERT INTO $.clientes SELECT CONCAT('C', seq), '', CONCAT('V', LPAD(seq, 2, '0')) "
            "FROM seq_1_to_%1;\n"
            "INSERT INTO $.lineas SELECT seq, CONCAT(ELT(1 + seq % 4, "
            "'Abrasivos, discos de corte y desbaste', 'Impermeabilizantes y selladores finos', "
            "'Tornillería, tuercas, rondanas, pijas', 'Material eléctrico, cables, contactos'), "
            "' ', LPAD(seq, 2, '0')) FROM seq_1_to_%2;\n"
            "INSERT INTO $.productos SELECT CONCAT('P', seq), '', NULLIF(seq, 0) FROM "
            "seq_0_to_%2;\n"
            "INSERT INTO $.facturas SELECT mes.seq * 1000 + v.seq, '2008-01-15' + INTERVAL "
            "mes.seq MONTH, CONCAT('C', v.seq), IF(v.seq > %1, NULL, CONCAT('V', LPAD(v.seq, 2, "
            "'0'))), TRUNCATE(%3 * ELT(1 + mes.seq DIV 12, 0.25, 0.5, 1) / (%1 + 1) / (%2 + 1), "
            "2) * (%2 + 1), 0, 0 FROM seq_0_to_35 mes, seq_1_to_%4 v;\n"
            "INSERT INTO $.facturasdetalle (Id, Producto, Cantidad, PrecioNeto, IVA) SELECT Id, "
            "CONCAT('P', p.seq), 1, Subtotal / (%2 + 1), 0 FROM $.facturas, seq_0_to_%2 p")
            .arg(vendedores)
            .arg(lineas)
            .arg(mes, 0, 'f', 2)
            .arg(vendedores + 1);
    for (const QString& sql : script.split(";\n"))
        Ejecuta(QString(sql).replace("$", "`" + base + "`"));
    return base;
}

QStringList Conexion(const QString& base, const QString& puerto, const QString& usuario) {
    return {"--servidor", "127.0.0.1", "--puerto", puerto.isEmpty() ? Puerto() : puerto,
            "--usuario",  usuario,     "--base",   base};
}

Corrida Exporta(const QStringList& argumentos, const QString& clave, QProcessEnvironment entorno,
                int espera, uid_t como) {
    entorno.remove("MIRAVEL_CLAVE");
    if (!clave.isEmpty()) entorno.insert("MIRAVEL_CLAVE", clave);
    QString programa = MIRAVEL_DIR_PROGRAMA "/miravel-export";
    // Another user may not reach the build folder (a clone under /root): he runs a copy of
    // the command, our library and the templates from a folder anyone may read.
    QTemporaryDir alcance;
    QProcess p;
    if (como) {
        QFile::setPermissions(alcance.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                  QFile::ExeOwner | QFile::ReadOther |
                                                  QFile::ExeOther | QFile::ReadGroup |
                                                  QFile::ExeGroup);
        for (const QString& f :
             QDir(MIRAVEL_DIR_PROGRAMA).entryList({"*.so", "*.rpt"}, QDir::Files))
            QFile::copy(MIRAVEL_DIR_PROGRAMA "/" + f, alcance.filePath(f));
        QFile::copy(programa, alcance.filePath("miravel-export"));
        programa = alcance.filePath("miravel-export");
        p.setChildProcessModifier([como] {
            if (setgroups(0, nullptr) != 0 || setgid(como) != 0 || setuid(como) != 0) _exit(126);
        });
    }
    p.setProcessEnvironment(entorno);
    p.start(programa, argumentos);
    Corrida c;
    if (!p.waitForStarted(espera)) {
        c.error = "miravel-export did not start: " + p.errorString();
        return c;
    }
    if (!p.waitForFinished(espera)) {
        p.kill();
        p.waitForFinished();
        c.error = "miravel-export did not end in " + QString::number(espera) + " ms: ";
    } else {
        c.estado = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    c.error += QString::fromLocal8Bit(p.readAllStandardError());
    c.salida = p.readAllStandardOutput();
    return c;
}

QString TextoPdf(const QString& pdf, const QStringList& opciones) {
    QProcess p;
    p.start("pdftotext", opciones + QStringList{pdf, "-"});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

int TablasDeTrabajo(const QString& base) {
    return Valor("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA='" + base +
                 "' AND TABLE_NAME LIKE 'tbltemp%'")
        .toInt();
}

bool ExisteTabla(const QString& base, const QString& tabla) {
    return Valor("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA='" + base +
                 "' AND TABLE_NAME='" + tabla + "'")
               .toInt() > 0;
}

void Lentas(const QString& base, const QStringList& tablas) {
    for (const QString& t : tablas) {
        const QString tabla = "`" + base + "`." + t;
        Ejecuta("RENAME TABLE " + tabla + " TO " + tabla + "_datos");
        Ejecuta("CREATE VIEW " + tabla + " AS SELECT * FROM " + tabla + "_datos WHERE SLEEP(4)=0");
    }
}

void Repone(const QString& base) {
    for (const QString t : {"facturas", "remisiones", "facturasdetalle"}) {
        const QString tabla = "`" + base + "`." + t;
        if (ExisteTabla(base, t + "_datos")) {
            Ejecuta("DROP VIEW " + tabla);
            Ejecuta("RENAME TABLE " + tabla + "_datos TO " + tabla);
        }
        if (ExisteTabla(base, t + "_fuera"))
            Ejecuta("RENAME TABLE " + tabla + "_fuera TO " + tabla);
    }
}

Programa::Programa(bool conBiblioteca)
    : carpetaAnterior_(App::Path()), interior_(oLibreria != nullptr) {
    QDir programa(MIRAVEL_DIR_PROGRAMA);
    QStringList archivos = programa.entryList({"*.rpt"});
    if (conBiblioteca) archivos << "libtramo5.so";
    for (const QString& a : archivos) QFile::link(programa.filePath(a), dir_.filePath(a));
    QDir().mkpath(Host());
    App::SetPath(Carpeta());
}

Programa::~Programa() {
    QList<QPointer<QWidget>> ventanas;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!w->parentWidget()) ventanas << w;
    for (const QPointer<QWidget>& w : ventanas) delete w.data();
    if (!interior_) LiberaObjetos();
    App::SetPath(interior_ ? carpetaAnterior_ : QString());
}

void Programa::Configura(const QString& base, const QString& version) {
    Pon(Ini(),
        ("[Configuración]\nRuta de Orvalo=" + Host() + "\nBase de datos a usar=" + base + "\n")
            .toUtf8());
    Pon(Host() + "/Orvalo.ini", ("[Orvalo]\nMySQLServer=127.0.0.1\nMySQLPuerto=" + Puerto() +
                                 "\nActualizacionVersion=" + version + "\n")
                                    .toUtf8());
}

frmMenu* Programa::AbreVentana() {
    if (!Main()) return nullptr;
    frmMenu* menu = Menu();
    QApplication::setActiveWindow(menu);
    return QTest::qWaitForWindowActive(menu) ? menu : nullptr;
}

Vigia::Vigia(int espera) {
    connect(&reloj_, &QTimer::timeout, this, [this, espera] {
        QWidget* arriba = QApplication::activeModalWidget();
        if (arriba != arriba_) {
            arriba_ = arriba;
            desde_.start();
            return;
        }
        if (!arriba || desde_.elapsed() < espera || arriba->inherits("frmProgreso")) return;
        cerradas_ << QString("%1 «%2»").arg(arriba->metaObject()->className(),
                                            arriba->windowTitle());
        if (auto* dialogo = qobject_cast<QDialog*>(arriba))
            dialogo->reject();
        else
            arriba->close();
        arriba_ = nullptr;
    });
    reloj_.start(250);
}

reportdata::Seleccion Sel(int tipo, const QString& vendedor, const QString& desde,
                          const QString& hasta) {
    reportdata::Seleccion s;
    s.tipo = tipo;
    s.vendedor = vendedor;
    s.año = "2010";
    s.fechaInicial = desde;
    s.fechaFinal = hasta;
    return s;
}

Abridor::Abridor() : rutaAnterior(qgetenv("PATH")) {
    const QString script = carpeta.filePath("xdg-open");
    Pon(script,
        "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$(dirname \"$0\")/abiertos\"\n"
        "sleep \"${ABRIDOR_SEGUNDOS:-0}\"\nexit \"${ABRIDOR_CODIGO:-0}\"\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", carpeta.path().toLocal8Bit() + ":" + rutaAnterior);
}
Abridor::~Abridor() {
    qputenv("PATH", rutaAnterior);
    qunsetenv("ABRIDOR_CODIGO");
    qunsetenv("ABRIDOR_SEGUNDOS");
}
QStringList Abridor::Abiertos() const {
    return QString::fromLocal8Bit(Bytes(carpeta.filePath("abiertos")))
        .split('\n', Qt::SkipEmptyParts);
}
void Abridor::Limpia() {
    QFile::remove(carpeta.filePath("abiertos"));
    Termina(0);
}
void Abridor::Termina(int codigo, int segundos) {
    qputenv("ABRIDOR_CODIGO", QByteArray::number(codigo));
    qputenv("ABRIDOR_SEGUNDOS", QByteArray::number(segundos));
}

bool Programa::LeeAjustes() {
    CreaObjetos();
    cArchivoIni = Ini();
    return LeeConfiguracion(*oLibreria, *oRegistro, *oBasesDD, cArchivoIni);
}

void Programa::Conecta(const QString& base) {
    Configura(base);
    QVERIFY(LeeAjustes());
}

}  // namespace prueba
