#pragma once
#include <QString>

#include "reportdata/Plan.h"
#include "tramo5/tramo5.h"

// Where the host product lives on this kind of system when the configuration names nothing.
#ifdef Q_OS_WIN
inline const QString kRutaOrvaloPredeterminada = "C:\\orvalo";
#else
inline const QString kRutaOrvaloPredeterminada = "/opt/orvalo";
#endif

// Miravel.ini beside the program when it is there or the folder may be written; otherwise the
// user's own ~/.config/Miravel/Miravel.ini. Only the path: nothing is made.
QString ArchivoDeConfiguracion();
// The host's settings file in its installation folder.
QString ArchivoDelHost(const QString& rutaDeOrvalo);

QString LeeValorIni(const QString& seccion, const QString& clave, const QString& predeterminado,
                    tramo5::libKZCM& libreria, const QString& archivo);
// The optional keys of [Configuración]: read, never written.
reportdata::Plan LeePlan(tramo5::libKZCM& libreria, const QString& archivoIni);
// The read server ("host[:port]") the grouped plans read the sales on; empty: none.
QString LeeServidorLectura(tramo5::libKZCM& libreria, const QString& archivoIni);
// How long to wait for the server, in seconds: to accept a session and for any one answer; and
// how far behind the main server the read server may be.
inline const QString kEsperaConexion = "Espera de conexión";
inline const QString kEsperaConsulta = "Espera de consulta";
inline constexpr int kEsperaConexionOmision = 10;
inline constexpr int kEsperaConsultaOmision = 600;
void LeeEsperas(tramo5::libKZCM& libreria, const QString& archivoIni);
// The salesperson report's progress messages as boxes ("Mensajes de avance", absent or "Sí"),
// or as the progress window's text ("No").
bool LeeMensajesDeAvance(tramo5::libKZCM& libreria, const QString& archivoIni);

// The window completes missing settings in both files and may ask to edit its own; the command
// takes the defaults in memory, writes nothing, asks nothing, and a missing host folder key is
// an error naming the file.
enum class Ajustes { Completa, SoloLee };
bool LeeConfiguracion(tramo5::libKZCM& libreria, tramo5::DelRegistro& registro,
                      tramo5::BasesDD& bases, const QString& archivoIni,
                      Ajustes ajustes = Ajustes::Completa);
