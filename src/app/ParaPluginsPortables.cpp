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

bool RutaIncorrecta(const QString& archivoIni, const QString& ruta) {
    const QString cr(QChar(13));
    MsgBox("En el archivo de configuración de este programa" + cr + cr + "(" + archivoIni + ")" +
               cr + cr + "debe indicarse la ruta correcta de Orvalo." + cr +
               "Ruta indicada e incorrecta: " + cr + cr + ruta,
           vbCritical, "Atención");
    if (MsgBox("¿Desea editar el archivo de configuración?", vbQuestion | vbYesNo, "Editar INI") ==
        vbYes) {
        oArchivos->AbreDocumento(archivoIni, 0, 1);
    }
    return false;
}

}  // namespace

bool LeeConfiguracion(tramo5::libKZCM& libreria, tramo5::DelRegistro& registro,
                      tramo5::BasesDD& bases, const QString& archivoIni) {
    QString ruta = LeeValorIni("Configuración", "Ruta de Orvalo", kRutaOrvaloPredeterminada,
                               libreria, archivoIni);
    if (registro.BuscarRegistroORW(ruta).isEmpty()) return RutaIncorrecta(archivoIni, ruta);

    bases.cPuerto = "3306";
    bases.cPassword = "";
    bases.cUsuario = "root";

    if (libreria.kzVal(registro.DatosORW("MySQLPuerto")) == 0)
        registro.GuardaDatosORW("MySQLPuerto", bases.cPuerto);
    if (registro.DatosORW("MySQLServer").trimmed().isEmpty())
        registro.GuardaDatosORW("MySQLServer", registro.DatosORW("servidor"));
    if (registro.DatosORW("MySQLUsuario").trimmed().isEmpty())
        registro.GuardaDatosORW("MySQLUsuario", oUtilerias->Encripta(bases.cUsuario));
    if (registro.DatosORW("MySQLPassword").trimmed().isEmpty())
        registro.GuardaDatosORW("MySQLPassword", oUtilerias->Encripta(bases.cPassword));

    bases.cPassword = oUtilerias->DesEncripta(registro.DatosORW("MySQLPassword"));
    bases.cUsuario = oUtilerias->DesEncripta(registro.DatosORW("MySQLUsuario"));
    bases.cPuerto = registro.DatosORW("MySQLPuerto");
    bases.cRuta = registro.DatosORW("MySQLServer");

    bases.cMiBase =
        LeeValorIni("Configuración", "Base de datos a usar", "datos1", libreria, archivoIni);
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
}

QString ArchivoDeConfiguracion() {
    const QString junto = App::Archivo("Miravel.ini");
    // An administrator's file beside the program serves every user; a program folder the user
    // may write (a build or a portable copy) keeps its file there as always.
    if (QFileInfo::exists(junto) || QFileInfo(App::Path()).isWritable()) return junto;
    const QString carpeta =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Miravel";
    QDir().mkpath(carpeta);
    return carpeta + "/Miravel.ini";
}

bool LeeMensajesDeAvance(tramo5::libKZCM& libreria, const QString& archivoIni) {
    return libreria.LeeIni("Configuración", "Mensajes de avance", archivoIni).trimmed().toLower() !=
           "no";
}
