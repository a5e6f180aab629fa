// miravel-icono CARPETA: writes the program's icon into CARPETA as the hicolor theme wants it,
// CARPETA/NxN/apps/miravel.png, for installation.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "ui/Icono.h"

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication aplicacion(argc, argv);
    if (argc != 2) {
        std::fputs("uso: miravel-icono CARPETA\n", stderr);
        return 2;
    }
    for (int lado : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString carpeta =
            QString("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(lado);
        if (!QDir().mkpath(carpeta) || !DibujaIcono(lado).save(carpeta + "/miravel.png")) {
            std::fprintf(stderr, "miravel-icono: no se pudo escribir %s\n", qPrintable(carpeta));
            return 1;
        }
    }
    return 0;
}
