#include "platform/ado/ClientErrors.h"

#include <QRegularExpression>

#include "platform/ado/Connection.h"

namespace ado {
namespace {

// The pieces of the server's text the pattern captures, quotes dropped; empty when it differs.
QStringList Partes(const QString& texto, const char* patron) {
    const QRegularExpressionMatch m = QRegularExpression(patron).match(texto);
    QStringList partes;
    for (int i = 1; m.hasMatch() && i <= m.lastCapturedIndex(); ++i)
        partes << m.captured(i).remove('`').remove('\'');
    return partes;
}

// errcode 28 (ENOSPC) in the server's text.
bool SinEspacio(const QString& texto) {
    static const QRegularExpression errno28("(Errcode|errno|error):? 28\\b");
    return texto.contains(errno28);
}

}  // namespace

QString ExplainClientError(int number, const QString& serverText,
                           const ConnectionSettings& settings, bool connecting, int waited) {
    const QString servidor = settings.server + ":" + settings.port;
    if (waited > 0)
        return QString(
                   "El servidor %1 no respondió en %2 s. Revise que esté en marcha y sin "
                   "sobrecarga, o dé más tiempo a la espera.")
            .arg(servidor)
            .arg(waited);
    switch (number) {
        case 2002:
        case 2003:
            // The client says "(110)" when the server never answered, "(111)" when it refused.
            if (serverText.contains("(110)"))
                return QString(
                           "El servidor %1 no respondió al conectar. Revise que el equipo "
                           "esté encendido y que la red o un cortafuegos no lo impidan.")
                    .arg(servidor);
            return QString(
                       "El servidor %1 rechazó la conexión: no hay un servidor MySQL en ese "
                       "puerto. Revise que esté en marcha y que el servidor y el puerto de la "
                       "configuración sean los correctos.")
                .arg(servidor);
        case 2005:
            return QString(
                       "No se encontró el equipo «%1». Revise el nombre del servidor en la "
                       "configuración.")
                .arg(settings.server);
        case 1045:
            return QString(
                       "El servidor %1 no aceptó al usuario «%2» con la contraseña dada. "
                       "Revise el usuario y la contraseña.")
                .arg(servidor, settings.user);
        case 1044:
            if (const QStringList p = Partes(serverText, "to database (.+)$"); !p.isEmpty())
                return QString(
                           "El usuario «%1» no puede usar la base de datos «%2» en el servidor "
                           "%3. Pida al administrador los permisos que lista el README de "
                           "Miravel.")
                    .arg(settings.user, p[0], servidor);
            [[fallthrough]];
        case 1049:
            return QString(
                       "El servidor %1 no tiene la base de datos «%2», o el usuario no puede "
                       "usarla. Revise el nombre de la base de datos en la configuración.")
                .arg(servidor, settings.database);
        case 1142:
        case 1143:
            if (const QStringList p = Partes(serverText,
                                             "^(\\S+) command denied to user .* (?:for column (.+) "
                                             "in )?(?:for )?table (.+)$");
                !p.isEmpty())
                return QString(
                           "El usuario «%1» no tiene el permiso %2 sobre la tabla %3 en el "
                           "servidor %4. Pida al administrador que se lo dé: la lista de los "
                           "permisos que Miravel necesita está en su README.")
                    .arg(settings.user, p[0].toUpper(), p[2], servidor);
            break;
        case 1146:
            if (const QStringList p = Partes(serverText, "^Table (.+)\\.(.+) doesn't exist$");
                !p.isEmpty())
                return QString(
                           "No existe la tabla «%1» en la base de datos «%2» del servidor %3. "
                           "Revise que la base de datos de la configuración sea la de ventas de "
                           "Orvalo y que nadie haya borrado la tabla.")
                    .arg(p[1], p[0], servidor);
            break;
        case 1290:
            return QString(
                       "El servidor %1 es de solo lectura (read_only): no deja hacer las tablas "
                       "del reporte. Use el servidor principal; una réplica solo puede ser el "
                       "servidor de lectura.")
                .arg(servidor);
        case 1040:
            return QString(
                       "El servidor %1 tiene abiertas todas las conexiones que admite "
                       "(max_connections). Vuelva a intentarlo en un momento, o pida al "
                       "administrador que admita más.")
                .arg(servidor);
        case 1021:
        case 1114:
            return QString(
                       "El servidor %1 se quedó sin espacio en disco (o una tabla llegó a su "
                       "tamaño máximo). Pida al administrador que libere espacio en los discos "
                       "de datos y temporales del servidor y vuelva a intentarlo.")
                .arg(servidor);
        case 3:
        case 1030:
            if (SinEspacio(serverText))
                return ExplainClientError(1021, serverText, settings, connecting, waited);
            break;
        case 2006:
        case 2013:
            return connecting
                       ? QString(
                             "El servidor %1 aceptó la conexión pero no respondió. Revise que "
                             "sea un servidor MySQL y que no esté sobrecargado.")
                             .arg(servidor)
                       : QString(
                             "Se perdió la conexión con el servidor %1: se reinició, cerró la "
                             "sesión o se cortó la red. Vuelva a intentarlo.")
                             .arg(servidor);
    }
    return {};
}

}  // namespace ado
