#include "reportdata/Plan.h"

#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"

namespace reportdata {

Plan PlanDe(const QString& valor, const QString& origen) {
    const QString v = valor.trimmed().toLower();
    if (v.isEmpty() || v == "agrupado") return Plan::Agrupado;
    if (v == "fiel") return Plan::Fiel;
    throw RuntimeError(vbError::kArgumentoNoValido, "«" + kClavePlan + "» en " + origen +
                                                        " vale «" + valor +
                                                        "»: debe ser «fiel» o «agrupado».");
}

}  // namespace reportdata
