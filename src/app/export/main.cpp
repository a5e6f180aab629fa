// miravel-export: the reports without a window, for schedules and servers without a display.
#include <QApplication>
#include <cstdio>

#include "app/Aplicacion.h"
#include "app/Resguardo.h"
#include "app/export/EntornoPropio.h"
#include "app/export/Exporta.h"
#include "platform/vb/MsgBox.h"
#include "platform/vb/RuntimeError.h"

namespace {

// Messages go to standard error and need no answer.
class MensajesEnConsola : public MessageBoxes {
  public:
    int Show(const QString& prompt, int buttons, const QString&) override {
        std::fprintf(stderr, "%s\n",
                     QString(prompt).replace(QChar(13), QChar(10)).toLocal8Bit().constData());
        return (buttons & vbYesNo) ? vbNo : vbOK;
    }
};

int Uso(const QString& problema) {
    std::fprintf(stderr, "miravel-export: %s\n%s", problema.toLocal8Bit().constData(),
                 UsoExporta().toLocal8Bit().constData());
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    ResguardaProceso();
    const EntornoPropio entorno;
    QApplication aplicacion(argc, argv);
    aplicacion.setApplicationName("Miravel");
    InstalaTraducciones(aplicacion);
    MensajesEnConsola mensajes;
    SetMessageBoxes(&mensajes);
    try {
        const Pedido pedido = LeePedido(aplicacion.arguments().mid(1));
        if (pedido.ayuda) {
            std::fputs(UsoExporta().toLocal8Bit().constData(), stdout);
            return 0;
        }
        if (pedido.version) {
            std::printf("miravel-export %s\n", MIRAVEL_VERSION);
            return 0;
        }
        return Exporta(pedido);
    } catch (const ErrorDeUso& e) {
        return Uso(QString::fromStdString(e.what()));
    } catch (const RuntimeError& e) {
        std::fprintf(stderr, "miravel-export: error %d: %s\n", e.Number(),
                     e.Description().toLocal8Bit().constData());
        return 1;
    }
}
