#include <QDesktopServices>
#include <QUrl>

#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"
#include "tramo5/Fabrica.h"

namespace {

class DeArchivosImpl : public tramo5::DeArchivos {
  public:
    // Opens the file in the program the system associates with it.
    void AbreDocumento(const QString& ruta, int, int) override {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(ruta)))
            throw RuntimeError(vbError::kArchivoNoEncontrado,
                               "No se pudo abrir el archivo con su programa asociado: " + ruta);
    }
};

}  // namespace

tramo5::Objeto* NuevoDeArchivos() {
    return new DeArchivosImpl;
}
