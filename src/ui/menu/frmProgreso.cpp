#include "ui/menu/frmProgreso.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Icono.h"

frmProgreso::frmProgreso(QWidget* sobre, const QString& que) : sobre_(sobre) {
    // A window of its own: the selection window is disabled while the report runs.
    setWindowTitle("Preparando el reporte");
    setWindowIcon(IconoMiravel());
    setWindowModality(Qt::ApplicationModal);
    auto* columna = new QVBoxLayout(this);
    auto* titulo = new QLabel(que, this);
    QFont negrita = titulo->font();
    negrita.setBold(true);
    titulo->setFont(negrita);
    paso_ = new QLabel("Comenzando…", this);
    paso_->setWordWrap(true);  // a step says what it reads, whole
    mensaje_ = new QLabel(this);
    mensaje_->setTextFormat(Qt::PlainText);
    mensaje_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    mensaje_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    mensaje_->hide();
    barra_ = new QProgressBar(this);
    barra_->setRange(0, 1);
    barra_->setValue(0);
    tiempo_ = new QLabel(this);
    cancelar_ = new QPushButton("Cancelar", this);
    cancelar_->setAutoDefault(false);
    for (QWidget* w : {static_cast<QWidget*>(titulo), static_cast<QWidget*>(paso_),
                       static_cast<QWidget*>(barra_), static_cast<QWidget*>(mensaje_),
                       static_cast<QWidget*>(tiempo_)})
        columna->addWidget(w);
    columna->addWidget(cancelar_, 0, Qt::AlignRight);
    setMinimumWidth(420);
    connect(cancelar_, &QPushButton::clicked, this, &frmProgreso::reject);
    connect(&tic_, &QTimer::timeout, this, [this] {
        tiempo_->setText(
            QString("Tiempo transcurrido: %1 s").arg(reloj_.elapsed() / 1000.0, 0, 'f', 1));
    });
    reloj_.start();
    tic_.start(200);
}

void frmProgreso::Avanza(const QString& paso, int hecho, int total) {
    paso_->setText(paso + "…");
    barra_->setRange(0, qMax(1, total));
    barra_->setValue(qBound(0, hecho, total));
}

void frmProgreso::Mensaje(const QString& texto) {
    mensajeCompleto_ = QString(texto).replace('\n', ' ');
    mensaje_->setToolTip(texto);
    mensaje_->show();
    MuestraMensaje();
}

void frmProgreso::MuestraMensaje() {
    const int ancho = qMax(mensaje_->width(), minimumWidth() - 40);
    mensaje_->setText(mensaje_->fontMetrics().elidedText(mensajeCompleto_, Qt::ElideMiddle, ancho));
}

void frmProgreso::resizeEvent(QResizeEvent* evento) {
    QDialog::resizeEvent(evento);
    if (!mensajeCompleto_.isEmpty()) MuestraMensaje();
}

void frmProgreso::MuestraSiTarda() {
    // Already shown under a box: raised again it would cover the box.
    if (isVisible()) return;
    adjustSize();
    if (sobre_) move(sobre_->frameGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
}

void frmProgreso::reject() {
    if (!cancelar_->isEnabled()) return;
    cancelar_->setEnabled(false);
    paso_->setText("Cancelando…");
    emit Cancelar();
}
