#include "app/Aplicacion.h"
#include "app/Principal.h"
#include "platform/vb/QMessageBoxes.h"

int main(int argc, char* argv[]) {
    Aplicacion aplicacion(argc, argv);
    QMessageBoxes cajas;
    SetMessageBoxes(&cajas);
    try {
        if (!Main()) return 1;
    } catch (...) {
        TerminaPorError();
        return 1;
    }
    return aplicacion.exec();
}
