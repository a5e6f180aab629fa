#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#else
#include <QDesktopServices>
#include <QUrl>
#endif

#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"
#include "tramo5/Fabrica.h"

namespace {

[[noreturn]] void NoSeAbrio(const QString& ruta, const QString& motivo) {
    throw RuntimeError(vbError::kArchivoNoEncontrado,
                       "No se pudo abrir el archivo con su programa asociado: " + ruta +
                           (motivo.isEmpty() ? QString() : "\n\n" + motivo));
}

#ifdef Q_OS_UNIX
// xdg-open's own exit codes, told in the program's language.
QString MotivoDeXdgOpen(int codigo) {
    switch (codigo) {
        case 2:
            return "El archivo no existe.";
        case 3:
            return "No hay ningún programa asociado a este tipo de archivo.";
        case 4:
            return "El programa asociado no pudo abrirlo.";
        default:
            return QString("El lanzador terminó con el código %1.").arg(codigo);
    }
}

// A launcher that cannot find a program fails within a fraction of a second; one still running
// after this has handed the file to an editor that stays in its foreground.
constexpr int kEsperaDelLanzador = 2000;

void AbreConXdgOpen(const QString& ruta) {
    const QString lanzador = QStandardPaths::findExecutable("xdg-open");
    if (lanzador.isEmpty()) NoSeAbrio(ruta, "No está instalado xdg-open (paquete xdg-utils).");
    // Not parented and not deleted while it runs: destroying it would kill the editor with it.
    auto* proceso = new QProcess;
    // Its answer is its exit code; an editor's chatter over hours must not pile up here.
    proceso->setStandardOutputFile(QProcess::nullDevice());
    proceso->setStandardErrorFile(QProcess::nullDevice());
    QEventLoop espera;
    QObject::connect(proceso, &QProcess::finished, &espera, &QEventLoop::quit);
    QObject::connect(proceso, &QProcess::errorOccurred, &espera, &QEventLoop::quit);
    QTimer::singleShot(kEsperaDelLanzador, &espera, &QEventLoop::quit);
    proceso->start(lanzador, {ruta});
    QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
    // The window keeps painting while the launcher answers, but takes no clicks meanwhile.
    if (proceso->state() != QProcess::NotRunning) espera.exec(QEventLoop::ExcludeUserInputEvents);
    QGuiApplication::restoreOverrideCursor();
    if (proceso->state() != QProcess::NotRunning) {
        QObject::connect(proceso, &QProcess::finished, proceso, &QObject::deleteLater);
        return;
    }
    const bool arranco = proceso->error() != QProcess::FailedToStart;
    const bool bien =
        arranco && proceso->exitStatus() == QProcess::NormalExit && proceso->exitCode() == 0;
    const int codigo = proceso->exitCode();
    delete proceso;
    if (!arranco) NoSeAbrio(ruta, "No se pudo ejecutar " + lanzador + ".");
    if (!bien) NoSeAbrio(ruta, MotivoDeXdgOpen(codigo));
}
#endif

class DeArchivosImpl : public tramo5::DeArchivos {
  public:
    // Opens the file in the program the system associates with it, and says so when none did.
    void AbreDocumento(const QString& ruta, int, int) override {
#ifdef Q_OS_UNIX
        AbreConXdgOpen(ruta);
#else
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(ruta))) NoSeAbrio(ruta, {});
#endif
    }
};

}  // namespace

tramo5::Objeto* NuevoDeArchivos() {
    return new DeArchivosImpl;
}
