#include <cstdio>
#include <cstring>

#include "app/Aplicacion.h"
#include "app/Principal.h"
#include "app/Resguardo.h"
#include "app/Senales.h"
#include "platform/vb/QMessageBoxes.h"

namespace {

const char* const kUso =
    "uso: miravel [--help] [--version]\n"
    "Abre la ventana de selección de los reportes gráficos de ventas de Orvalo.\n"
    "Configuración: Miravel.ini junto al programa cuando existe (la del administrador, para\n"
    "todos); si no, la del usuario en ~/.config/Miravel/Miravel.ini, que el primer arranque\n"
    "escribe. Los reportes sin ventana: miravel-export --help.\n";

}  // namespace

int main(int argc, char* argv[]) {
    ResguardaProceso();
    // Answered before anything else: they need no display.
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--version")) {
            std::printf("miravel %s\n", MIRAVEL_VERSION);
            return 0;
        }
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(kUso, stdout);
            return 0;
        }
    }
    Aplicacion aplicacion(argc, argv);
    QMessageBoxes cajas;
    SetMessageBoxes(&cajas);
    // A session that logs out or a shutdown: the report stops and its table goes first.
    Senales senales;
    QObject::connect(&senales, &Senales::Llegada, &aplicacion, &CierraVentanas);
    try {
        if (!Main()) return 1;
    } catch (...) {
        TerminaPorError();
        return 1;
    }
    const int estado = aplicacion.exec();
    return senales.Estado() ? senales.Estado() : estado;
}
