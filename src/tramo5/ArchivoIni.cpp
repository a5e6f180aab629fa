#include "tramo5/ArchivoIni.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include "platform/vb/SaveFile.h"

namespace {

struct Lineas {
    QStringList lineas;
    QString fin = "\n";
};

Lineas Carga(const QString& archivo) {
    Lineas r;
    QFile f(archivo);
    if (!f.open(QIODevice::ReadOnly)) return r;
    QString texto = QString::fromUtf8(f.readAll());
    if (texto.startsWith(QChar(0xFEFF))) texto.remove(0, 1);
    if (texto.contains("\r\n")) r.fin = "\r\n";
    r.lineas = texto.split(QRegularExpression("\r?\n"));
    if (!r.lineas.isEmpty() && r.lineas.last().isEmpty()) r.lineas.removeLast();
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
    const QStringList lineas = Carga(archivo).lineas;
    const auto [inicio, fin] = Seccion(lineas, seccion);
    QString valor;
    for (int i = inicio; inicio >= 0 && i < fin; ++i)
        if (EsClave(lineas[i], clave, &valor)) return valor;
    return {};
}

void ArchivoIni::Escribe(const QString& archivo, const QString& seccion, const QString& clave,
                         const QString& valor) {
    Lineas c = Carga(archivo);
    const QString nueva = clave + "=" + valor;
    auto [inicio, fin] = Seccion(c.lineas, seccion);
    if (inicio < 0) {
        if (!c.lineas.isEmpty() && !c.lineas.last().trimmed().isEmpty()) c.lineas << QString();
        c.lineas << "[" + seccion + "]" << nueva;
    } else {
        int donde = -1, ultima = inicio - 1;
        for (int i = inicio; i < fin; ++i) {
            if (EsClave(c.lineas[i], clave)) donde = i;
            if (!c.lineas[i].trimmed().isEmpty()) ultima = i;
        }
        if (donde >= 0)
            c.lineas[donde] = nueva;
        else
            c.lineas.insert(ultima + 1, nueva);
    }
    SaveFile(archivo, (c.lineas.join(c.fin) + c.fin).toUtf8());
}
