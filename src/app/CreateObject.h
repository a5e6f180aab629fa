#pragma once
#include <memory>

#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"
#include "tramo5/tramo5.h"

// Creates a service-library object by its programmatic identifier ("tramo5.BasesDD" ...).
// The library is loaded from the program's folder on first use.
tramo5::Objeto* CreateObjectRaw(const char* identificador);

template <typename T>
std::unique_ptr<T> CreateObject(const char* identificador) {
    std::unique_ptr<tramo5::Objeto> objeto(CreateObjectRaw(identificador));
    if (auto* tipado = dynamic_cast<T*>(objeto.get())) {
        objeto.release();
        return std::unique_ptr<T>(tipado);
    }
    throw RuntimeError(vbError::kTiposNoCoinciden,
                       QString("No coinciden los tipos: ") + identificador);
}
