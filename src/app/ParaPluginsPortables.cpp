#include "app/ParaPluginsPortables.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/ado/Connection.h"
#include "platform/vb/App.h"
#include "platform/vb/Errores.h"
#include "platform/vb/MsgBox.h"
#include "platform/vb/RuntimeError.h"
#include "reportdata/Globales.h"
#include "reportdata/Lectura.h"

QString LeeValorIni(const QString& seccion, const QString& clave, const QString& predeterminado,
                    tramo5::libKZCM& libreria, const QString& archivo) {
    QString valor = libreria.LeeIni(seccion, clave, archivo);
    if (!valor.isEmpty()) return valor;
    libreria.EscribeIni(seccion, clave, predeterminado, archivo);
    valor = libreria.LeeIni(seccion, clave, archivo);
    // A file that cannot keep the value must not make us ask again and again.
    return valor.isEmpty() ? predeterminado : valor;
}

namespace {

bool RutaIncorrecta(const QString& archivoIni, const QString& ruta, Ajustes ajustes) {
    const QString cr(QChar(13));
    MsgBox("En el archivo de configuración de este programa" + cr + cr + "(" + archivoIni + ")" +
               cr + cr + "debe indicarse la ruta correcta de Orvalo." + cr +
               "Ruta indicada e incorrecta: " + cr + cr + ruta,
           vbCritical, "Atención");
    if (ajustes == Ajustes::Completa && MsgBox("¿Desea editar el archivo de configuración?",
                                               vbQuestion | vbYesNo, "Editar INI") == vbYes) {
        oArchivos->AbreDocumento(archivoIni, 0, 1);
    }
    return false;
}

// A key of [Configuración]: completed with its default by the window, only read by the command.
QString Valor(const QString& clave, const QString& predeterminado, tramo5::libKZCM& libreria,
              const QString& archivoIni, Ajustes ajustes) {
    if (ajustes == Ajustes::Completa)
        return LeeValorIni("Configuración", clave, predeterminado, libreria, archivoIni);
    const QString valor = libreria.LeeIni("Configuración", clave, archivoIni);
    return valor.isEmpty() ? predeterminado : valor;
}

}  // namespace

bool LeeConfiguracion(tramo5::libKZCM& libreria, tramo5::DelRegistro& registro,
                      tramo5::BasesDD& bases, const QString& archivoIni, Ajustes ajustes) {
    if (ajustes == Ajustes::SoloLee &&
        libreria.LeeIni("Configuración", "Ruta de Orvalo", archivoIni).isEmpty())
        throw RuntimeError(vbError::kArgumentoNoValido,
                           "falta la clave «Ruta de Orvalo» en [Configuración] de " + archivoIni);
    QString ruta =
        Valor("Ruta de Orvalo", kRutaOrvaloPredeterminada, libreria, archivoIni, ajustes);
    if (registro.BuscarRegistroORW(ruta).isEmpty())
        return RutaIncorrecta(archivoIni, ruta, ajustes);

    bases.cPuerto = "3306";
    bases.cPassword = "";
    bases.cUsuario = "root";

    // Each host setting, its default when empty: stored by the window, held in memory by the
    // command.
    auto ajuste = [&](const QString& clave, bool vacio, const QString& omision) {
        if (!vacio) return registro.DatosORW(clave);
        if (ajustes == Ajustes::SoloLee) return omision;
        registro.GuardaDatosORW(clave, omision);
        return registro.DatosORW(clave);
    };
    auto blanco = [&](const QString& clave) {
        return registro.DatosORW(clave).trimmed().isEmpty();
    };
    const QString puerto =
        ajuste("MySQLPuerto", libreria.kzVal(registro.DatosORW("MySQLPuerto")) == 0, bases.cPuerto);
    const QString servidor =
        ajuste("MySQLServer", blanco("MySQLServer"), registro.DatosORW("servidor"));
    const QString usuario =
        ajuste("MySQLUsuario", blanco("MySQLUsuario"), oUtilerias->Encripta(bases.cUsuario));
    const QString clave =
        ajuste("MySQLPassword", blanco("MySQLPassword"), oUtilerias->Encripta(bases.cPassword));

    // A value that is not a cipher text names its key and file instead of standing for another.
    auto descifra = [&](const QString& nombre, const QString& cifrado) {
        try {
            return oUtilerias->DesEncripta(cifrado);
        } catch (const RuntimeError& e) {
            throw RuntimeError(
                e.Number(), "«" + nombre + "» en " + ArchivoDelHost(ruta) + ": " + e.Description());
        }
    };
    bases.cPassword = descifra("MySQLPassword", clave);
    bases.cUsuario = descifra("MySQLUsuario", usuario);
    bases.cPuerto = puerto;
    bases.cRuta = servidor;

    bases.cMiBase = Valor("Base de datos a usar", "datos1", libreria, archivoIni, ajustes);
    return true;
}

reportdata::Plan LeePlan(tramo5::libKZCM& libreria, const QString& archivoIni) {
    return reportdata::PlanDe(libreria.LeeIni("Configuración", reportdata::kClavePlan, archivoIni),
                              archivoIni);
}

QString LeeServidorLectura(tramo5::libKZCM& libreria, const QString& archivoIni) {
    return reportdata::ServidorDeLectura(
        libreria.LeeIni("Configuración", reportdata::kClaveLectura, archivoIni), archivoIni);
}

void LeeEsperas(tramo5::libKZCM& libreria, const QString& archivoIni) {
    auto segundos = [&](const QString& clave, int omision) {
        const QString valor = libreria.LeeIni("Configuración", clave, archivoIni).trimmed();
        bool numero = false;
        const int s = valor.toInt(&numero);
        if (valor.isEmpty()) return omision;
        if (!numero || s < 1)
            throw RuntimeError(vbError::kArgumentoNoValido,
                               "«" + clave + "» en " + archivoIni + " vale «" + valor +
                                   "»: debe ser un número entero de segundos.");
        return s;
    };
    ado::Connection::SetTimeouts(segundos(kEsperaConexion, kEsperaConexionOmision),
                                 segundos(kEsperaConsulta, kEsperaConsultaOmision));
    reportdata::nRetrasoMaximoLectura =
        segundos(reportdata::kClaveRetraso, reportdata::kRetrasoOmision);
}

QString ArchivoDelHost(const QString& rutaDeOrvalo) {
    return QDir(rutaDeOrvalo).filePath("Orvalo.ini");
}

QString ArchivoDeConfiguracion() {
    const QString junto = App::Archivo("Miravel.ini");
    // An administrator's file beside the program serves every user; a program folder the user
    // may write (a build or a portable copy) keeps its file there as always.
    if (QFileInfo::exists(junto) || QFileInfo(App::Path()).isWritable()) return junto;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           "/Miravel/Miravel.ini";
}

bool LeeMensajesDeAvance(tramo5::libKZCM& libreria, const QString& archivoIni) {
    return libreria.LeeIni("Configuración", "Mensajes de avance", archivoIni).trimmed().toLower() !=
           "no";
}
