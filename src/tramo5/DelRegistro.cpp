#include <QDir>
#include <QFileInfo>

#include "tramo5/ArchivoIni.h"
#include "tramo5/Fabrica.h"

namespace {

// The host product keeps its settings in Orvalo.ini, section [Orvalo], in its installation folder.
const QString kArchivo = "Orvalo.ini";
const QString kSeccion = "Orvalo";

class DelRegistroImpl : public tramo5::DelRegistro {
  public:
    QString BuscarRegistroORW(const QString& carpeta) override {
        const QFileInfo archivo(QDir(carpeta).filePath(kArchivo));
        if (carpeta.isEmpty() || !archivo.isFile()) return {};
        ajustes_ = archivo.absoluteFilePath();
        return carpeta;
    }
    QString DatosORW(const QString& clave) override {
        return ArchivoIni::Lee(ajustes_, kSeccion, clave);
    }
    void GuardaDatosORW(const QString& clave, const QString& valor) override {
        ArchivoIni::Escribe(ajustes_, kSeccion, clave, valor);
    }

  private:
    QString ajustes_;
};

}  // namespace

tramo5::Objeto* NuevoDelRegistro() {
    return new DelRegistroImpl;
}
