#include "platform/report/CrystalActiveXReportViewer.h"

#include <QAction>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "platform/report/Export.h"
#include "platform/report/ExportXlsx.h"
#include "platform/report/Guardado.h"
#include "platform/report/PageView.h"
#include "platform/report/Report.h"
#include "platform/report/ReportPages.h"
#include "platform/vb/MsgBox.h"
#include "platform/vb/RuntimeError.h"

namespace report {

CrystalActiveXReportViewer::CrystalActiveXReportViewer(QWidget* parent) : QWidget(parent) {
    auto* barra = new QToolBar(this);
    barra->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto accion = [&](const QString& texto, const QList<QKeySequence>& teclas, auto hacer) {
        QAction* a = barra->addAction(texto, this, hacer);
        a->setShortcuts(teclas);
        a->setToolTip(texto + " (" + teclas.first().toString(QKeySequence::NativeText) + ")");
    };
    accion("Imprimir…", {QKeySequence::Print}, [this] { PrintWithDialog(); });
    barra->addSeparator();
    accion("PDF…", {QKeySequence(Qt::CTRL | Qt::Key_S)}, [this] { ExportTo("pdf"); });
    accion("PNG…", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}, [this] { ExportTo("png"); });
    accion("CSV…", {QKeySequence(Qt::CTRL | Qt::Key_E)}, [this] { ExportTo("csv"); });
    accion("Excel…", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E)},
           [this] { ExportTo("xlsx"); });
    barra->addSeparator();
    accion("Ajustar al ancho", {QKeySequence(Qt::CTRL | Qt::Key_2)}, [this] { FitWidth(); });
    accion("Página completa", {QKeySequence(Qt::CTRL | Qt::Key_1)}, [this] { FitPage(); });
    accion("Acercar", {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)},
           [this] { Zoom(1.25); });
    accion("Alejar", {QKeySequence::ZoomOut}, [this] { Zoom(0.8); });
    barra->addSeparator();
    accion("◀", {QKeySequence(Qt::Key_PageUp)}, [this] { ShowPage(page_ - 1); });
    pageLabel_ = new QLabel(this);
    pageLabel_->setContentsMargins(6, 0, 6, 0);
    barra->addWidget(pageLabel_);
    accion("▶", {QKeySequence(Qt::Key_PageDown)}, [this] { ShowPage(page_ + 1); });

    scroll_ = new QScrollArea(this);
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Dark);
    view_ = new PageView(scroll_);
    view_->alElegir = [this](const Figura& f) { emit FiguraElegida(f); };
    scroll_->setWidget(view_);

    auto* capas = new QVBoxLayout(this);
    capas->setContentsMargins(0, 0, 0, 0);
    capas->setSpacing(0);
    capas->addWidget(barra);
    capas->addWidget(scroll_);
}

CrystalActiveXReportViewer::~CrystalActiveXReportViewer() = default;

void CrystalActiveXReportViewer::ViewReport() {
    if (!source_) return;
    pages_ = std::make_unique<ReportPages>(source_->Read());
    page_ = 0;
    Refresh();
}

int CrystalActiveXReportViewer::PageCount() const {
    return pages_ ? pages_->Count() : 0;
}

void CrystalActiveXReportViewer::ShowPage(int page) {
    if (!pages_ || page < 0 || page >= pages_->Count()) return;
    page_ = page;
    Refresh();
}

void CrystalActiveXReportViewer::FitWidth() {
    fit_ = Fit::Width;
    Refresh();
}

void CrystalActiveXReportViewer::FitPage() {
    fit_ = Fit::Page;
    Refresh();
}

void CrystalActiveXReportViewer::Zoom(double factor) {
    fit_ = Fit::None;
    zoom_ = qBound(0.25, zoom_ * factor, 4.0);
    Refresh();
}

void CrystalActiveXReportViewer::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (fit_ != Fit::None) Refresh();
}

void CrystalActiveXReportViewer::Refresh() {
    if (!pages_) return;
    const QSizeF pagina = ReportPages::PageSize();
    const QSize hueco = scroll_->viewport()->size() - QSize(16, 16);
    if (fit_ == Fit::Width) zoom_ = hueco.width() / pagina.width();
    if (fit_ == Fit::Page)
        zoom_ = qMin(hueco.width() / pagina.width(), hueco.height() / pagina.height());
    zoom_ = qMax(zoom_, 0.1);
    view_->Show(pages_.get(), page_, zoom_);
    pageLabel_->setText(QString("Página %1 de %2").arg(page_ + 1).arg(pages_->Count()));
}

void CrystalActiveXReportViewer::PrintWithDialog() {
    if (!pages_) return;
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setPageOrientation(QPageLayout::Landscape);
    impresora.setDocName(pages_->Content().titulo);
    // Printing to a file offers the exported copy's name and folder; a printer stays the default.
    impresora.setOutputFileName(CopiaPropuesta(NombreDeCopia(pages_->Content()), "pdf"));
    impresora.setOutputFormat(QPrinter::NativeFormat);
    QPrintDialog dialogo(&impresora, this);
    if (dialogo.exec() != QDialog::Accepted) return;
    if (impresora.outputFormat() == QPrinter::PdfFormat && !impresora.outputFileName().isEmpty())
        RecuerdaCarpeta(impresora.outputFileName());
    try {
        PrintReport(*pages_, impresora);
    } catch (const RuntimeError& e) {
        ShowRuntimeError(e);
    }
}

void CrystalActiveXReportViewer::ExportTo(const QString& kind) {
    if (!pages_) return;
    GuardaCopia(this, NombreDeCopia(pages_->Content()), kind, [&](const QString& nombre) {
        if (kind == "pdf")
            ExportPdf(*pages_, nombre);
        else if (kind == "png")
            ExportPng(*pages_, nombre);
        else if (kind == "xlsx")
            ExportXlsx(*pages_, nombre);
        else
            ExportCsv(*pages_, nombre);
    });
}

}  // namespace report
