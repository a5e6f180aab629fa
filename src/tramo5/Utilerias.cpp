#include <QByteArray>
#include <QRegularExpression>

#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"

#include "tramo5/Fabrica.h"
#include "tramo5/TextoDelHost.h"

namespace {

// Enciphered texts are "~" and hex digits: printable, and safe in any settings file.
// A text without the mark is taken as written in plain.
const QByteArray kClave = "Orvalo-tramo5";

QByteArray Mezcla(QByteArray datos) {
    for (int i = 0; i < datos.size(); ++i)
        datos[i] = char(datos[i] ^ kClave[i % kClave.size()] ^ (i * 31));
    return datos;
}

class UtileriasImpl : public tramo5::Utilerias {
  public:
    QString Encripta(const QString& texto) override {
        return "~" + QString::fromLatin1(Mezcla(texto.toUtf8()).toHex().toUpper());
    }
    // The host enciphers the bytes of its own code page. A bad cipher text is not repeated in
    // the message: it would give the password away.
    QString DesEncripta(const QString& texto) override {
        if (!texto.startsWith('~')) return texto;
        static const QRegularExpression hex("^~([0-9A-Fa-f]{2})*$");
        if (!hex.match(texto).hasMatch())
            throw RuntimeError(
                vbError::kArgumentoNoValido,
                "no es un texto cifrado válido («~» y pares de cifras hexadecimales)");
        return TextoDelHost::Lee(Mezcla(QByteArray::fromHex(texto.mid(1).toLatin1())));
    }
    QString CambXXX(const QString& texto, const QString& valor) override {
        return QString(texto).replace("XXX", valor);
    }
};

}  // namespace

tramo5::Objeto* NuevoUtilerias() {
    return new UtileriasImpl;
}
