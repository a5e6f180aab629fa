#include "platform/report/Export.h"

#include <QtGlobal>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QRegularExpression>

#include "platform/report/Formato.h"
#include "platform/report/ReportPages.h"
#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"
#include "platform/vb/SaveFile.h"

namespace report {
namespace {

// Paints every page on a device whose page is the given rectangle, in device units; a batch
// that is stopped ends it between pages.
void PintaPaginas(const ReportPages& pages, QPainter& p, QPagedPaintDevice& device,
                  const QRectF& hoja, SaveFiles* batch = nullptr) {
    const QSizeF pagina = ReportPages::PageSize();
    const double escala = qMin(hoja.width() / pagina.width(), hoja.height() / pagina.height());
    for (int i = 0; i < pages.Count() && !(batch && batch->Stopped()); ++i) {
        if (i > 0) device.newPage();
        p.save();
        p.translate(hoja.topLeft());
        p.scale(escala, escala);
        pages.Paint(p, i);
        p.restore();
    }
}

QString NoSePinto(const QString& path) {
    return "No se pudo preparar el contenido del archivo " + path + ".";
}

// The text every PNG page carries: which page of which file it is.
const QString kMarcaPng = "Miravel";
QString Marca(const QString& archivo, int pagina) {
    return QString("página %1 de %2").arg(pagina).arg(archivo);
}

// A file an export wrote as that page, still a regular file of ours.
bool EsPaginaNuestra(const QString& archivo, const QString& marca) {
#ifdef Q_OS_UNIX
    struct stat estado;
    if (lstat(QFile::encodeName(archivo).constData(), &estado) != 0 || !S_ISREG(estado.st_mode) ||
        estado.st_uid != geteuid())
        return false;
#else
    if (!QFileInfo(archivo).isFile() || QFileInfo(archivo).isSymLink()) return false;
#endif
    return QImageReader(archivo, "png").text(kMarcaPng) == marca;
}

}  // namespace

QString Campo(QString texto) {
    // A text a spreadsheet would run as a formula (=1+2, @SUM...) is taken as text.
    if (!texto.isEmpty() && QString("=+-@\t\r").contains(texto.front())) texto.prepend('\'');
    if (!texto.contains(QRegularExpression("[,\"\n\r]"))) return texto;
    return "\"" + texto.replace("\"", "\"\"") + "\"";
}

QByteArray LineasCsv(const QStringList& lineas, const QString& path) {
    // With the byte-order mark, spreadsheet programs read the names' accents as UTF-8; a pipe
    // ("-") gets plain UTF-8, as the programs reading it expect.
    const QByteArray marca = path == "-" ? QByteArray() : QByteArray("\xEF\xBB\xBF");
    return marca + (lineas.join("\r\n") + "\r\n").toUtf8();
}

QImage RenderPage(const ReportPages& pages, int page, double dpi) {
    const double escala = dpi / 72.0;
    QImage imagen((ReportPages::PageSize() * escala).toSize(), QImage::Format_RGB32);
    imagen.fill(Qt::white);  // a page need not paint every pixel, and QImage starts undefined
    imagen.setDotsPerMeterX(qRound(dpi / 0.0254));
    imagen.setDotsPerMeterY(qRound(dpi / 0.0254));
    QPainter p(&imagen);
    p.scale(escala, escala);
    pages.Paint(p, page);
    return imagen;
}

// The PDF is made in memory and written whole, so a failure leaves no cut file behind.
void ExportPdf(const ReportPages& pages, const QString& path, SaveFiles* batch) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setTitle(pages.Content().titulo);
    pdf.setCreator("Miravel");
    pdf.setResolution(72);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
    QPainter p;
    if (!p.begin(&pdf)) throw RuntimeError(vbError::kAccesoArchivo, NoSePinto(path));
    PintaPaginas(pages, p, pdf, QRectF(QPointF(0, 0), ReportPages::PageSize()), batch);
    if (!p.end()) throw RuntimeError(vbError::kAccesoArchivo, NoSePinto(path));
    SaveFile(path, buffer.data(), batch);
}

QString PngPagePath(const QString& path, int page) {
    if (page == 0) return path;
    const int punto = path.lastIndexOf('.');
    const int corte = punto > path.lastIndexOf('/') ? punto : path.size();
    return path.left(corte) + "-" + QString::number(page + 1) + path.mid(corte);
}

