// Configuration file, host settings and start-up.

#include "Prueba.h"
#include "app/Aplicacion.h"
#include "app/ParaPluginsPortables.h"
#include "app/Principal.h"
#include "platform/vb/App.h"
#include "platform/vb/RuntimeError.h"
#include "reportdata/Globales.h"

class tst_configuracion : public QObject {
    Q_OBJECT
    prueba::Abridor abridor;

    QString HostIni(const prueba::Programa& p) const { return p.Host() + "/Orvalo.ini"; }

  private slots:
    void init() { abridor.Limpia(); }

    // The standard dialogs speak Spanish.
    void standardButtonsInSpanish() {
        InstalaTraducciones(*QCoreApplication::instance());
        QDialogButtonBox botones(QDialogButtonBox::Cancel | QDialogButtonBox::Save);
        QCOMPARE(botones.button(QDialogButtonBox::Cancel)->text(), "Cancelar");
    }

    // Miravel.ini beside the program wins when it is there; a folder the user may write keeps
    // it there; an installed folder nobody may write sends each user to his own file.
    void whichConfigurationFileWins() {
        QTemporaryDir programa, inicio;
        qputenv("XDG_CONFIG_HOME", inicio.path().toLocal8Bit());
        App::SetPath(programa.path());
        QCOMPARE(ArchivoDeConfiguracion(), programa.filePath("Miravel.ini"));
        auto monta = [&](const QString& opciones) {
            return QProcess::execute(
                       "mount", {"-t", "tmpfs", "-o", opciones, "tmpfs", programa.path()}) == 0;
        };
        if (!monta("size=64k,ro")) QSKIP("no file system can be mounted here to be read-only");
        QCOMPARE(ArchivoDeConfiguracion(), inicio.path() + "/Miravel/Miravel.ini");
        QVERIFY(!QFileInfo::exists(inicio.path() + "/Miravel"));  // the window makes it
        QProcess::execute("mount", {"-o", "remount,rw", programa.path()});
        prueba::Pon(programa.filePath("Miravel.ini"), {});  // the administrator's
        QProcess::execute("mount", {"-o", "remount,ro", programa.path()});
        QCOMPARE(ArchivoDeConfiguracion(), programa.filePath("Miravel.ini"));
        QProcess::execute("umount", {programa.path()});
        App::SetPath({});
        qunsetenv("XDG_CONFIG_HOME");
    }

    // A host folder that holds no host (none written: the default one; blanks, kept as they
    // are): the user is told which file and folder and asked whether to edit it, and the file
    // opens on yes only.
    void hostMissingAsksToEdit_data() {
        QTest::addColumn<QString>("ruta");  // null: no Miravel.ini
        QTest::addColumn<int>("respuesta");
        QTest::newRow("no file, yes") << QString() << int(vbYes);
        QTest::newRow("no file, no") << QString() << int(vbNo);
        QTest::newRow("a folder of blanks") << "   " << int(vbNo);
    }
    void hostMissingAsksToEdit() {
        QFETCH(QString, ruta);
        QFETCH(int, respuesta);
        prueba::Programa p;
        prueba::Cajas cajas;
        cajas.respuestas = {vbOK, respuesta};
        const QString carpeta = ruta.isNull() ? kRutaOrvaloPredeterminada : ruta,
                      ini = "[Configuración]\nRuta de Orvalo=" + carpeta + "\n";
        if (!ruta.isNull()) prueba::Pon(p.Ini(), ini.toUtf8());
        QVERIFY(!p.LeeAjustes());
        QCOMPARE(prueba::Bytes(p.Ini()), ini.toUtf8());
        QCOMPARE(cajas.vistos.size(), 2);
        QVERIFY(cajas.vistos[0].texto.contains("(" + p.Ini() + ")") &&
                cajas.vistos[0].texto.endsWith(QString(QChar(13)) + QChar(13) + carpeta));
        QCOMPARE(cajas.vistos[0].botones, vbCritical);
        QCOMPARE(cajas.vistos[1].botones, vbQuestion | vbYesNo);
        QCOMPARE(abridor.Abiertos(), respuesta == vbYes ? QStringList{p.Ini()} : QStringList{});
    }

