#pragma once
#include <QString>

// A hand-editable INI file, UTF-8 or the host's code page. Writing a key keeps every other line
// of the file byte for byte.
namespace ArchivoIni {
QString Lee(const QString& archivo, const QString& seccion, const QString& clave);
void Escribe(const QString& archivo, const QString& seccion, const QString& clave,
             const QString& valor);
}  // namespace ArchivoIni
