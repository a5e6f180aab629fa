#pragma once
#include <QAbstractTableModel>

#include "reportdata/Detalle.h"

// The documents of a figure for a table view: the view asks only for the rows it shows, so a
// list of many thousand documents stays quick. Sorts by each column's own value.
class ModeloDetalle : public QAbstractTableModel {
  public:
    explicit ModeloDetalle(reportdata::Detalle detalle, QObject* padre = nullptr);
    int rowCount(const QModelIndex& padre = {}) const override;
    int columnCount(const QModelIndex& padre = {}) const override;
    QVariant data(const QModelIndex& i, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation o, int rol = Qt::DisplayRole) const override;
    const reportdata::Detalle& Detalle() const { return detalle_; }

  private:
    reportdata::Detalle detalle_;
    report::Listado listado_;
};
