#include "platform/report/Guardado.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include "platform/report/ReportContent.h"
#include "platform/vb/MsgBox.h"
#include "platform/vb/RuntimeError.h"
#include "platform/vb/SaveFile.h"

namespace report {

namespace {
const char* const kCarpeta = "Exportar/Carpeta";
QSettings Estado() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "Miravel", "Visor");
}
}  // namespace

QString NombreDeCopia(const ReportContent& c) {
    return c.nombreArchivo.isEmpty() ? c.titulo : c.nombreArchivo;
}

QString CopiaPropuesta(const QString& nombre, const QString& tipo) {
    QString carpeta = Estado().value(kCarpeta).toString();
    if (carpeta.isEmpty() || !QFileInfo(carpeta).isDir())
        carpeta = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (carpeta.isEmpty() || !QFileInfo(carpeta).isDir()) carpeta = QDir::homePath();
    return carpeta + "/" + QString(nombre).replace('/', '-') + "." + tipo;
}

void RecuerdaCarpeta(const QString& archivo) {
    Estado().setValue(kCarpeta, QFileInfo(archivo).absolutePath());
}

void GuardaCopia(QWidget* padre, const QString& nombre, const QString& tipo,
                 const std::function<void(const QString& ruta)>& escribe) {
    QFileDialog dialogo(
        padre, "Guardar una copia", CopiaPropuesta(nombre, tipo),
        (tipo == "xlsx" ? QString("Libro de Excel") : tipo.toUpper()) + " (*." + tipo + ")");
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setDefaultSuffix(tipo);  // "enero" is saved as enero.pdf, asked about as such
    if (dialogo.exec() != QDialog::Accepted) return;
    const QString ruta = dialogo.selectedFiles().value(0);
    if (ruta.isEmpty()) return;
    if (const QString motivo = WhyNotWritable(ruta); !motivo.isEmpty()) {
        MsgBox("No se guardó la copia: " + ruta + " " + motivo + ".", vbCritical);
        return;
    }
    RecuerdaCarpeta(ruta);
    try {
        escribe(ruta);
    } catch (const RuntimeError& e) {
        ShowRuntimeError(e);
    }
}

}  // namespace report
