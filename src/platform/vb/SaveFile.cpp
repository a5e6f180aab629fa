#include "platform/vb/SaveFile.h"

#include <QSaveFile>

#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"

void SaveFile(const QString& path, const QByteArray& data) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        throw RuntimeError(vbError::kAccesoArchivo,
                           "Error de acceso a la ruta o el archivo: " + path + ".");
}
