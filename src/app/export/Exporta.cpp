#include "Exporta.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <cstdio>

#include "../../platform/ado/Connection.h"
#include "../../platform/report/Export.h"
#include "../../platform/report/Report.h"
#include "../../platform/report/ReportPages.h"
#include "../../platform/vb/RuntimeError.h"
#include "../../reportdata/Etiquetas.h"
#include "../../reportdata/LlenaTablaXlinea.h"
#include "../../reportdata/LlenaTablaXmes.h"
#include "../../reportdata/LlenaTablaXvend.h"
#include "../../reportdata/Plantillas.h"
#include "../../reportdata/Reglas.h"
#include "../../reportdata/Reportes.h"
#include "../../ui/viewer/Formulas.h"
#include "../App.h"
#include "../Globales.h"
#include "../ParaPluginsPortables.h"
#include "../Principal.h"
#include "../TablaTemporal.h"

namespace {

const char* const kNombres[] = {"mes", "linea", "vendedor"};

bool Configura(const Pedido& p) {
    if (p.SinConfiguracion()) {
        oBasesDD->cPassword.clear();
    } else {
        cArchivoIni = p.config.isEmpty() ? App::Archivo("Miravel.ini") : p.config;
        if (!LeeConfiguracion(*oLibreria, *oRegistro, *oBasesDD, cArchivoIni)) return false;
    }
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

void Escribe(const QString& archivo, const QByteArray& datos) {
    QSaveFile f(archivo);
    if (!f.open(QIODevice::WriteOnly) || f.write(datos) < 0 || !f.commit())
        throw RuntimeError(75, "No se pudo escribir el archivo " + archivo + ".");
}

QByteArray Json(const Pedido& p, const report::ReportContent& c, int reporte, bool tieneDatos) {
    const reportdata::Seleccion& s = p.seleccion;
    QJsonObject seleccion{{"ventas", s.documentos.value(s.tipo)}, {"vendedor", s.vendedor}};
    if (reporte == 2) {
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
    const QJsonObject o{{"reporte", kNombres[reporte]},
                        {"seleccion", seleccion},
                        {"etiquetas", etiquetas},
                        {"tieneDatos", reporte == 2 ? QJsonValue(tieneDatos) : QJsonValue()},
                        {"columnas", columnas},
                        {"filas", filas}};
    return QJsonDocument(o).toJson();
}

void Produce(const Pedido& p, ado::Connection& conexion, QString& cTabla) {
    const int reporte = p.reporte;
    bool tieneDatos = false;
    if (reporte == 0) reportdata::LlenaTablaXmes(p.seleccion, conexion, cTabla);
    if (reporte == 1) reportdata::LlenaTablaXlinea(p.seleccion, conexion, cTabla);
    if (reporte == 2)
        tieneDatos =
            reportdata::LlenaTablaXvend(p.seleccion, conexion, cTabla, [](const QString& aviso) {
                std::fprintf(stderr, "%s\n", aviso.toLocal8Bit().constData());
            });

    report::Application aplicacion;
    aplicacion.LogOnServer(oBasesDD->cRuta, oBasesDD->cPuerto, oBasesDD->cUsuario,
                           oBasesDD->cPassword);
    auto reporteAbierto =
        aplicacion.OpenReport(App::Archivo(reportdata::kReportes[reporte].archivo), 1);
    reporteAbierto->DatabaseTables(1).SetLocation(oBasesDD->cMiBase + "." + cTabla);
    reporteAbierto->SetSelection(reportdata::DescribeSeleccion(reporte, p.seleccion));
    AsignaFormulas(*reporteAbierto, static_cast<quint8>(reporte), tieneDatos);
    const report::ReportPages paginas(reporteAbierto->Read());
    if (!p.pdf.isEmpty()) report::ExportPdf(paginas, p.pdf);
    if (!p.png.isEmpty()) report::ExportPng(paginas, p.png);
    if (!p.csv.isEmpty()) report::ExportCsv(paginas, p.csv);
    if (!p.json.isEmpty()) Escribe(p.json, Json(p, paginas.Content(), reporte, tieneDatos));
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
    TablaTemporal trabajo(conexion, reportdata::kReportes[p.reporte].estructura);
    Produce(p, conexion, trabajo.cTabla);
    trabajo.Borra();
    return 0;
}
