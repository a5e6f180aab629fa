#include "platform/ado/ClientErrors.h"

#include "platform/ado/Connection.h"

namespace ado {

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
        case 1049:
            return QString(
                       "El servidor %1 no tiene la base de datos «%2», o el usuario no puede "
                       "usarla. Revise el nombre de la base de datos en la configuración.")
                .arg(servidor, settings.database);
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
