#include "app/export/Pedido.h"

#include <QCommandLineParser>
#include <QDate>
#include <QRegularExpression>
#include <QSet>

#include "platform/report/Export.h"
#include "platform/vb/SaveFile.h"
#include "reportdata/Reglas.h"

namespace {
// A whole number in plain decimal digits that fits an int.
bool Entero(const QString& texto) {
    static const QRegularExpression digitos("^[0-9]{1,9}$");
    return digitos.match(texto).hasMatch();
}

// Every output is a new path or a regular file, and so is whatever bears the name of a PNG
// page the run may write or take away; at most one output is standard output, never the PNG
// pages.
void CompruebaSalidas(const Pedido& p) {
    int estandar = 0;
    for (const auto& [opcion, archivo] :
         {std::pair{"--pdf", p.pdf}, std::pair{"--png", p.png}, std::pair{"--csv", p.csv},
          std::pair{"--json", p.json}, std::pair{"--xlsx", p.xlsx}}) {
        if (archivo == "-" && QString(opcion) == "--png")
            throw ErrorDeUso("--png escribe un archivo por página: no va a la salida estándar");
        if (archivo == "-" && ++estandar > 1)
            throw ErrorDeUso("solo una salida puede ir a la salida estándar (-)");
        if (archivo.isEmpty() || archivo == "-") continue;
        QStringList rutas{archivo};
        if (QString(opcion) == "--png") rutas += report::PngPagesThere(archivo).values();
        for (const QString& ruta : rutas)
            if (const QString motivo = WhyNotWritable(ruta); !motivo.isEmpty())
                throw ErrorDeUso(QString(opcion) + ": " + ruta + " " + motivo);
    }
}
}  // namespace

namespace {

// The command's options: names, what each is for, the name of its value, and the field of the
// request it fills, where it fills one as given.
struct Opcion {
    QString nombre, ayuda, valor;
    QString Pedido::*campo = nullptr;
};
const Opcion kOpciones[] = {
    {"reporte", "El reporte: mes, linea o vendedor.", "REPORTE"},
    {"anio", "Año final (mes, linea); el actual si falta.", "AAAA"},
    {"desde", "Fecha inicial (vendedor); el primer día del mes si falta.", "DD/MM/AAAA"},
    {"hasta", "Fecha final (vendedor); hoy si falta.", "DD/MM/AAAA"},
    {"ventas", "facturas, remisiones o ambas; ambas si falta.", "VENTAS"},
    {"vendedor", "Solo las ventas de este vendedor.", "CLAVE"},
    {"linea", "Solo esta línea de productos (vendedor); con --detalle, la línea de la cifra.",
     "ID"},
    {"mes", "Con --detalle en el reporte mes: el mes de la cifra (1 a 12).", "M"},
    {"pdf", "Escribe el reporte en PDF.", "ARCHIVO", &Pedido::pdf},
    {"png",
     "Una imagen por página: r.png, r-2.png, r-3.png...; quita las páginas de más que una "
     "exportación anterior a ese nombre dejó.",
     "ARCHIVO", &Pedido::png},
    {"csv", "La tabla de cifras en CSV.", "ARCHIVO", &Pedido::csv},
    {"json", "Las cifras en JSON.", "ARCHIVO", &Pedido::json},
    {"xlsx", "Un libro de Excel con la tabla y la gráfica.", "ARCHIVO", &Pedido::xlsx},
    {"config", "El Miravel.ini a leer.", "ARCHIVO", &Pedido::config},
    {"servidor", "Servidor MySQL, en lugar del de la configuración.", "H", &Pedido::servidor},
    {"puerto", "Su puerto.", "N", &Pedido::puerto},
    {"usuario", "Su usuario.", "U", &Pedido::usuario},
    {"base", "La base de datos de ventas.", "B", &Pedido::base},
    {"plan", "fiel o agrupado; consultas agrupadas si falta.", "PLAN", &Pedido::plan},
    {"servidor-lectura", "Réplica donde leer las ventas (plan agrupado).", "H[:N]",
     &Pedido::servidorLectura},
    {"retraso-maximo-lectura",
     "Segundos que la réplica puede ir detrás del servidor principal; si va más, o no se sabe, "
     "se lee el principal. 30 si falta.",
     "S", &Pedido::retrasoMaximoLectura},
    {"espera-conexion", "Segundos de espera al conectar; 10 si falta.", "S",
     &Pedido::esperaConexion},
    {"espera-consulta", "Segundos de espera de cada respuesta; 600 si falta.", "S",
     &Pedido::esperaConsulta},
};
// Options whose value may be given empty: it is then judged as any other value.
const QStringList kPuedenIrVacias{"linea", "anio", "vendedor"};

void Prepara(QCommandLineParser& lector) {
    lector.setApplicationDescription(
        "Los reportes gráficos de ventas de Orvalo sin ventana.\n"
        "ARCHIVO - escribe en la salida estándar (una sola salida; no --png).\n"
        "La contraseña del servidor se toma de la variable de entorno MIRAVEL_CLAVE.");
    lector.addOption(QCommandLineOption({"h", "help"}, "Muestra esta ayuda."));
    lector.addOption(QCommandLineOption("version", "Muestra la versión."));
    lector.addOption(QCommandLineOption(
        "detalle",
        "Los documentos de una cifra en lugar del reporte (--csv, --xlsx o --json): la "
        "de --anio y --mes, --linea o --vendedor; sin ellas, su total."));
    for (const Opcion& o : kOpciones)
        lector.addOption(QCommandLineOption(o.nombre, o.ayuda, o.valor));
}

}  // namespace