    // Host settings completed as the host would: defaults for what is missing or not a number,
    // the user and password written enciphered; a value that is no cipher names its key and file.
    void hostSettingsAreCompleted_data() {
        QTest::addColumn<QString>("ajustes");
        QTest::addColumn<QString>("puerto");  // or, for a failure, the key named
        QTest::addColumn<QString>("servidor");
        auto fila = [](const char* nombre, const QString& ajustes, const QString& puerto,
                       const QString& servidor) {
            QTest::newRow(nombre) << ajustes << puerto << servidor;
        };
        fila("empty", "", "3306", "");
        fila("zero port, servidor", "MySQLPuerto=0\nservidor=ventas.local\n", "3306",
             "ventas.local");
        fila("text port, blanks",
             "MySQLPuerto=abc\nMySQLServer=  \nMySQLUsuario=  \nMySQLPassword= \nservidor=srv",
             "3306", "srv");
        fila("kept", "MySQLPuerto=3310\nMySQLServer=db1\n", "3310", "db1");
        fila("a user that is no cipher", "MySQLUsuario=~zz\n", "MySQLUsuario", "");
        fila("a cipher cut short", "MySQLUsuario=~A\n", "MySQLUsuario", "");
    }
    void hostSettingsAreCompleted() {
        QFETCH(QString, ajustes);
        QFETCH(QString, puerto);
        QFETCH(QString, servidor);
        prueba::Programa p;
        // Miravel.ini gets the missing key in its section, the rest of the file as it was.
        const QString ini =
            "; nota\r\n[Otra]\r\nClave=valor con = signo\r\n\r\n[Configuración]\r\n"
            "Ruta de Orvalo=" +
            p.Host() + "\r\n\r\n[Final]\r\nx=1\r\n";
        prueba::Pon(p.Ini(), ini.toUtf8());
        prueba::Pon(HostIni(p), "[Orvalo]\n" + ajustes.toUtf8());
        if (puerto.startsWith("MySQL")) {
            const QString falla = prueba::Falla([&] { p.LeeAjustes(); }).Description();
            QVERIFY2(falla.contains(puerto) && falla.contains(HostIni(p)), qPrintable(falla));
            return;
        }
        QVERIFY(p.LeeAjustes());
        QCOMPARE(oBasesDD->cPuerto, puerto);
        QCOMPARE(oBasesDD->cRuta, servidor);
        QCOMPARE(oBasesDD->cUsuario, "root");
        QCOMPARE(oBasesDD->cPassword, "");
        QCOMPARE(oBasesDD->cMiBase, "datos1");
        const QString usuario = oRegistro->DatosORW("MySQLUsuario");
        QVERIFY(usuario != "root" && !usuario.trimmed().isEmpty());
        QVERIFY(!oRegistro->DatosORW("MySQLPassword").trimmed().isEmpty());
        QCOMPARE(oRegistro->DatosORW("MySQLPuerto"), puerto);
        QCOMPARE(QString::fromUtf8(prueba::Bytes(p.Ini())),
                 QString(ini).replace("\r\n\r\n[Final]",
                                      "\r\nBase de datos a usar=datos1\r\n\r\n[Final]"));
    }

    void missingLibraryStopsAtFirstObject() {
        prueba::Programa p(false);
        p.Configura("nada");
        prueba::Cajas cajas;
        try {
            Main();
            QFAIL("Main went on without the service library");
        } catch (const RuntimeError& e) {
            QVERIFY(e.Description().contains("tramo5.libKZCM"));
            TerminaPorError();  // as the program's entry point does
        }
        QCOMPARE(cajas.vistos.size(), 1);
        QVERIFY(cajas.vistos[0].texto.startsWith("Error '429' en tiempo de ejecución:"));
        QCOMPARE(cajas.vistos[0].botones, vbCritical);
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }
};

PRUEBA_MAIN(tst_configuracion)
#include "tst_configuracion.moc"
