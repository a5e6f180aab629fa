#pragma once
#include <QDialog>

#include "reportdata/Detalle.h"

class QLabel;
class QLineEdit;
class QSortFilterProxyModel;
class QTableView;
class ModeloDetalle;

// The documents behind a figure of the shown report: sorted by any column, found by text, saved
// to CSV or Excel. A window of its own over the viewer, which takes it along when it closes.
class frmDetalle : public QDialog {
    Q_OBJECT
  public:
    frmDetalle(QWidget* visor, reportdata::Detalle detalle);
    QTableView* Tabla() const { return tabla_; }
    QLineEdit* Buscar() const { return buscar_; }
    void Guarda(const QString& tipo);

  private:
    void MuestraTotal();

    ModeloDetalle* modelo_;
    QSortFilterProxyModel* filtro_;
    QTableView* tabla_;
    QLineEdit* buscar_;
    QLabel* total_;
};