QString UsoExporta() {
    QCommandLineParser lector;
    Prepara(lector);
    return lector.helpText();
}

Pedido LeePedido(const QStringList& argumentos) {
    Pedido p;
    QCommandLineParser lector;
    Prepara(lector);
    if (!lector.parse(QStringList{"miravel-export"} + argumentos)) {
        if (!lector.unknownOptionNames().isEmpty())
            throw ErrorDeUso("opción desconocida: --" + lector.unknownOptionNames().first());
        // The parser takes the word after an option as its value: only the last can lack one.
        throw ErrorDeUso("falta el valor de " + argumentos.value(argumentos.size() - 1));
    }
    p.ayuda = lector.isSet("help");
    p.detalle = lector.isSet("detalle");
    p.version = lector.isSet("version");
    if (p.ayuda || p.version) return p;

    const QDate hoy = QDate::currentDate();
    reportdata::Seleccion& s = p.seleccion;
    QSet<QString> dadas;
    for (const Opcion& o : kOpciones)
        if (lector.isSet(o.nombre)) {
            dadas << o.nombre;
            if (lector.value(o.nombre).isEmpty() && !kPuedenIrVacias.contains(o.nombre))
                throw ErrorDeUso("falta el valor de --" + o.nombre + ": se dio vacío");
            if (o.campo) p.*o.campo = lector.value(o.nombre);
        }
    auto valor = [&](const QString& nombre, const QString& omision = {}) {
        return dadas.contains(nombre) ? lector.value(nombre) : omision;
    };
    s.año = valor("anio", hoy.toString("yyyy"));
    p.anio = valor("anio");
    s.fechaInicial = valor("desde", "01/" + hoy.toString("MM/yyyy"));
    s.fechaFinal = valor("hasta", hoy.toString("dd/MM/yyyy"));
    s.vendedor = valor("vendedor");
    const QString reporte = valor("reporte"), ventas = valor("ventas", "ambas"),
                  linea = valor("linea");

    for (const reportdata::Reporte& r : reportdata::kReportes)
        if (r.clave == reporte) p.reporte = &r;
    if (!p.reporte)
        throw ErrorDeUso(reporte.isEmpty() ? "falta --reporte" : "reporte desconocido: " + reporte);
    s.tipo = QStringList{"facturas", "remisiones", "ambas"}.indexOf(ventas.toLower());
    if (s.tipo < 0)
        throw ErrorDeUso("--ventas debe ser facturas, remisiones o ambas, no " + ventas);
    if (dadas.contains("linea") && !p.reporte->porFechas &&
        !(p.detalle && p.reporte->tipo == reportdata::TipoReporte::PorLinea))
        throw ErrorDeUso("--linea se aplica solo al reporte vendedor, no a " + reporte);
    if (dadas.contains("mes")) {
        p.mes = valor("mes").toInt();
        if (!p.detalle || p.reporte->tipo != reportdata::TipoReporte::PorMes)
            throw ErrorDeUso("--mes se aplica solo con --detalle al reporte mes");
        if (!Entero(valor("mes")) || p.mes < 1 || p.mes > 12)
            throw ErrorDeUso("--mes debe ser un mes de 1 a 12, no «" + valor("mes") + "»");
    }
    if (p.detalle && (!p.pdf.isEmpty() || !p.png.isEmpty()))
        throw ErrorDeUso("--detalle escribe la lista de documentos: en --csv, --xlsx o --json");
    if (dadas.contains("linea")) {
        if (!Entero(linea) || linea.toInt() < 1)
            throw ErrorDeUso("--linea debe ser el número entero de una línea, no «" + linea + "»");
        s.linea = linea.toInt();
    }
    // The three years of the report must be dates: from year 1 to year 9999.
    if (dadas.contains("anio") && (!Entero(s.año) || s.año.toInt() < 3 || s.año.toInt() > 9999))
        throw ErrorDeUso("--anio debe ser un año entero de 3 a 9999, no «" + s.año + "»");
    for (const auto& [opcion, segundos] :
         {std::pair{"espera-conexion", p.esperaConexion},
          std::pair{"espera-consulta", p.esperaConsulta},
          std::pair{"retraso-maximo-lectura", p.retrasoMaximoLectura}})
        if (dadas.contains(opcion) && (!Entero(segundos) || segundos.toInt() < 1))
            throw ErrorDeUso("--" + QString(opcion) +
                             " debe ser un número entero de segundos, no «" + segundos + "»");
    bool numero = false;
    const int puerto = p.puerto.toInt(&numero);
    if (!p.puerto.isEmpty() && (!numero || puerto < 1 || puerto > 65535))
        throw ErrorDeUso("puerto no válido: " + p.puerto);
    CompruebaSalidas(p);
    return p;
}

void CompruebaPedido(const Pedido& p) {
    const reportdata::Seleccion& s = p.seleccion;
    for (const auto& [opcion, fecha] :
         {std::pair{"--desde", s.fechaInicial}, std::pair{"--hasta", s.fechaFinal}})
        if (!reportdata::FechaValida(fecha))
            throw ErrorDeUso(QString(opcion) + ": fecha no válida: «" + fecha + "» (DD/MM/AAAA)");
    // The period starts two years before --desde.
    if (reportdata::FechaDe(s.fechaInicial).year() < 3)
        throw ErrorDeUso("--desde: la fecha «" + s.fechaInicial +
                         "» deja el periodo antes del año 1; debe ser del año 3 en adelante");
    if (p.reporte->porFechas &&
        reportdata::MesesEntre(s.fechaInicial, s.fechaFinal) > reportdata::kMaximoMesesVendedor)
        throw ErrorDeUso(reportdata::kMensajeMesesExcedidos);
}
