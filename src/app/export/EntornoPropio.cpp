#include "app/export/EntornoPropio.h"

#include <QtGlobal>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#endif
#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>

namespace {

const QString kPrefijo = "miravel-runtime-";

#ifdef Q_OS_UNIX
// Folders named after a process that no longer runs, owned by our user: real folders, not links.
void QuitaLasDeProcesosIdos(const QDir& temporal) {
    static const QRegularExpression nombre("^" + kPrefijo + "([1-9][0-9]{0,9})-[^-]{6}$");
    for (const QString& e : temporal.entryList({kPrefijo + "*"}, QDir::Dirs)) {
        const QRegularExpressionMatch m = nombre.match(e);
        struct stat estado;
        if (!m.hasMatch() || lstat(QFile::encodeName(temporal.filePath(e)).constData(), &estado) ||
            !S_ISDIR(estado.st_mode) || estado.st_uid != geteuid())
            continue;
        bool numero = false;
        const pid_t proceso = pid_t(m.captured(1).toInt(&numero));
        if (numero && ::kill(proceso, 0) != 0 && errno == ESRCH)
            QDir(temporal.filePath(e)).removeRecursively();
    }
}
#endif

}  // namespace

EntornoPropio::EntornoPropio() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef Q_OS_UNIX
    if (qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) return;
    const QDir temporal = QDir::temp();
    QuitaLasDeProcesosIdos(temporal);
    QByteArray plantilla = QFile::encodeName(temporal.filePath(
        kPrefijo + QString::number(QCoreApplication::applicationPid()) + "-XXXXXX"));
    if (!mkdtemp(plantilla.data())) return;
    carpeta_ = QFile::decodeName(plantilla);
    qputenv("XDG_RUNTIME_DIR", plantilla);
#endif
}

EntornoPropio::~EntornoPropio() {
    if (!carpeta_.isEmpty()) QDir(carpeta_).removeRecursively();
}
