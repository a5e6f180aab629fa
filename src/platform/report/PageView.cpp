#include "platform/report/PageView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "platform/report/Export.h"

namespace report {

PageView::PageView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void PageView::Show(const ReportPages* pages, int page, double zoom) {
    if (pages != pages_ || page != page_) marcada_.reset();
    pages_ = pages;
    page_ = page;
    zoom_ = zoom;
    setFixedSize((ReportPages::PageSize() * zoom).toSize());
    imagen_ = QImage();
    update();
}

void PageView::mouseMoveEvent(QMouseEvent* evento) {
    const QString texto = pages_ ? pages_->ValueAt(page_, evento->position() / zoom_) : QString();
    if (texto.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(evento->globalPosition().toPoint(),
                           texto + (alElegir ? "\nDoble clic: sus documentos" : ""), this);
}

void PageView::mouseDoubleClickEvent(QMouseEvent* evento) {
    if (pages_) Elige(pages_->FiguraEn(page_, evento->position() / zoom_));
}

void PageView::keyPressEvent(QKeyEvent* evento) {
    const int renglones = pages_ ? pages_->Renglones(page_) : 0;
    if (!renglones) return QWidget::keyPressEvent(evento);
    const int columnas = pages_->ColumnasMostradas();
    Casilla c = marcada_.value_or(Casilla{0, 1});
    switch (evento->key()) {
        case Qt::Key_Up:
            c.renglon = qMax(0, c.renglon - (marcada_ ? 1 : 0));
            break;
        case Qt::Key_Down:
            c.renglon = qMin(renglones - 1, c.renglon + (marcada_ ? 1 : 0));
            break;
        case Qt::Key_Left:
            c.columna = qMax(0, c.columna - (marcada_ ? 1 : 0));
            break;
        case Qt::Key_Right:
            c.columna = qMin(columnas - 1, c.columna + (marcada_ ? 1 : 0));
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (marcada_) Elige(pages_->FiguraDe(page_, *marcada_));
            return;
        default:
            return QWidget::keyPressEvent(evento);
    }
    marcada_ = c;
    update();
}

void PageView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Dark));
    if (!pages_) return;
    const double ratio = devicePixelRatioF();
    if (imagen_.isNull()) {
        imagen_ = RenderPage(*pages_, page_, 72.0 * zoom_ * ratio);
        imagen_.setDevicePixelRatio(ratio);
    }
    p.drawImage(0, 0, imagen_);
    if (!marcada_) return;
    const QRectF celda = pages_->Rectangulo(page_, *marcada_);
    p.setPen(QPen(palette().color(QPalette::Highlight), 2));
    p.drawRect(QRectF(celda.topLeft() * zoom_, celda.size() * zoom_));
}

void PageView::Elige(const std::optional<Figura>& figura) {
    if (figura && alElegir) alElegir(*figura);
}

}  // namespace report
