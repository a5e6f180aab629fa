#include "platform/report/LibroXlsx.h"

#include <QFile>
#include <QTemporaryDir>

#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"
#include "platform/vb/SaveFile.h"

namespace report {

void EscribeLibro(const QString& path, SaveFiles* batch,
                  const std::function<void(lxw_workbook*)>& escribe) {
    const RuntimeError falla(vbError::kAccesoArchivo,
                             "No se pudo preparar el libro de Excel para " + path + ".");
    QTemporaryDir carpeta;
    const QString temporal = carpeta.filePath("libro.xlsx");
    lxw_workbook* libro =
        carpeta.isValid() ? workbook_new(QFile::encodeName(temporal).constData()) : nullptr;
    if (!libro) throw falla;
    try {
        escribe(libro);
    } catch (...) {
        workbook_close(libro);
        throw;
    }
    QFile hecho(temporal);
    if (workbook_close(libro) != LXW_NO_ERROR || !hecho.open(QIODevice::ReadOnly)) throw falla;
    SaveFile(path, hecho.readAll(), batch);
}

}  // namespace report
