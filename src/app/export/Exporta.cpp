#include "app/export/Exporta.h"

#include <sys/ioctl.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>
#include <cstdio>
#include <functional>

#include "app/ParaPluginsPortables.h"
#include "app/Principal.h"
#include "app/Senales.h"
#include "platform/ado/Connection.h"
#include "platform/report/Export.h"
#include "platform/report/ExportXlsx.h"
#include "platform/report/Listado.h"
#include "platform/report/ReportPages.h"
#include "platform/vb/App.h"
#include "platform/vb/RuntimeError.h"
#include "platform/vb/SaveFile.h"
#include "reportdata/Detalle.h"
#include "reportdata/Globales.h"
#include "reportdata/Informe.h"
#include "reportdata/Lectura.h"
#include "reportdata/Plantillas.h"
#include "reportdata/Reglas.h"
#include "reportdata/Trabajo.h"

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

// The command reads its settings and never writes them: a file that is not there, not
// readable or incomplete is bad input.
bool Configura(Pedido& p) {
    if (!p.config.isEmpty() && !QFileInfo::exists(p.config))
        throw ErrorDeUso("no existe el archivo de configuración " + p.config);
    if (p.SinConfiguracion()) {
        oBasesDD->cPassword.clear();
    } else {
        cArchivoIni = p.config.isEmpty() ? ArchivoDeConfiguracion() : p.config;
        QFile archivo(cArchivoIni);
        if (QFileInfo(cArchivoIni).isDir() || !archivo.open(QIODevice::ReadOnly))
            throw ErrorDeUso("no se puede leer el archivo de configuración " + cArchivoIni);
        try {
            if (!LeeConfiguracion(*oLibreria, *oRegistro, *oBasesDD, cArchivoIni, Ajustes::SoloLee))
                return false;
        } catch (const RuntimeError& e) {
            throw ErrorDeUso(e.Description());
        }
    }
    p.planDeConsultas = PlanDe(p);
    try {
        if (!p.SinConfiguracion()) LeeEsperas(*oLibreria, cArchivoIni);
        reportdata::cServidorLectura =
            !p.servidorLectura.isEmpty()
                ? reportdata::ServidorDeLectura(p.servidorLectura, "--servidor-lectura")
            : p.SinConfiguracion() ? QString()
                                   : LeeServidorLectura(*oLibreria, cArchivoIni);
        reportdata::CompruebaPlan(p.planDeConsultas, reportdata::cServidorLectura);
    } catch (const RuntimeError& e) {
        throw ErrorDeUso(e.Description());
    }
    if (!p.esperaConexion.isEmpty() || !p.esperaConsulta.isEmpty())
        ado::Connection::SetTimeouts(
            p.esperaConexion.isEmpty() ? kEsperaConexionOmision : p.esperaConexion.toInt(),
            p.esperaConsulta.isEmpty() ? kEsperaConsultaOmision : p.esperaConsulta.toInt());
    if (!p.retrasoMaximoLectura.isEmpty())
        reportdata::nRetrasoMaximoLectura = p.retrasoMaximoLectura.toInt();
    auto sustituye = [](QString& destino, const QString& valor) {
        if (!valor.isEmpty()) destino = valor;
    };
    sustituye(oBasesDD->cRuta, p.servidor);
    sustituye(oBasesDD->cPuerto, p.puerto);
    sustituye(oBasesDD->cUsuario, p.usuario);
    sustituye(oBasesDD->cMiBase, p.base);
    // With no server the client would take the local socket: some other server, or none.
    if (oBasesDD->cRuta.trimmed().isEmpty())
        throw ErrorDeUso(
            ArchivoDelHost(oLibreria->LeeIni("Configuración", "Ruta de Orvalo", cArchivoIni)) +
            " no dice a qué servidor conectarse: «MySQLServer» y «servidor» de [Orvalo] faltan o "
            "están vacíos (o dé --servidor)");
    if (qEnvironmentVariableIsSet("MIRAVEL_CLAVE"))
        oBasesDD->cPassword = qEnvironmentVariable("MIRAVEL_CLAVE");
    return true;
}

