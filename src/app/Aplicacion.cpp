#include "app/Aplicacion.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "platform/vb/Errores.h"
#include "platform/vb/MsgBox.h"
#include "platform/vb/RuntimeError.h"
#include "platform/vb/Screen.h"

Aplicacion::Aplicacion(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("Miravel");
    setApplicationVersion(MIRAVEL_VERSION);
    InstalaTraducciones(*this);
}

void InstalaTraducciones(QCoreApplication& aplicacion) {
    auto* traductor = new QTranslator(&aplicacion);
    if (traductor->load(QLocale(QLocale::Spanish), "qtbase", "_",
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        aplicacion.installTranslator(traductor);
}

bool Aplicacion::notify(QObject* receptor, QEvent* evento) {
    try {
        return QApplication::notify(receptor, evento);
    } catch (...) {
        TerminaPorError();
        return true;
    }
}

void TerminaPorError() {
    Screen::MousePointer(vbDefault);
    try {
        throw;
    } catch (const RuntimeError& e) {
        ShowRuntimeError(e);
    } catch (const std::exception& e) {
        ShowRuntimeError(RuntimeError(vbError::kErrorInterno, QString::fromLocal8Bit(e.what())));
    }
    QCoreApplication::exit(1);
}
