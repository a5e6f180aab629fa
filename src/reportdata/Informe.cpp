#include "reportdata/Informe.h"

#include "platform/report/Formato.h"
#include "platform/vb/App.h"
#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"
#include "reportdata/Agrupado.h"
#include "reportdata/ClaveVendedor.h"
#include "reportdata/Etiquetas.h"
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
               ado::Connection& lectura, const QString& cTabla, const Aviso& avisa) {
    const bool fiel = plan == Plan::Fiel;
    switch (reporte.tipo) {
        case TipoReporte::PorMes:
            fiel ? LlenaTablaXmes(s, conexion, cTabla)
                 : agrupado::LlenaTablaXmes(s, conexion, lectura, cTabla);
            return true;
        case TipoReporte::PorLinea:
            fiel ? LlenaTablaXlinea(s, conexion, cTabla)
                 : agrupado::LlenaTablaXlinea(s, conexion, lectura, cTabla);
            return true;
        case TipoReporte::PorVendedor:
            return fiel ? LlenaTablaXvend(s, conexion, cTabla, avisa)
                        : agrupado::LlenaTablaXvend(s, conexion, lectura, cTabla, avisa);
    }
    return false;
}

}  // namespace

Resultado LlenaTabla(const Reporte& reporte, Plan plan, const Seleccion& s,
                     ado::Connection& conexion, const QString& cTabla, const Aviso& avisa,
                     ado::Connection* lectura) {
    Seleccion seleccion = s;
    seleccion.claveSinCabida = HayVendedor(s) && !ClaveCabe(conexion, s.vendedor);
    try {
        const bool tieneDatos = Construye(reporte, plan, seleccion, conexion,
                                          lectura ? *lectura : conexion, cTabla, avisa);
        Resultado r = Resultado::DeEsteHilo();
        r.tieneDatos = tieneDatos;
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
                                            bool tieneDatos, const Seleccion& s) {
    aplicacion.LogOnServer(oBasesDD->cRuta, oBasesDD->cPuerto, oBasesDD->cUsuario,
                           oBasesDD->cPassword);
    auto abierto = aplicacion.OpenReport(archivo, report::Application::crOpenReportByTempCopy);
    abierto->DatabaseTables(1).SetLocation(tabla1);
    abierto->SetSelection(DescribeSeleccion(reporte, s));
    abierto->SetFileName(NombreDeArchivo(reporte, s));
    QStringList nota;
    if (reporte.tipo == TipoReporte::PorVendedor && tieneDatos &&
        report::Redondea(aVentasSinVendedor) != 0)
        nota << "Sin vendedor en sus documentos, fuera de la gráfica y la tabla: " +
                    report::Moneda(aVentasSinVendedor) + " de ventas netas del periodo";
    if (reporte.tipo == TipoReporte::PorLinea && !aLineasSinLugar.isEmpty())
        nota << QString("%1 de %2 líneas; sin lugar: %3")
                    .arg(kLineas)
                    .arg(kLineas + aLineasSinLugar.size())
                    .arg(aLineasSinLugar.join(", "));
    if (!cOrigenDeCifras.isEmpty()) nota << cOrigenDeCifras;
    if (!nota.isEmpty()) abierto->SetNote(nota.join(". "));
    AsignaFormulas(*abierto, reporte, tieneDatos);
    return abierto;
}

report::ReportContent LeeInforme(const Reporte& reporte, const QString& cTabla, bool tieneDatos,
                                 const Seleccion& s) {
    report::Application aplicacion;
    return AbreReporte(aplicacion, reporte, App::Archivo(reporte.archivo),
                       oBasesDD->cMiBase + "." + cTabla, tieneDatos, s)
        ->Read();
}

}  // namespace reportdata
