#include "app/export/Pedido.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include "platform/vb/SaveFile.h"
#include "reportdata/Reglas.h"

const char* const kUsoExporta =
    "uso: miravel-export --reporte mes|linea|vendedor\n"
    "                    [--anio AAAA]                 año final (mes, linea); el actual si falta\n"
    "                    [--desde DD/MM/AAAA] [--hasta DD/MM/AAAA]   (vendedor); como al abrir la "
    "ventana\n"
    "                    [--ventas facturas|remisiones|ambas]        ambas si falta\n"
    "                    [--vendedor CLAVE] [--linea ID]   --linea solo con vendedor\n"
    "                    [--pdf ARCHIVO] [--png ARCHIVO] [--csv ARCHIVO] [--json ARCHIVO]\n"
    "                    [--xlsx ARCHIVO]      - escribe en la salida estándar (una sola salida)\n"
    "                    --png escribe una imagen por página: r.png, r-2.png, r-3.png...\n"
    "                    [--config ARCHIVO] [--servidor H] [--puerto N] [--usuario U] [--base B]\n"
    "                    [--plan fiel|agrupado]        consultas agrupadas si falta\n"
    "                    [--servidor-lectura H[:N]]    réplica donde leer las ventas (agrupado)\n"
    "                    [--espera-conexion S] [--espera-consulta S]  segundos; 10 y 600 si "
    "faltan\n"
    "La contraseña del servidor se toma de la variable de entorno MIRAVEL_CLAVE.\n";

namespace {
// A whole number in plain decimal digits that fits an int.
bool Entero(const QString& texto) {
    static const QRegularExpression digitos("^[0-9]{1,9}$");
    return digitos.match(texto).hasMatch();
}

// Every output is a new path or a regular file; at most one is standard output, never the PNG
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
        if (const QString motivo = WhyNotWritable(archivo); !motivo.isEmpty())
            throw ErrorDeUso(QString(opcion) + ": " + archivo + " " + motivo);
    }
}
}  // namespace

Pedido LeePedido(const QStringList& argumentos) {
    Pedido p;
    const QDate hoy = QDate::currentDate();
    reportdata::Seleccion& s = p.seleccion;
    s.año = hoy.toString("yyyy");
    s.fechaInicial = "01/" + hoy.toString("MM/yyyy");
    s.fechaFinal = hoy.toString("dd/MM/yyyy");

    const QHash<QString, QString*> valores{{"--anio", &s.año},
                                           {"--desde", &s.fechaInicial},
                                           {"--hasta", &s.fechaFinal},
                                           {"--vendedor", &s.vendedor},
                                           {"--pdf", &p.pdf},
                                           {"--png", &p.png},
                                           {"--csv", &p.csv},
                                           {"--json", &p.json},
                                           {"--xlsx", &p.xlsx},
                                           {"--config", &p.config},
                                           {"--servidor", &p.servidor},
                                           {"--puerto", &p.puerto},
                                           {"--usuario", &p.usuario},
                                           {"--base", &p.base},
                                           {"--plan", &p.plan},
                                           {"--servidor-lectura", &p.servidorLectura},
                                           {"--espera-conexion", &p.esperaConexion},
                                           {"--espera-consulta", &p.esperaConsulta}};
    QString reporte, ventas = "ambas", linea;
    QSet<QString> dadas;
    for (int i = 0; i < argumentos.size(); ++i) {
        const QString& a = argumentos[i];
        if (a == "--help" || a == "-h")
            p.ayuda = true;
        else if (a == "--version")
            p.version = true;
        else if (a == "--reporte" || a == "--ventas" || a == "--linea" || valores.contains(a)) {
            if (i + 1 >= argumentos.size()) throw ErrorDeUso("falta el valor de " + a);
            const QString v = argumentos[++i];
            if (v.isEmpty() && a != "--linea" && a != "--anio" && a != "--vendedor")
                throw ErrorDeUso("falta el valor de " + a + ": se dio vacío");
            dadas << a;
            if (a == "--reporte")
                reporte = v;
            else if (a == "--ventas")
                ventas = v;
            else if (a == "--linea")
                linea = v;
            else
                *valores[a] = v;
        } else {
            throw ErrorDeUso("opción desconocida: " + a);
        }
    }
    if (p.ayuda || p.version) return p;

    for (const reportdata::Reporte& r : reportdata::kReportes)
        if (r.clave == reporte) p.reporte = &r;
    if (!p.reporte)
        throw ErrorDeUso(reporte.isEmpty() ? "falta --reporte" : "reporte desconocido: " + reporte);
    s.tipo = QStringList{"facturas", "remisiones", "ambas"}.indexOf(ventas.toLower());
    if (s.tipo < 0)
        throw ErrorDeUso("--ventas debe ser facturas, remisiones o ambas, no " + ventas);
    if (dadas.contains("--linea") && !p.reporte->porFechas)
        throw ErrorDeUso("--linea se aplica solo al reporte vendedor, no a " + reporte);
    if (dadas.contains("--linea")) {
        if (!Entero(linea) || linea.toInt() < 1)
            throw ErrorDeUso("--linea debe ser el número entero de una línea, no «" + linea + "»");
        s.linea = linea.toInt();
    }
    // The three years of the report must be dates: from year 1 to year 9999.
    if (dadas.contains("--anio") && (!Entero(s.año) || s.año.toInt() < 3 || s.año.toInt() > 9999))
        throw ErrorDeUso("--anio debe ser un año entero de 3 a 9999, no «" + s.año + "»");
    for (const auto& [opcion, valor] : {std::pair{"--espera-conexion", p.esperaConexion},
                                        std::pair{"--espera-consulta", p.esperaConsulta}})
        if (dadas.contains(opcion) && (!Entero(valor) || valor.toInt() < 1))
            throw ErrorDeUso(QString(opcion) + " debe ser un número entero de segundos, no «" +
                             valor + "»");
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