QByteArray Json(const Pedido& p, const report::ReportContent& c, const reportdata::Resultado& r) {
    const reportdata::Seleccion& s = p.seleccion;
    QJsonObject seleccion{{"ventas", s.documentos.value(s.tipo)}, {"vendedor", s.vendedor}};
    if (p.reporte->porFechas) {
        seleccion["desde"] = s.fechaInicial;
        seleccion["hasta"] = s.fechaFinal;
        seleccion["linea"] = s.linea.toString();
    } else {
        seleccion["anio"] = s.año;
    }
    QJsonArray etiquetas, columnas{c.tituloFilas}, filas;
    for (const QString& e : r.aEtiquetas) etiquetas << e;
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
        {"tieneDatos", p.reporte->porFechas ? QJsonValue(r.tieneDatos) : QJsonValue()},
        {"columnas", columnas},
        {"filas", filas}};
    return QJsonDocument(o).toJson();
}

// The report's steps on one line of a terminal, drawn again in place: a step longer than the
// line leaves is cut in the middle, since a line that wraps is not drawn again.
void MuestraAvance(const Pedido& p, const QString& paso, int hecho, int total,
                   const QElapsedTimer& reloj) {
    const int ancho = 20, lleno = total > 0 ? ancho * qBound(0, hecho, total) / total : 0;
    const QString antes =
        QString("[%1] %2 · ")
            .arg(QString(lleno, '#') + QString(ancho - lleno, '.'), p.reporte->nombre);
    const QString despues = QString(" · %1 s").arg(reloj.elapsed() / 1000.0, 0, 'f', 1);
    winsize terminal{};
    const int columnas =
        ioctl(STDERR_FILENO, TIOCGWINSZ, &terminal) == 0 && terminal.ws_col ? terminal.ws_col : 80;
    const int cabe = qMax(8, columnas - 1 - int(antes.size() + despues.size()));
    const QString texto =
        paso.size() <= cabe ? paso : paso.left(cabe / 2 - 1) + "…" + paso.right(cabe - cabe / 2);
    std::fprintf(stderr, "\r\033[K%s", qPrintable(antes + texto + despues));
    std::fflush(stderr);
}

// The outputs asked for, each with what writes it into the batch.
using Salidas = QList<std::pair<QString, std::function<void(const QString&, SaveFiles&)>>>;

Salidas DelReporte(const Pedido& p, const report::ReportPages& paginas,
                   const reportdata::Resultado& resultado) {
    return {{p.pdf, [&](const QString& f, SaveFiles& l) { report::ExportPdf(paginas, f, &l); }},
            {p.png, [&](const QString& f, SaveFiles& l) { report::ExportPng(paginas, f, &l); }},
            {p.csv, [&](const QString& f, SaveFiles& l) { report::ExportCsv(paginas, f, &l); }},
            {p.xlsx, [&](const QString& f, SaveFiles& l) { report::ExportXlsx(paginas, f, &l); }},
            {p.json, [&](const QString& f, SaveFiles& l) {
                 l.Add(f, Json(p, paginas.Content(), resultado));
             }}};
}

QByteArray JsonDetalle(const report::Listado& l) {
    QJsonArray columnas, documentos;
    for (const QString& c : l.columnas) columnas << c;
    double total = 0;
    for (const QVariantList& f : l.filas) {
        QJsonArray fila;
        for (const QVariant& v : f)
            fila << (v.typeId() == QMetaType::QDate ? QJsonValue(v.toDate().toString(Qt::ISODate))
                                                    : QJsonValue::fromVariant(v));
        documentos << fila;
        total += f.last().toDouble();
    }
    return QJsonDocument(QJsonObject{{"detalle", l.titulo},
                                     {"columnas", columnas},
                                     {"documentos", documentos},
                                     {"total", total}})
        .toJson();
}

Salidas DelDetalle(const Pedido& p, const report::Listado& l) {
    return {{p.csv, [&](const QString& f, SaveFiles& s) { report::ExportListadoCsv(l, f, &s); }},
            {p.xlsx, [&](const QString& f, SaveFiles& s) { report::ExportListadoXlsx(l, f, &s); }},
            {p.json, [&](const QString& f, SaveFiles& s) { s.Add(f, JsonDetalle(l)); }}};
}

// Writes every output asked for to its temporary file, then puts them all in place: a failure
// or a signal on the way (looked for between outputs and between pages) leaves every target as
// it was.
void Escribe(const Salidas& salidas, const Senales& senales) {
    SaveFiles lote;
    lote.StopWhen([&] {
        QCoreApplication::processEvents();  // a signal that came meanwhile
        return senales.Estado() != 0;
    });
    for (const auto& [archivo, escribe] : salidas)
        if (!archivo.isEmpty() && !lote.Stopped()) escribe(archivo, lote);
    lote.Commit();
}

