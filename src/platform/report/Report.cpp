#include "platform/report/Report.h"

#include <QHash>
#include <QRegularExpression>

#include "platform/ado/Connection.h"
#include "platform/ado/Quote.h"
#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"

namespace report {

void FormulaFieldDefinition::SetText(const QString& text) {
    // An empty text leaves the formula empty.
    static const QRegularExpression constante("^$|^'(?:[^']|'')*'$");
    if (!constante.match(text).hasMatch())
        throw RuntimeError(vbError::kFormulaInvalida,
                           "Error en la fórmula {@" + name_ + "}: " + text +
                               " no es un texto entre comillas simples.");
    text_ = text;
}

QString FormulaFieldDefinition::Value() const {
    if (text_.isEmpty()) return {};
    return text_.mid(1, text_.size() - 2).replace("''", "'");
}

Report::Report(QString path, ReportDefinition definition, LogOnInfo logOn)
    : path_(std::move(path)), definition_(std::move(definition)), logOn_(std::move(logOn)) {
    tables_.resize(1);
    tables_[0].SetLocation(definition_.tabla);
    for (const QString& nombre : definition_.formulas) formulas_ << FormulaFieldDefinition(nombre);
}

DatabaseTable& Report::DatabaseTables(int position) {
    return Item(tables_, position, "la tabla");
}

FormulaFieldDefinition& Report::FormulaFields(int position) {
    return Item(formulas_, position, "la fórmula");
}

// The element at a position counted from 1, as the engine's collections are.
template <typename T>
T& Report::Item(QVector<T>& items, int position, const char* what) {
    if (position < 1 || position > items.size())
        throw RuntimeError(vbError::kSubindiceFueraDeRango,
                           QString("Subíndice fuera del intervalo: el reporte %1 no tiene %2 %3.")
                               .arg(path_, QString::fromUtf8(what))
                               .arg(position));
    return items[position - 1];
}

namespace {

// A text read from the database as a page and a file can hold it: a NUL or another control
// character would cut a workbook's text or show as a raw byte; line breaks become spaces.
QString Legible(const QVariant& valor) {
    QString texto = valor.toString();
    for (QChar& c : texto)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    texto.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    return texto.trimmed();
}

}  // namespace

ReportContent Report::Read() {
    const ReportDefinition& d = definition_;
    const QString ubicacion = tables_[0].Location();
    const QString base = ubicacion.contains('.') ? ubicacion.section('.', 0, 0) : QString();
    const QString tabla = ubicacion.contains('.') ? ubicacion.section('.', 1) : ubicacion;

    ReportContent c;
    c.titulo = d.titulo;
    c.servidor = logOn_.server;
    c.base = base;
    c.seleccion = selection_;
    c.tituloFilas = d.filasTitulo;
    c.seriesSonFilas = d.seriesSonFilas;
    c.ejeCategorias = d.ejeCategorias;
    c.tablaTranspuesta = d.tablaTranspuesta;
    c.nota = note_;
    c.nombreArchivo = fileName_;
    auto valor = [this](const QString& formula) {
        return FormulaFields(definition_.formulas.indexOf(formula) + 1).Value();
    };
    if (!d.sinDatos.isEmpty()) c.sinDatos = valor(d.sinDatos);

    QVector<int> mostradas;
    for (int i = 0; i < d.columnas.size(); ++i) {
        const ColumnDefinition& col = d.columnas[i];
        const QString rotulo = col.formula.isEmpty() ? col.rotulo : valor(col.formula);
        if (rotulo.isEmpty()) continue;  // a column without a caption takes nothing
        mostradas << i;
        c.columnas << Legible(rotulo);
    }

    ado::Connection propia;
    const RowSource lee = rowSource_ ? rowSource_ : [&](const QString& sentencia) {
        if (!propia.IsOpen())
            propia.Open(logOn_.server, logOn_.port, logOn_.user, logOn_.password, base);
        return ado::ReadAll(propia, sentencia);
    };
    QString consulta = "SELECT * FROM " +
                       (base.isEmpty() ? QString() : ado::QuoteIdentifier(base) + ".") +
                       ado::QuoteIdentifier(tabla);
    if (!d.orden.isEmpty()) consulta += " ORDER BY " + ado::QuoteIdentifier(d.orden);
    const ado::Table filas = lee(consulta);
    auto indice = [&](const QString& columna) {
        for (int i = 0; i < filas.columns.size(); ++i)
            if (filas.columns[i].compare(columna, Qt::CaseInsensitive) == 0) return i;
        throw RuntimeError(vbError::kFormulaInvalida, "La tabla " + ubicacion + " del reporte " +
                                                          path_ + " no tiene la columna " +
                                                          columna + ".");
    };
    const int rotuloFila = indice(d.filasColumna);
    QVector<int> columnas;
    for (int i : mostradas) columnas << indice(d.columnas[i].columna);
    for (const QVector<QVariant>& f : filas.rows) {
        c.filas << Legible(f[rotuloFila]);
        QVector<double> fila;
        for (int i : columnas) fila << f[i].toDouble();
        c.celdas << fila;
    }
    // The names beside the captions, in one statement.
    if (!d.nombresTabla.isEmpty() && !c.filas.isEmpty()) {
        const ado::Table n = lee("SELECT " + ado::QuoteIdentifier(d.nombresClave) + "," +
                                 ado::QuoteIdentifier(d.nombresColumna) + " FROM " +
                                 (base.isEmpty() ? QString() : ado::QuoteIdentifier(base) + ".") +
                                 ado::QuoteIdentifier(d.nombresTabla));
        QHash<QString, QString> nombres;
        for (const QVector<QVariant>& f : n.rows) nombres.insert(Legible(f[0]), Legible(f[1]));
        for (const QString& fila : c.filas) c.nombres << nombres.value(fila);
    }
    return c;
}

void Application::LogOnServer(const QString& server, const QString& port, const QString& user,
                              const QString& password) {
    logOn_ = {server, port, user, password};
}

std::unique_ptr<Report> Application::OpenReport(const QString& path, int) {
    return std::make_unique<Report>(path, ReadReportFile(path), logOn_);
}

}  // namespace report
