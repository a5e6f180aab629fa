#include "platform/report/ReportPages.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <algorithm>
#include <numeric>

#include "platform/report/ChartPainter.h"
#include "platform/report/Formato.h"

namespace report {
namespace {

const double kMargen = 36;
const double kCabecera = 64;   // with a selection of one line
const double kSeleccion = 40;  // where the selection starts in the header
const double kLetraMinima = 8;
const double kRenglon = 15;
const double kSeparacion = 14;
const double kLetraNota = 9;
const int kCategoriasPorGrafica = 40;  // bars a chart shows with every label upright and whole
const double kGraficaMinima = 220;     // with its notes: a table of twelve lines fits under it
const double kGraficaSola = 160;       // the chart without its notes, however many they are

double AnchoUtil() {
    return ReportPages::PageSize().width() - 2 * kMargen;
}

// A text at a size, wrapped to the page's width.
QRectF Envuelta(const QString& texto, double pixeles) {
    return QFontMetricsF(Letra(pixeles))
        .boundingRect(QRectF(0, 0, AnchoUtil(), 1000), Qt::AlignLeft | Qt::TextWordWrap, texto);
}

}  // namespace

ReportPages::ReportPages(ReportContent content)
    : content_(std::move(content)), tabla_(content_.TablaMostrada()), totales_(tabla_.Suma()) {
    while (letraSeleccion_ > kLetraMinima &&
           QFontMetricsF(Letra(letraSeleccion_)).horizontalAdvance(content_.seleccion) >
               AnchoUtil())
        letraSeleccion_ -= 0.5;
    const double alto = Envuelta(content_.seleccion, letraSeleccion_).height();
    cabecera_ = qMax(kCabecera, kSeleccion + alto + 10);
    if (!content_.nota.isEmpty()) altoNota_ = Envuelta(content_.nota, kLetraNota).height() + 4;
    medidas_ = MideTabla(AnchoUtil());
    const int filas = content_.filas.isEmpty() ? 0 : static_cast<int>(tabla_.filas.size());
    const int categorias = static_cast<int>(content_.Categorias().size());
    if (!content_.NadaQueMostrar() && categorias > kCategoriasPorGrafica) {
        // More categories than a chart shows readably: the chart goes over pages of its own,
        // evenly filled and on one scale, then the table starts a page.
        graficas_ = (categorias + kCategoriasPorGrafica - 1) / kCategoriasPorGrafica;
        porGrafica_ = (categorias + graficas_ - 1) / graficas_;
        alturaGrafica_ = AltoCuerpo();
        const int caben = FilasQueCaben(AltoCuerpo(), kRenglon);
        trozos_ = QVector<Trozo>(graficas_, Trozo{0, 0, false}) + Pagina(filas, caben, caben);
        return;
    }
    porGrafica_ = categorias;
    const double tabla = filas ? (filas + 2) * kRenglon + kSeparacion : 0;
    alturaGrafica_ = std::max({kGraficaMinima, kGraficaSola + altoNota_, AltoCuerpo() - tabla});
    // First page: the chart and the rows that fit under it; then pages of rows only.
    trozos_ = Pagina(filas, FilasQueCaben(AltoCuerpo() - alturaGrafica_ - kSeparacion, kRenglon),
                     FilasQueCaben(AltoCuerpo(), kRenglon));
}

ReportContent ReportPages::Grafica(int page) const {
    return graficas_ > 1 ? content_.ConCategorias(page * porGrafica_, porGrafica_) : content_;
}

void ReportPages::Paint(QPainter& p, int page) const {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.fillRect(QRectF(QPointF(0, 0), PageSize()), Qt::white);
    PaintHeader(p, page);
    const double ancho = AnchoUtil();
    double y = kMargen + cabecera_;
    if (page < graficas_) {
        PaintChart(p, ChartArea(page), page);
        if (page == 0 && altoNota_ > 0) {
            p.setPen(QColor(90, 96, 104));
            p.setFont(Letra(kLetraNota));
            p.drawText(QRectF(kMargen, ChartArea(page).bottom() + 4, ancho, altoNota_),
                       Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, content_.nota);
        }
        y += alturaGrafica_ + kSeparacion;
    }
    if (page < trozos_.size() && (trozos_[page].cuantas || trozos_[page].total) &&
        !content_.filas.isEmpty() && !tabla_.filas.isEmpty())
        PaintTable(p, QRectF(kMargen, y, ancho, PageSize().height() - kMargen - y), trozos_[page]);
    p.restore();
}

QRectF ReportPages::ChartArea(int page) const {
    return QRectF(kMargen, kMargen + cabecera_, AnchoUtil(),
                  alturaGrafica_ - (page == 0 ? altoNota_ : 0));
}

double ReportPages::AltoCuerpo() const {
    return PageSize().height() - 2 * kMargen - cabecera_;
}

QString ReportPages::ValueAt(int page, const QPointF& point) const {
    if (page >= graficas_ || content_.NadaQueMostrar() || !ChartArea(page).contains(point))
        return {};
    const ReportContent grafica = Grafica(page);
    const Barra b = BarAt(ChartArea(page), grafica, content_, point);
    if (!b.Hay()) return {};
    return grafica.Series()[b.serie] + " · " + grafica.Categorias()[b.categoria] + " · " +
           Moneda(grafica.Valor(b.serie, b.categoria), 2);
}

std::optional<Figura> ReportPages::FiguraEn(int page, const QPointF& point) const {
    if (page == 0 && altoNota_ > 0 &&
        QRectF(kMargen, ChartArea(0).bottom(), AnchoUtil(), altoNota_ + 4).contains(point))
        return Figura{-1, -1, true};
    if (page < graficas_ && !content_.NadaQueMostrar() && ChartArea(page).contains(point)) {
        const Barra b = BarAt(ChartArea(page), Grafica(page), content_, point);
        if (!b.Hay()) return std::nullopt;
        const int categoria = b.categoria + (graficas_ > 1 ? page * porGrafica_ : 0);
        return content_.seriesSonFilas ? Figura{b.serie, categoria} : Figura{categoria, b.serie};
    }
    for (int r = 0; r < Renglones(page); ++r)
        for (int c = 0; c < ColumnasMostradas(); ++c)
            if (Rectangulo(page, {r, c}).contains(point)) return FiguraDe(page, {r, c});
    return std::nullopt;
}

int ReportPages::Renglones(int page) const {
    if (page >= trozos_.size() || content_.filas.isEmpty() || tabla_.filas.isEmpty()) return 0;
    return trozos_[page].cuantas + (trozos_[page].total ? 1 : 0);
}

int ReportPages::ColumnasMostradas() const {
    return static_cast<int>(medidas_.anchos.size());
}

double ReportPages::ArribaDeLaTabla(int page) const {
    return kMargen + cabecera_ + (page < graficas_ ? alturaGrafica_ + kSeparacion : 0);
}

QRectF ReportPages::Rectangulo(int page, const Casilla& c) const {
    if (c.renglon < 0 || c.renglon >= Renglones(page) || c.columna < 0 ||
        c.columna >= ColumnasMostradas())
        return {};
    const double x = kMargen + std::accumulate(medidas_.anchos.begin(),
                                               medidas_.anchos.begin() + c.columna, 0.0);
    return QRectF(x, ArribaDeLaTabla(page) + kRenglon * (c.renglon + 1), medidas_.anchos[c.columna],
                  kRenglon);
}

Figura ReportPages::FiguraDe(int page, const Casilla& c) const {
    const Trozo& trozo = trozos_[page];
    const int fila = c.renglon < trozo.cuantas ? trozo.primera + c.renglon : -1;
    const auto mostradas = tabla_.Mostradas();
    const int columna =
        c.columna > 0 && c.columna <= mostradas.size() ? mostradas[c.columna - 1].columna : -1;
    return content_.tablaTranspuesta ? Figura{columna, fila} : Figura{fila, columna};
}

void ReportPages::PaintHeader(QPainter& p, int page) const {
    const double ancho = AnchoUtil();
    const QRectF area(kMargen, kMargen, ancho, cabecera_ - 10);
    p.setPen(QColor(33, 37, 41));
    p.setFont(Letra(19, true));
    p.drawText(area, Qt::AlignLeft | Qt::AlignTop, content_.titulo);
    p.setFont(Letra(9.5));
    p.setPen(QColor(90, 96, 104));
    const QString origen = "Servidor: " + content_.servidor + "    Base de datos: " + content_.base;
    p.drawText(area.adjusted(0, 26, 0, 0), Qt::AlignLeft | Qt::AlignTop, origen);
    p.setFont(Letra(letraSeleccion_));
    p.drawText(area.adjusted(0, kSeleccion, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               content_.seleccion);
    p.setFont(Letra(9.5));
    const QString impreso =
        "Impreso el " + QDateTime::currentDateTime().toString("dd/MM/yyyy HH:mm");
    p.drawText(area, Qt::AlignRight | Qt::AlignTop, impreso);
    p.drawText(area.adjusted(0, 14, 0, 0), Qt::AlignRight | Qt::AlignTop,
               QString("Página %1 de %2").arg(page + 1).arg(Count()));
    p.setPen(QPen(QColor(41, 98, 155), 1.5));
    p.drawLine(QPointF(kMargen, kMargen + cabecera_ - 6),
               QPointF(kMargen + ancho, kMargen + cabecera_ - 6));
}

void ReportPages::PaintChart(QPainter& p, const QRectF& area, int page) const {
    // Nothing to show: one clear sentence instead of an empty chart.
    if (content_.NadaQueMostrar()) {
        p.setPen(QColor(120, 120, 120));
        p.setFont(Letra(content_.sinDatos.isEmpty() ? 20 : 30, true));
        p.drawText(area.adjusted(40, 0, -40, 0), Qt::AlignCenter | Qt::TextWordWrap,
                   content_.Aviso());
        return;
    }
    PaintBarChart(p, area, Grafica(page), content_);
}

ReportPages::Medidas ReportPages::MideTabla(double ancho) const {
    const ReportContent::Tabla& t = tabla_;
    const ReportContent::Totales& totales = totales_;
    const auto mostradas = t.Mostradas();
    const int n = static_cast<int>(mostradas.size());
    // The widest text of each column, totals included, at a given size.
    auto anchos = [&](double pixeles) {
        const QFontMetricsF normal(Letra(pixeles)), negrita(Letra(pixeles, true));
        QVector<double> w(n + 2, 0.0);
        w[0] = qMax(negrita.horizontalAdvance(t.tituloFilas), negrita.horizontalAdvance("Total"));
        for (const QString& f : t.filas) w[0] = qMax(w[0], negrita.horizontalAdvance(f));
        for (int c = 0; c < n; ++c) {
            w[c + 1] = qMax(negrita.horizontalAdvance(mostradas[c].rotulo),
                            negrita.horizontalAdvance(t.Texto(mostradas[c], totales.columnas)));
            for (const QVector<double>& fila : t.celdas)
                w[c + 1] = qMax(w[c + 1], normal.horizontalAdvance(t.Texto(mostradas[c], fila)));
        }
        w[n + 1] = qMax(negrita.horizontalAdvance("Total"),
                        negrita.horizontalAdvance(Moneda(totales.columnas.last())));
        for (double suma : totales.filas)
            w[n + 1] = qMax(w[n + 1], negrita.horizontalAdvance(Moneda(suma)));
        for (double& x : w) x += 4 + pixeles * 0.4;  // padding; hinting widens small type a bit
        return w;
    };
    auto suma = [](const QVector<double>& w) { return std::accumulate(w.begin(), w.end(), 0.0); };
    // Cents always, in a type of 8 points at least; a long caption (a line's or a salesperson's
    // name) is shortened in what the figures leave. Only a report file with more columns than a
    // page holds at 8 points gets a smaller type: its figures are never cut.
    for (double pixeles = 9;; --pixeles) {
        QVector<double> w = anchos(pixeles);
        if (pixeles <= kLetraMinima) {
            const double minimo =
                QFontMetricsF(Letra(pixeles, true)).horizontalAdvance("Total") + 4 + pixeles;
            w[0] = qMin(w[0], qMax(minimo, ancho - (suma(w) - w[0])));
        }
        if (suma(w) <= ancho || pixeles <= 4) {
            // What is left goes to the figures, evenly.
            const double libre = qMax(0.0, ancho - suma(w)) / (n + 1);
            for (int c = 1; c < w.size(); ++c) w[c] += libre;
            return {pixeles, w};
        }
    }
}

void ReportPages::PaintTable(QPainter& p, const QRectF& area, const Trozo& trozo) const {
    const ReportContent::Tabla& t = tabla_;
    const auto mostradas = t.Mostradas();
    const int n = static_cast<int>(mostradas.size());
    const Medidas& m = medidas_;
    auto x = [&](int columna) {
        return area.left() + std::accumulate(m.anchos.begin(), m.anchos.begin() + columna, 0.0);
    };
    auto celda = [&](int columna, double y, const QString& texto, Qt::Alignment a) {
        const QRectF caja(x(columna) + 2, y, m.anchos[columna] - 4, kRenglon);
        p.drawText(caja, a | Qt::AlignVCenter,
                   QFontMetricsF(p.font()).elidedText(texto, Qt::ElideRight, caja.width()));
    };
    double y = area.top();
    p.fillRect(QRectF(area.left(), y, area.width(), kRenglon), QColor(41, 98, 155));
    p.setPen(Qt::white);
    p.setFont(Letra(m.pixeles, true));
    celda(0, y, t.tituloFilas, Qt::AlignLeft);
    for (int c = 0; c <= n; ++c)
        celda(c + 1, y, c < n ? mostradas[c].rotulo : "Total", Qt::AlignRight);
    y += kRenglon;

    const ReportContent::Totales& totales = totales_;
    auto renglon = [&](const QString& rotulo, const QVector<double>& valores, double suma,
                       bool resaltado, int i) {
        if (resaltado)
            p.fillRect(QRectF(area.left(), y, area.width(), kRenglon), QColor(226, 232, 240));
        else if (i % 2)
            p.fillRect(QRectF(area.left(), y, area.width(), kRenglon), QColor(245, 247, 250));
        p.setPen(QColor(33, 37, 41));
        p.setFont(Letra(m.pixeles, resaltado));
        celda(0, y, rotulo, Qt::AlignLeft);
        for (int c = 0; c < n; ++c) {
            const QString texto = t.Texto(mostradas[c], valores);
            p.setPen(texto.startsWith('-') ? QColor(178, 34, 34) : QColor(33, 37, 41));
            celda(c + 1, y, texto, Qt::AlignRight);
        }
        p.setPen(suma < 0 ? QColor(178, 34, 34) : QColor(33, 37, 41));
        p.setFont(Letra(m.pixeles, true));
        celda(n + 1, y, Moneda(suma), Qt::AlignRight);
        y += kRenglon;
    };
    for (int i = trozo.primera; i < trozo.primera + trozo.cuantas; ++i)
        renglon(t.filas[i], t.celdas[i], totales.filas[i], false, i);
    if (trozo.total) renglon("Total", totales.columnas, totales.columnas.last(), true, 0);
    p.setPen(QPen(QColor(190, 198, 208), 0.6));
    p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
}

}  // namespace report