// The figure --detalle names in the report's content: the final year's row and --mes or
// --linea's column (monthly and line reports), --vendedor's row and --anio's column (salesperson
// report); what is not named is the total.
reportdata::Cifra CifraPedida(const Pedido& p, const report::ReportContent& c,
                              ado::Connection& conexion) {
    reportdata::Cifra cifra;
    const reportdata::Seleccion& s = p.seleccion;
    if (!p.reporte->porFechas) {
        cifra.fila = c.filas.indexOf(QString::number(reportdata::AñoFinal(s)));
        cifra.columna = p.mes - 1;
        if (!s.linea.isNull()) {
            QSqlQuery q = conexion.Query("SELECT Linea FROM lineas WHERE Id=" + s.linea.toString());
            const QString nombre = q.next() ? q.value(0).toString() : QString();
            for (int i = 0; i < c.columnas.size(); ++i)
                if (c.columnas[i].compare(nombre, Qt::CaseInsensitive) == 0) cifra.columna = i;
            if (cifra.columna < 0)
                throw ErrorDeUso("--linea " + s.linea.toString() +
                                 ": la línea no tiene cifra en el reporte de esos años");
        }
        return cifra;
    }
    if (reportdata::HayVendedor(s)) cifra.fila = c.filas.isEmpty() ? -1 : 0;
    if (p.anio.isEmpty()) return cifra;
    const int y1 = reportdata::FechaDe(s.fechaInicial).year() - 2;
    cifra.columna = qMin(p.anio.toInt() - y1, 2);
    if (cifra.columna < 0 || p.anio.toInt() > reportdata::FechaDe(s.fechaFinal).year())
        throw ErrorDeUso("--anio " + p.anio + " no es un año del periodo del reporte");
    return cifra;
}

}  // namespace

int Exporta(const Pedido& pedido) {
    // First of all: a signal while the templates are renewed lets the renewal end in order.
    Senales senales;
    Pedido p = pedido;
    CreaObjetos();
    if (!Configura(p)) return 2;
    CompruebaPedido(p);
    p.seleccion.año = reportdata::AñoValido(p.seleccion.año);

    ado::Connection conexion;
    reportdata::PreparaPlantillas(conexion, !p.SinConfiguracion());
    QCoreApplication::processEvents();  // a signal that came meanwhile
    if (senales.Estado()) return senales.Estado();
    reportdata::NombraSeleccion(p.seleccion, conexion);
    // The work runs on its own session and thread; this one answers the signals and stops it.
    reportdata::Trabajo trabajo(*p.reporte, p.planDeConsultas, p.seleccion, conexion.Settings(),
                                [](const QString& aviso) {
                                    std::fprintf(stderr, "%s\n", aviso.toLocal8Bit().constData());
                                });
    const bool terminal = ErrorEsTerminal();
    QElapsedTimer reloj;
    reloj.start();
    QObject::connect(&trabajo, &reportdata::Trabajo::Avance, &trabajo,
                     [&](const QString& paso, int hecho, int total) {
                         if (terminal) MuestraAvance(p, paso, hecho, total, reloj);
                     });
    QObject::connect(&senales, &Senales::Llegada, &trabajo, &reportdata::Trabajo::Cancela);
    const reportdata::Desenlace desenlace = trabajo.Corre();
    if (terminal) std::fputs("\r\033[K", stderr);
    if (desenlace == reportdata::Desenlace::Cancelado) return senales.Estado();
    if (desenlace == reportdata::Desenlace::Fallido) std::rethrow_exception(trabajo.Falla());
    const reportdata::Resultado& resultado = trabajo.Resultados();
    const report::ReportPages paginas(reportdata::LeeInforme(
        *p.reporte, trabajo.Tabla(), resultado, p.seleccion,
        [&trabajo](const QString& sentencia) { return trabajo.Lee(sentencia); }));
    if (p.detalle) {
        const reportdata::Detalle detalle =
            reportdata::LeeDetalle(*p.reporte, p.seleccion, paginas.Content(), resultado,
                                   CifraPedida(p, paginas.Content(), conexion), conexion);
        Escribe(DelDetalle(p, reportdata::ComoListado(detalle)), senales);
    } else {
        Escribe(DelReporte(p, paginas, resultado), senales);
    }
    trabajo.Borra();
    return senales.Estado();
}
