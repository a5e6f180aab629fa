#include "reportdata/Informe.h"

#include "platform/report/Formato.h"
#include "platform/vb/App.h"
#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"
#include "reportdata/Agrupado.h"
#include "reportdata/ClaveVendedor.h"
#include "reportdata/Formulas.h"
#include "reportdata/FueraDeLineas.h"
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
    Resultado r;
    r.aEtiquetas = previo.aEtiquetas;
    try {
        ado::Connection& ventas = lectura ? *lectura : conexion;
        r.tieneDatos = Construye(reporte, plan, seleccion, conexion, ventas, cTabla, avisa, r);
        // The grouped plan sums what the lines leave out in its own pass.
        if (reporte.tipo == TipoReporte::PorLinea && plan == Plan::Fiel)
            VentasFueraDeLineas(seleccion, ventas, r);
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
    // What the line report leaves out, so that its total reconciles with the monthly report's.
    if (reporte.tipo == TipoReporte::PorLinea && !r.lineasSinLugar.isEmpty())
        nota << QString("%1 de %2 líneas; sin lugar, con %3 de ventas netas: %4")
                    .arg(QString::number(kLineas),
                         QString::number(kLineas + r.lineasSinLugar.size()),
                         report::Moneda(r.ventasSinLugar), r.lineasSinLugar.join(", "));
    if (reporte.tipo == TipoReporte::PorLinea && report::Redondea(r.ventasSinLinea) != 0)
        nota << "Productos sin línea, fuera de la gráfica y la tabla: " +
                    report::Moneda(r.ventasSinLinea) + " de ventas netas";
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
