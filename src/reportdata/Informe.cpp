#include "reportdata/Informe.h"

#include "platform/report/Formato.h"
#include "platform/vb/App.h"
#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"
#include "reportdata/Agrupado.h"
#include "reportdata/ClaveVendedor.h"
#include "reportdata/Formulas.h"
#include "reportdata/Globales.h"
#include "reportdata/ListaLineas.h"
#include "reportdata/LlenaTablaXlinea.h"
#include "reportdata/LlenaTablaXmes.h"
#include "reportdata/LlenaTablaXvend.h"
#include "reportdata/Sentencias.h"

namespace reportdata {

namespace {

// A work table lacking a column the builder writes comes from a broken template: say which.
[[noreturn]] void NombraPlantilla(const RuntimeError& e, const Reporte& reporte) {
    throw RuntimeError(e.Number(),
                       e.Description() + " (la tabla de trabajo es copia de la plantilla " +
                           kBaseReportes + "." + reporte.estructura + ", a la que le falta)",
                       e.Statement());
}

bool Construye(const Reporte& reporte, Plan plan, const Seleccion& s, ado::Connection& conexion,
               ado::Connection& lectura, const QString& cTabla, const Aviso& avisa, Resultado& r) {
    const bool fiel = plan == Plan::Fiel;
    switch (reporte.tipo) {
        case TipoReporte::PorMes:
            fiel ? LlenaTablaXmes(s, conexion, cTabla)
                 : agrupado::LlenaTablaXmes(s, conexion, lectura, cTabla);
            return true;
        case TipoReporte::PorLinea:
            fiel ? LlenaTablaXlinea(s, conexion, cTabla, r)
                 : agrupado::LlenaTablaXlinea(s, conexion, lectura, cTabla, r);
            return true;
        case TipoReporte::PorVendedor:
            return fiel ? LlenaTablaXvend(s, conexion, cTabla, avisa, r)
                        : agrupado::LlenaTablaXvend(s, conexion, lectura, cTabla, avisa, r);
    }
    return false;
}

}  // namespace

Resultado LlenaTabla(const Reporte& reporte, Plan plan, const Seleccion& s,
                     ado::Connection& conexion, const QString& cTabla, const Aviso& avisa,
                     ado::Connection* lectura, const Resultado& previo) {
    Seleccion seleccion = s;
    seleccion.claveSinCabida = HayVendedor(s) && !ClaveCabe(conexion, s.vendedor);
    Resultado r{true, previo.aEtiquetas, {}, 0, {}};
    try {
        r.tieneDatos = Construye(reporte, plan, seleccion, conexion, lectura ? *lectura : conexion,
                                 cTabla, avisa, r);
        return r;
    } catch (const RuntimeError& e) {
        if (e.Number() == vbError::kElementoNoEncontrado ||
            e.Number() == mysqlError::kColumnaDesconocida)
            NombraPlantilla(e, reporte);
        throw;
    }
}

std::unique_ptr<report::Report> AbreReporte(report::Application& aplicacion, const Reporte& reporte,
                                            const QString& archivo, const QString& tabla1,
                                            const Resultado& r, const Seleccion& s,
                                            report::RowSource filas) {
    aplicacion.LogOnServer(oBasesDD->cRuta, oBasesDD->cPuerto, oBasesDD->cUsuario,
                           oBasesDD->cPassword);
    auto abierto = aplicacion.OpenReport(archivo, report::Application::crOpenReportByTempCopy);
    abierto->DatabaseTables(1).SetLocation(tabla1);
    abierto->SetSelection(DescribeSeleccion(reporte, s));
    abierto->SetFileName(NombreDeArchivo(reporte, s));
    abierto->SetRowSource(std::move(filas));
    QStringList nota;
    if (reporte.tipo == TipoReporte::PorVendedor && r.tieneDatos &&
        report::Redondea(r.ventasSinVendedor) != 0)
        nota << "Sin vendedor en sus documentos, fuera de la gráfica y la tabla: " +
                    report::Moneda(r.ventasSinVendedor) + " de ventas netas del periodo";
    if (reporte.tipo == TipoReporte::PorLinea && !r.lineasSinLugar.isEmpty())
        nota << QString("%1 de %2 líneas; sin lugar: %3")
                    .arg(kLineas)
                    .arg(kLineas + r.lineasSinLugar.size())
                    .arg(r.lineasSinLugar.join(", "));
    if (!r.origenDeCifras.isEmpty()) nota << r.origenDeCifras;
    if (!nota.isEmpty()) abierto->SetNote(nota.join(". "));
    AsignaFormulas(*abierto, reporte, r);
    return abierto;
}

report::ReportContent LeeInforme(const Reporte& reporte, const QString& cTabla, const Resultado& r,
                                 const Seleccion& s, report::RowSource filas) {
    report::Application aplicacion;
    return AbreReporte(aplicacion, reporte, App::Archivo(reporte.archivo),
                       oBasesDD->cMiBase + "." + cTabla, r, s, std::move(filas))
        ->Read();
}

}  // namespace reportdata