QMap<int, QString> PngPagesThere(const QString& path) {
    const QFileInfo primera(path);
    const QString nombre = primera.fileName();
    const int punto = nombre.contains('.') ? nombre.lastIndexOf('.') : nombre.size();
    const QString antes = nombre.left(punto) + "-", despues = nombre.mid(punto);
    QMap<int, QString> paginas;
    for (const QString& e : primera.dir().entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                                    QDir::NoDotAndDotDot)) {
        if (!e.startsWith(antes) || !e.endsWith(despues)) continue;
        const QString numero = e.mid(antes.size(), e.size() - antes.size() - despues.size());
        const int pagina = numero.toInt();
        if (pagina > 1 && numero == QString::number(pagina))
            paginas[pagina] = primera.dir().filePath(e);
    }
    return paginas;
}

// Each page goes to its file as soon as it is painted, so memory does not grow with the pages.
// Each carries a mark saying which page of which file it is: the pages of an earlier export to
// the same name beyond the new last one are taken away with the same batch, and only those.
void ExportPng(const ReportPages& pages, const QString& path, SaveFiles* batch, double dpi) {
    SaveFiles alone;
    SaveFiles& files = batch ? *batch : alone;
    const QString nombre = QFileInfo(path).fileName();
    for (int i = 0; i < pages.Count() && !files.Stopped(); ++i) {
        const QString archivo = PngPagePath(path, i);
        QImage imagen = RenderPage(pages, i, dpi);
        imagen.setText(kMarcaPng, Marca(nombre, i + 1));
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        if (!imagen.save(&buffer, "PNG"))
            throw RuntimeError(vbError::kAccesoArchivo, NoSePinto(archivo));
        files.Add(archivo, buffer.data());
    }
    const QMap<int, QString> antes = PngPagesThere(path);
    for (auto p = antes.upperBound(pages.Count()); p != antes.end(); ++p)
        if (EsPaginaNuestra(p.value(), Marca(nombre, p.key()))) files.Remove(p.value());
    if (!batch) alone.Commit();
}

// The table as the page shows it, for a spreadsheet: amounts in cents with a point, changes in
// percent to one decimal (a dash where the year before had nothing to compare with), the totals
// row and column, text cells that no spreadsheet takes for a formula.
void ExportCsv(const ReportPages& pages, const QString& path, SaveFiles* batch) {
    const ReportContent::Tabla c = pages.Content().TablaMostrada();
    const auto mostradas = c.Mostradas();
    auto cifra = [](double v) { return QString::number(Redondea(v), 'f', 2); };
    auto celdas = [&](const QVector<double>& valores, double suma) {
        QStringList linea;
        for (const ReportContent::Tabla::Mostrada& m : mostradas) {
            const std::optional<double> cambio =
                m.esCambio ? Cambio(valores[m.columna - 1], valores[m.columna]) : std::nullopt;
            linea << (!m.esCambio ? cifra(valores[m.columna])
                      : cambio    ? QString::number(*cambio, 'f', 1)
                                  : QString("—"));
        }
        return linea << cifra(suma);
    };
    QStringList lineas;
    QStringList cabecera{Campo(c.tituloFilas)};
    for (const ReportContent::Tabla::Mostrada& m : mostradas) cabecera << Campo(m.rotulo);
    lineas << (cabecera << "Total").join(',');
    const ReportContent::Totales totales = c.Suma();
    for (int f = 0; f < c.filas.size(); ++f)
        lineas
            << (QStringList{Campo(c.filas[f])} + celdas(c.celdas[f], totales.filas[f])).join(',');
    if (!c.filas.isEmpty())
        lineas
            << (QStringList{"Total"} + celdas(totales.columnas, totales.columnas.last())).join(',');
    SaveFile(path, LineasCsv(lineas, path), batch);
}

void PrintReport(const ReportPages& pages, QPrinter& printer) {
    QPainter p;
    if (!p.begin(&printer))
        throw RuntimeError(vbError::kImpresora,
                           "Error de impresora: no se pudo empezar a imprimir.");
    PintaPaginas(pages, p, printer,
                 QRectF(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size()));
    p.end();
}

}  // namespace report
