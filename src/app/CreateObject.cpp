#include "app/CreateObject.h"

#include <QLibrary>

#include "platform/vb/App.h"

tramo5::Objeto* CreateObjectRaw(const char* identificador) {
    using Fabrica = tramo5::Objeto* (*)(const char*);
    static QLibrary biblioteca;
    biblioteca.setFileName(App::Archivo("tramo5"));  // libtramo5.so, tramo5.dll ...
    auto crea = reinterpret_cast<Fabrica>(biblioteca.resolve("CreaObjetoTramo5"));
    tramo5::Objeto* objeto = crea ? crea(identificador) : nullptr;
    if (!objeto)
        throw RuntimeError(
            vbError::kNoCreaObjeto,
            QString("El componente ActiveX no puede crear el objeto: ") + identificador);
    return objeto;
}
