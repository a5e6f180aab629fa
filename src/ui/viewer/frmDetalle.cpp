#include "ui/viewer/frmDetalle.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include "platform/report/Formato.h"
#include "platform/report/Guardado.h"
#include "ui/viewer/ModeloDetalle.h"

frmDetalle::frmDetalle(QWidget* visor, reportdata::Detalle detalle) : QDialog(visor) {
    setWindowTitle("Documentos de la cifra");
    setWindowIcon(visor->windowIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    auto* titulo = new QLabel(detalle.titulo, this);
    titulo->setWordWrap(true);
    titulo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    modelo_ = new ModeloDetalle(std::move(detalle), this);
    filtro_ = new QSortFilterProxyModel(this);
    filtro_->setSourceModel(modelo_);
    filtro_->setSortRole(Qt::UserRole);
    filtro_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    filtro_->setFilterKeyColumn(-1);
    tabla_ = new QTableView(this);
    tabla_->setModel(filtro_);
    tabla_->setSortingEnabled(true);
    tabla_->sortByColumn(2, Qt::AscendingOrder);
    tabla_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabla_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabla_->setAlternatingRowColors(true);
    tabla_->verticalHeader()->hide();
    tabla_->verticalHeader()->setDefaultSectionSize(tabla_->fontMetrics().height() + 6);
    tabla_->horizontalHeader()->setStretchLastSection(true);
    tabla_->resizeColumnsToContents();
    buscar_ = new QLineEdit(this);
    buscar_->setPlaceholderText("Texto en cualquier columna");
    buscar_->setClearButtonEnabled(true);
    auto* etiqueta = new QLabel("&Buscar:", this);
    etiqueta->setBuddy(buscar_);
    connect(buscar_, &QLineEdit::textChanged, this, [this](const QString& texto) {
        filtro_->setFilterFixedString(texto);
        MuestraTotal();
    });
    new QShortcut(QKeySequence::Find, this, [this] { buscar_->setFocus(); });
    total_ = new QLabel(this);
    auto* csv = new QPushButton("&CSV…", this);
    auto* excel = new QPushButton("&Excel…", this);
    auto* cerrar = new QPushButton("Ce&rrar", this);
    for (QPushButton* b : {csv, excel, cerrar}) b->setAutoDefault(false);
    connect(csv, &QPushButton::clicked, this, [this] { Guarda("csv"); });
    connect(excel, &QPushButton::clicked, this, [this] { Guarda("xlsx"); });
    connect(cerrar, &QPushButton::clicked, this, &QDialog::close);

    auto* busqueda = new QHBoxLayout;
    busqueda->addWidget(etiqueta);
    busqueda->addWidget(buscar_);
    auto* pie = new QHBoxLayout;
    pie->addWidget(total_, 1);
    for (QPushButton* b : {csv, excel, cerrar}) pie->addWidget(b);
    auto* columna = new QVBoxLayout(this);
    columna->addWidget(titulo);
    columna->addLayout(busqueda);
    columna->addWidget(tabla_, 1);
    columna->addLayout(pie);
    resize(900, 520);
    MuestraTotal();
}

void frmDetalle::MuestraTotal() {
    const reportdata::Detalle& d = modelo_->Detalle();
    QString texto = QString("%1 documentos · Total: %2")
                        .arg(d.documentos.size())
                        .arg(report::Moneda(d.Total()));
    if (filtro_->rowCount() != modelo_->rowCount()) {
        double mostrados = 0;
        for (int i = 0; i < filtro_->rowCount(); ++i)
            mostrados += filtro_->index(i, 7).data(Qt::UserRole).toDouble();
        texto +=
            QString(" · Mostrados: %1, %2").arg(filtro_->rowCount()).arg(report::Moneda(mostrados));
    }
    total_->setText(texto);
}

void frmDetalle::Guarda(const QString& tipo) {
    const reportdata::Detalle& d = modelo_->Detalle();
    report::GuardaCopia(this, d.archivo, tipo, [&](const QString& ruta) {
        const report::Listado l = reportdata::ComoListado(d);
        tipo == "xlsx" ? report::ExportListadoXlsx(l, ruta) : report::ExportListadoCsv(l, ruta);
    });
}
