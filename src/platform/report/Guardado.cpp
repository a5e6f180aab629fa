#include "platform/report/Guardado.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include "platform/vb/MsgBox.h"
#include "platform/vb/RuntimeError.h"
#include "platform/vb/SaveFile.h"

namespace report {

void GuardaCopia(QWidget* padre, const QString& nombre, const QString& tipo,
                 const std::function<void(const QString& ruta)>& escribe) {
    QSettings estado(QSettings::IniFormat, QSettings::UserScope, "Miravel", "Visor");
    QString carpeta = estado.value("Exportar/Carpeta").toString();
    if (carpeta.isEmpty() || !QFileInfo(carpeta).isDir())
        carpeta = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (carpeta.isEmpty() || !QFileInfo(carpeta).isDir()) carpeta = QDir::homePath();
    const QString ruta = QFileDialog::getSaveFileName(
        padre, "Guardar una copia", carpeta + "/" + QString(nombre).replace('/', '-') + "." + tipo,
        (tipo == "xlsx" ? QString("Libro de Excel") : tipo.toUpper()) + " (*." + tipo + ")");
    if (ruta.isEmpty()) return;
    if (const QString motivo = WhyNotWritable(ruta); !motivo.isEmpty()) {
        MsgBox("No se guardó la copia: " + ruta + " " + motivo + ".", vbCritical);
        return;
    }
    estado.setValue("Exportar/Carpeta", QFileInfo(ruta).absolutePath());
    try {
        escribe(ruta);
    } catch (const RuntimeError& e) {
        ShowRuntimeError(e);
    }
}

}  // namespace report
