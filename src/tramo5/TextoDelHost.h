#pragma once
#include <QByteArray>
#include <QString>

// Texts as the host product writes them, in files and in its ciphers: UTF-8 when the bytes are
// valid UTF-8, else its Windows code page (1252, Latin-1 where that one is not at hand).
namespace TextoDelHost {
bool EsUtf8(const QByteArray& bytes);
QString Lee(const QByteArray& bytes, bool utf8);
inline QString Lee(const QByteArray& bytes) {
    return Lee(bytes, EsUtf8(bytes));
}
QByteArray Escribe(const QString& texto, bool utf8);
}  // namespace TextoDelHost
