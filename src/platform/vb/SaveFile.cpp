#include "platform/vb/SaveFile.h"

#include <QSaveFile>

#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"

void SaveFile(const QString& path, const QByteArray& data) {
    QSaveFile file(path);
    // Unbuffered: a buffered write that fails on the final flush can pass unnoticed.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        file.write(data) != data.size() || !file.flush() || !file.commit())
        throw RuntimeError(vbError::kAccesoArchivo,
                           "Error de acceso a la ruta o el archivo: " + path + ".");
}
