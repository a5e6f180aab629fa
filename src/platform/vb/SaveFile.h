#pragma once
#include <QByteArray>
#include <QString>

// Writes a whole file or none: the bytes go to a temporary file beside the target, every write
// and the flush are checked, and only a complete file takes the target's name. Any failure is
// error 75 naming the file, with nothing left behind.
void SaveFile(const QString& path, const QByteArray& data);
