// The window program ended by the session (SIGTERM, SIGHUP) while a report is on screen: a real
// miravel on a real X display, driven by keys from outside.
#include <csignal>

#include "Prueba.h"

class tst_senales : public QObject {
    Q_OBJECT

    // xdotool's answer, or empty once it gave up.
    static QString Xdotool(const QStringList& argumentos) {
        QProcess p;
        p.start("xdotool", argumentos);
        if (!p.waitForFinished(15000) || p.exitCode() != 0) return {};
        return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    }

  private slots:
    void initTestCase() {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) QSKIP("needs an X display (xvfb-run)");
    }

    // A viewer open, then SIGTERM: the program closes it, drops the work table and exits with
    // the signal's status within two seconds.
    void termWithTheViewerOpen() {
        const QString base = prueba::BaseConFixture();
        prueba::Programa programa;
        programa.Configura(base);
        // The executable itself in the folder: the program finds Miravel.ini beside it.
        for (const char* archivo : {"miravel", "libmiravel-platform.so"})
            QVERIFY(QFile::copy(MIRAVEL_DIR_PROGRAMA "/" + QString(archivo),
                                programa.Carpeta() + "/" + archivo));
        QProcess miravel;
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        entorno.insert("QT_QPA_PLATFORM", "xcb");
        miravel.setProcessEnvironment(entorno);
        miravel.start(programa.Carpeta() + "/miravel");
        QVERIFY(miravel.waitForStarted());
        const QString ventana =
            Xdotool({"search", "--sync", "--onlyvisible", "--name", "Versión"}).section('\n', 0, 0);
        QVERIFY2(!ventana.isEmpty(), "the selection window did not show");
        Xdotool({"windowfocus", "--sync", ventana});
        Xdotool({"key", "--clearmodifiers", "alt+i"});  // Imprimir, as a person presses it
        QVERIFY2(
            !Xdotool({"search", "--sync", "--onlyvisible", "--name", "Visualización del reporte"})
                 .isEmpty(),
            "the viewer did not show");
        QCOMPARE(prueba::TablasDeTrabajo(base), 1);

        QElapsedTimer reloj;
        reloj.start();
        ::kill(static_cast<pid_t>(miravel.processId()), SIGTERM);
        QVERIFY2(miravel.waitForFinished(2000), "still running two seconds after SIGTERM");
        qInfo("Exited %lld ms after SIGTERM", reloj.elapsed());
        QCOMPARE(miravel.exitStatus(), QProcess::NormalExit);
        QCOMPARE(miravel.exitCode(), 143);
        QCOMPARE(prueba::TablasDeTrabajo(base), 0);
    }
};

QTEST_GUILESS_MAIN(tst_senales)
#include "tst_senales.moc"
