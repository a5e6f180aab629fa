#include "platform/report/ReportDefinition.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"

namespace report {
namespace {

struct Lector {
    QString path;

    [[noreturn]] void Falla(const QString& problema) const {
        throw RuntimeError(vbError::kArchivoDeReporte,
                           "El archivo de reporte " + path + " no es válido: " + problema);
    }
    QString Texto(const QJsonObject& o, const QString& clave, bool obligatorio) const {
        const QJsonValue v = o.value(clave);
        if (v.isUndefined() && !obligatorio) return {};
        if (!v.isString() || (obligatorio && v.toString().isEmpty()))
            Falla("falta el texto \"" + clave + "\".");
        return v.toString();
    }
};

}  // namespace

ReportDefinition ReadReportFile(const QString& path) {
    const Lector l{path};
    QFile archivo(path);
    if (!archivo.open(QIODevice::ReadOnly))
        throw RuntimeError(vbError::kArchivoNoEncontrado,
                           "No se encontró el archivo de reporte: " + path);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(archivo.readAll(), &error);
    if (error.error != QJsonParseError::NoError)
        l.Falla(QString("%1 (posición %2).").arg(error.errorString()).arg(error.offset));
    if (!doc.isObject()) l.Falla("no es un objeto JSON.");
    const QJsonObject o = doc.object();

    ReportDefinition d;
    d.titulo = l.Texto(o, "titulo", true);
    d.tabla = l.Texto(o, "tabla", true);
    for (const QJsonValue& f : o.value("formulas").toArray()) {
        if (!f.isString() || f.toString().isEmpty()) l.Falla("cada fórmula necesita un nombre.");
        d.formulas << f.toString();
    }
    const QJsonObject filas = o.value("filas").toObject();
    d.filasColumna = l.Texto(filas, "columna", true);
    d.filasTitulo = l.Texto(filas, "titulo", false);
    if (d.filasTitulo.isEmpty()) d.filasTitulo = d.filasColumna;
    d.orden = l.Texto(filas, "orden", false);
    if (filas.contains("nombres")) {
        const QJsonObject nombres = filas.value("nombres").toObject();
        d.nombresTabla = l.Texto(nombres, "tabla", true);
        d.nombresClave = l.Texto(nombres, "clave", true);
        d.nombresColumna = l.Texto(nombres, "columna", true);
    }

    const QJsonArray columnas = o.value("columnas").toArray();
    if (columnas.isEmpty()) l.Falla("falta la lista \"columnas\".");
    for (const QJsonValue& c : columnas) {
        const QJsonObject co = c.toObject();
        ColumnDefinition col{l.Texto(co, "columna", true), l.Texto(co, "rotulo", false),
                             l.Texto(co, "formula", false)};
        if (co.contains("rotulo") == co.contains("formula"))
            l.Falla("la columna " + col.columna + " necesita \"rotulo\" o \"formula\", uno solo.");
        if (!col.formula.isEmpty() && !d.formulas.contains(col.formula))
            l.Falla("la columna " + col.columna + " nombra la fórmula desconocida " + col.formula +
                    ".");
        d.columnas << col;
    }
    const QString series = l.Texto(o, "series", true);
    if (series != "filas" && series != "columnas")
        l.Falla("\"series\" debe ser \"filas\" o \"columnas\".");
    d.seriesSonFilas = series == "filas";
    d.ejeCategorias = l.Texto(o, "ejeCategorias", false);
    d.sinDatos = l.Texto(o, "sinDatos", false);
    auto booleano = [&](const QString& clave) {
        const QJsonValue v = o.value(clave);
        if (!v.isUndefined() && !v.isBool()) l.Falla("\"" + clave + "\" debe ser true o false.");
        return v.toBool();
    };
    d.tablaTranspuesta = booleano("tablaTranspuesta");
    d.cambio = booleano("cambio");
    // A change compares the periods the chart shows as its series, the table's columns.
    if (d.cambio && d.seriesSonFilas != d.tablaTranspuesta)
        l.Falla("\"cambio\" pide que las columnas de la tabla sean las series de la gráfica.");
    if (!d.sinDatos.isEmpty() && !d.formulas.contains(d.sinDatos))
        l.Falla("\"sinDatos\" nombra la fórmula desconocida " + d.sinDatos + ".");
    return d;
}

}  // namespace report
