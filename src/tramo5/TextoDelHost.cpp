#include "tramo5/TextoDelHost.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
const char* const kPaginaDeCodigos = "windows-1252";
}  // namespace

namespace TextoDelHost {

bool EsUtf8(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString texto = utf8.decode(bytes);  // decoding is lazy: only a finished one sets errors
    return !utf8.hasError();
}

QString Lee(const QByteArray& bytes, bool utf8) {
    if (utf8) return QString::fromUtf8(bytes);
    QStringDecoder pagina(kPaginaDeCodigos);
    return pagina.isValid() ? QString(pagina.decode(bytes)) : QString::fromLatin1(bytes);
}

QByteArray Escribe(const QString& texto, bool utf8) {
    if (utf8) return texto.toUtf8();
    QStringEncoder pagina(kPaginaDeCodigos);
    return pagina.isValid() ? QByteArray(pagina.encode(texto)) : texto.toLatin1();
}

}  // namespace TextoDelHost
