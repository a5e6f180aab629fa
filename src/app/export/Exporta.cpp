#include "app/export/Exporta.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

#include "app/ParaPluginsPortables.h"
#include "app/Principal.h"
#include "platform/ado/Connection.h"
#include "platform/report/Export.h"
#include "platform/report/ExportXlsx.h"
#include "platform/report/ReportPages.h"
#include "platform/vb/App.h"
#include "platform/vb/RuntimeError.h"
#include "platform/vb/SaveFile.h"
#include "reportdata/Etiquetas.h"
#include "reportdata/Globales.h"
#include "reportdata/Informe.h"
#include "reportdata/Plantillas.h"
#include "reportdata/Reglas.h"
#include "reportdata/TablaTemporal.h"

namespace {

// The plan of --plan, else the configuration's; a bad value is bad input.
reportdata::Plan PlanDe(const Pedido& p) {
    try {
        if (!p.plan.isEmpty()) return reportdata::PlanDe(p.plan, "--plan");
        return p.SinConfiguracion() ? reportdata::Plan::Agrupado : LeePlan(*oLibreria, cArchivoIni);
    } catch (const RuntimeError& e) {
        throw ErrorDeUso(e.Description());
    }
}

bool Configura(Pedido& p) {
    // The command asks no questions: a named file must be there.
    if (!p.config.isEmpty() && !QFileInfo::exists(p.config))
        throw ErrorDeUso("no existe el archivo de configuración " + p.config);
    if (p.SinConfiguracion()) {
        oBasesDD->cPassword.clear();
    } else {
        cArchivoIni = p.config.isEmpty() ? ArchivoDeConfiguracion() : p.config;
        if (!LeeConfiguracion(*oLibreria, *oRegistro, *oBasesDD, cArchivoIni)) return false;
    }
    p.planDeConsultas = PlanDe(p);
    try {
        if (!p.SinConfiguracion()) LeeEsperas(*oLibreria, cArchivoIni);
    } catch (const RuntimeError& e) {
        throw ErrorDeUso(e.Description());
    }
    if (!p.esperaConexion.isEmpty() || !p.esperaConsulta.isEmpty())
        ado::Connection::SetTimeouts(
            p.esperaConexion.isEmpty() ? kEsperaConexionOmision : p.esperaConexion.toInt(),
            p.esperaConsulta.isEmpty() ? kEsperaConsultaOmision : p.esperaConsulta.toInt());
    auto sustituye = [](QString& destino, const QString& valor) {
        if (!valor.isEmpty()) destino = valor;
    };
    sustituye(oBasesDD->cRuta, p.servidor);
    sustituye(oBasesDD->cPuerto, p.puerto);
    sustituye(oBasesDD->cUsuario, p.usuario);
    sustituye(oBasesDD->cMiBase, p.base);
    if (qEnvironmentVariableIsSet("MIRAVEL_CLAVE"))
        oBasesDD->cPassword = qEnvironmentVariable("MIRAVEL_CLAVE");
    return true;
}

QByteArray Json(const Pedido& p, const reportdata::Informe& informe) {
    const reportdata::Seleccion& s = p.seleccion;
    const report::ReportContent& c = informe.contenido;
    QJsonObject seleccion{{"ventas", s.documentos.value(s.tipo)}, {"vendedor", s.vendedor}};
    if (p.reporte->porFechas) {
        seleccion["desde"] = s.fechaInicial;
        seleccion["hasta"] = s.fechaFinal;
        seleccion["linea"] = s.linea.toString();
    } else {
        seleccion["anio"] = s.año;
    }
    QJsonArray etiquetas, columnas{c.tituloFilas}, filas;
    for (const QString& e : aEtiquetas) etiquetas << e;
    for (const QString& col : c.columnas) columnas << col;
    for (int i = 0; i < c.filas.size(); ++i) {
        QJsonArray fila{c.filas[i]};
        for (double v : c.celdas[i]) fila << v;
        filas << fila;
    }
    const QJsonObject o{
        {"reporte", p.reporte->clave},
        {"seleccion", seleccion},
        {"etiquetas", etiquetas},
        {"tieneDatos", p.reporte->porFechas ? QJsonValue(informe.tieneDatos) : QJsonValue()},
        {"columnas", columnas},
        {"filas", filas}};
    return QJsonDocument(o).toJson();
}

void Produce(const Pedido& p, ado::Connection& conexion, const QString& cTabla) {
    const reportdata::Informe informe = reportdata::Produce(
        *p.reporte, p.planDeConsultas, p.seleccion, conexion, cTabla, [](const QString& aviso) {
            std::fprintf(stderr, "%s\n", aviso.toLocal8Bit().constData());
        });
    const report::ReportPages paginas(informe.contenido);
    if (!p.pdf.isEmpty()) report::ExportPdf(paginas, p.pdf);
    if (!p.png.isEmpty()) report::ExportPng(paginas, p.png);
    if (!p.csv.isEmpty()) report::ExportCsv(paginas, p.csv);
    if (!p.xlsx.isEmpty()) report::ExportXlsx(paginas, p.xlsx);
    if (!p.json.isEmpty()) SaveFile(p.json, Json(p, informe));
}

}  // namespace

int Exporta(const Pedido& pedido) {
    Pedido p = pedido;
    CreaObjetos();
    if (!Configura(p)) return 2;
    CompruebaPedido(p);
    p.seleccion.año = reportdata::AñoValido(p.seleccion.año);

    ado::Connection conexion;
    reportdata::PreparaPlantillas(conexion, !p.SinConfiguracion());
    TablaTemporal trabajo(conexion, p.reporte->estructura);
    Produce(p, conexion, trabajo.cTabla);
    trabajo.Borra();
    return 0;
}
