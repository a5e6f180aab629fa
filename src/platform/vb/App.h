#pragma once
#include <QString>

// The running program's folder and version.
namespace App {
// The executable's folder, unless a test has set another one.
QString Path();
void SetPath(const QString& carpeta);
// A file name joined to the program's folder.
QString Archivo(const QString& nombre);
int Major();
int Minor();
int Revision();
}  // namespace App
