#pragma once
#include <QString>

// A hand-editable UTF-8 INI file. Writing a key keeps every other line of the file as it was.
namespace ArchivoIni {
QString Lee(const QString& archivo, const QString& seccion, const QString& clave);
void Escribe(const QString& archivo, const QString& seccion, const QString& clave,
             const QString& valor);
}  // namespace ArchivoIni
