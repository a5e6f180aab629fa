#include "reportdata/Formulas.h"

#include "platform/report/Report.h"
#include "reportdata/Globales.h"
#include "reportdata/Reportes.h"
#include "reportdata/Resultado.h"

namespace reportdata {
namespace {
// A caption as a text constant of the report language: a quote inside is doubled.
QString Constante(const QString& texto) {
    return oUtilerias->CambXXX("'XXX'", QString(texto).replace("'", "''"));
}
}  // namespace

void AsignaFormulas(report::Report& reporte, const Reporte& tipo, const Resultado& r) {
    for (int i = 1; i <= tipo.rotulos; ++i)
        reporte.FormulaFields(i).SetText(Constante(r.aEtiquetas[i - 1]));
    if (tipo.porFechas)
        reporte.FormulaFields(tipo.rotulos + 1)
            .SetText(r.tieneDatos ? "" : "'No se encontró información'");
}

}  // namespace reportdata
