#include "platform/vb/App.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString carpetaFijada;
}

QString App::Path() {
    return carpetaFijada.isEmpty() ? QCoreApplication::applicationDirPath() : carpetaFijada;
}

void App::SetPath(const QString& carpeta) {
    carpetaFijada = carpeta;
}

QString App::Archivo(const QString& nombre) {
    return QDir(Path()).filePath(nombre);
}

int App::Major() {
    return MIRAVEL_VERSION_MAJOR;
}
int App::Minor() {
    return MIRAVEL_VERSION_MINOR;
}
int App::Revision() {
    return MIRAVEL_VERSION_PATCH;
}
