#include "tramo5/Fabrica.h"

#include <QtGlobal>
#include <cstring>

extern "C" Q_DECL_EXPORT tramo5::Objeto* CreaObjetoTramo5(const char* identificador) {
    struct Clase {
        const char* id;
        tramo5::Objeto* (*crea)();
    };
    static const Clase clases[] = {
        {"tramo5.libKZCM", NuevoLibKZCM},
        {"tramo5.BasesDD", NuevoBasesDD},
        {"tramo5.DeEquipo", []() -> tramo5::Objeto* { return new tramo5::DeEquipo; }},
        {"tramo5.Utilerias", NuevoUtilerias},
        {"tramo5.DeArchivos", NuevoDeArchivos},
        {"tramo5.ImpresionTexto", []() -> tramo5::Objeto* { return new tramo5::ImpresionTexto; }},
        {"tramo5.DeMonedas", []() -> tramo5::Objeto* { return new tramo5::DeMonedas; }},
        {"tramo5.DelRegistro", NuevoDelRegistro},
    };
    for (const Clase& c : clases)
        if (std::strcmp(c.id, identificador) == 0) return c.crea();
    return nullptr;
}
