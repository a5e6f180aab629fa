#include "Formulas.h"

#include "../../app/Globales.h"
#include "../../platform/report/Report.h"
#include "../../reportdata/Etiquetas.h"

namespace {
// A caption as a text constant of the report language: a quote inside is doubled.
QString Constante(const QString& texto) {
    return oUtilerias->CambXXX("'XXX'", QString(texto).replace("'", "''"));
}
}  // namespace

void AsignaFormulas(report::Report& reporte, quint8 tipoReporte, bool tieneDatos) {
    if (tipoReporte != 1 && tipoReporte != 2) return;
    const int campos = tipoReporte == 1 ? 12 : 3;
    for (int i = 1; i <= campos; ++i)
        reporte.FormulaFields(i).SetText(Constante(aEtiquetas[i - 1]));
    if (tipoReporte == 2)
        reporte.FormulaFields(4).SetText(tieneDatos ? "" : "'No se encontró información'");
}
