#include "tramo5/ArchivoIni.h"

#include <QFile>
#include <QList>

#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"
#include "platform/vb/SaveFile.h"
#include "tramo5/TextoDelHost.h"

namespace {

// The file as it is on disk, a line at a time with its own ending, and the text of each line.
// A host on Windows writes in its own code page: a file that is not UTF-8 is read in it, and
// lines nobody changes are written back byte for byte.
struct Lineas {
    QList<QByteArray> bytes;
    QStringList texto;
    bool utf8 = true;
    QByteArray fin = "\n";
};

Lineas Carga(const QString& archivo) {
    Lineas r;
    QFile f(archivo);
    if (!f.exists()) return r;
    if (!f.open(QIODevice::ReadOnly))
        throw RuntimeError(vbError::kAccesoArchivo,
                           "Error de acceso a la ruta o el archivo: " + archivo + ".");
    const QByteArray datos = f.readAll();
    r.utf8 = TextoDelHost::EsUtf8(datos);
    if (datos.contains("\r\n")) r.fin = "\r\n";
    for (qsizetype inicio = 0; inicio < datos.size();) {
        const qsizetype salto = datos.indexOf('\n', inicio);
        const qsizetype corte = salto < 0 ? datos.size() : salto + 1;
        r.bytes << datos.mid(inicio, corte - inicio);
        inicio = corte;
    }
    for (const QByteArray& b : r.bytes) {
        QByteArray linea = b;
        while (linea.endsWith('\n') || linea.endsWith('\r')) linea.chop(1);
        QString t = TextoDelHost::Lee(linea, r.utf8);
        if (t.startsWith(QChar(0xFEFF))) t.remove(0, 1);
        r.texto << t;
    }
    return r;
}

bool EsSeccion(const QString& linea, QString* nombre = nullptr) {
    const QString t = linea.trimmed();
    if (!t.startsWith('[') || !t.contains(']')) return false;
    if (nombre) *nombre = t.mid(1, t.indexOf(']') - 1).trimmed();
    return true;
}

bool EsClave(const QString& linea, const QString& clave, QString* valor = nullptr) {
    const QString t = linea.trimmed();
    if (t.startsWith(';') || t.startsWith('#')) return false;
    const int igual = t.indexOf('=');
    if (igual < 0 || t.left(igual).trimmed().compare(clave, Qt::CaseInsensitive) != 0) return false;
    // The value stands as written: a value of blanks is a value.
    if (valor) *valor = linea.mid(linea.indexOf('=') + 1);
    return true;
}

// Index range [inicio, fin) of the section's body; inicio is -1 when it is missing.
std::pair<int, int> Seccion(const QStringList& lineas, const QString& seccion) {
    int inicio = -1;
    for (int i = 0; i < lineas.size(); ++i) {
        QString nombre;
        if (!EsSeccion(lineas[i], &nombre)) continue;
        if (inicio >= 0) return {inicio, i};
        if (nombre.compare(seccion, Qt::CaseInsensitive) == 0) inicio = i + 1;
    }
    return {inicio, static_cast<int>(lineas.size())};
}

}  // namespace

QString ArchivoIni::Lee(const QString& archivo, const QString& seccion, const QString& clave) {
    const QStringList lineas = Carga(archivo).texto;
    const auto [inicio, fin] = Seccion(lineas, seccion);
    QString valor;
    for (int i = inicio; inicio >= 0 && i < fin; ++i)
        if (EsClave(lineas[i], clave, &valor)) return valor;
    return {};
}

void ArchivoIni::Escribe(const QString& archivo, const QString& seccion, const QString& clave,
                         const QString& valor) {
    Lineas c = Carga(archivo);
    auto codifica = [&](const QString& texto, const QByteArray& fin) {
        return TextoDelHost::Escribe(texto, c.utf8) + fin;
    };
    // The line before a new one must end, or the two would run together.
    auto termina = [&](int i) {
        if (i >= 0 && !c.bytes[i].endsWith('\n')) c.bytes[i] += c.fin;
    };
    auto [inicio, fin] = Seccion(c.texto, seccion);
    if (inicio < 0) {
        termina(c.bytes.size() - 1);
        if (!c.texto.isEmpty() && !c.texto.last().trimmed().isEmpty()) c.bytes << c.fin;
        c.bytes << codifica("[" + seccion + "]", c.fin) << codifica(clave + "=" + valor, c.fin);
    } else {
        int donde = -1, ultima = inicio - 1;
        for (int i = inicio; i < fin; ++i) {
            if (EsClave(c.texto[i], clave)) donde = i;
            if (!c.texto[i].trimmed().isEmpty()) ultima = i;
        }
        if (donde >= 0) {
            const QByteArray& viejo = c.bytes[donde];
            const QByteArray fin = viejo.endsWith("\r\n") ? "\r\n"
                                   : viejo.endsWith('\n') ? "\n"
                                                          : "";
            c.bytes[donde] = codifica(clave + "=" + valor, fin);
        } else {
            termina(ultima);
            c.bytes.insert(ultima + 1, codifica(clave + "=" + valor, c.fin));
        }
    }
    SaveFile(archivo, c.bytes.join());
}
