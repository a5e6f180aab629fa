#include "ui/viewer/ModeloDetalle.h"

#include <QDate>

#include "platform/report/Formato.h"

namespace {
const int kImporte = 7;  // the amount's column
}

ModeloDetalle::ModeloDetalle(reportdata::Detalle detalle, QObject* padre)
    : QAbstractTableModel(padre),
      detalle_(std::move(detalle)),
      listado_(reportdata::ComoListado(detalle_)) {}

int ModeloDetalle::rowCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : int(listado_.filas.size());
}

int ModeloDetalle::columnCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : int(listado_.columnas.size());
}

QVariant ModeloDetalle::data(const QModelIndex& i, int rol) const {
    const QVariant& v = listado_.filas[i.row()][i.column()];
    switch (rol) {
        case Qt::DisplayRole:
            if (i.column() == kImporte) return report::Moneda(v.toDouble());
            return v.typeId() == QMetaType::QDate ? v.toDate().toString("dd/MM/yyyy") : v;
        case Qt::UserRole:  // what sorting compares: dates and amounts as such
            return v;
        case Qt::TextAlignmentRole:
            return i.column() == kImporte ? int(Qt::AlignRight | Qt::AlignVCenter)
                                          : int(Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::ForegroundRole:
            return i.column() == kImporte && v.toDouble() < 0 ? QColor(178, 34, 34) : QVariant();
    }
    return {};
}

QVariant ModeloDetalle::headerData(int seccion, Qt::Orientation o, int rol) const {
    if (o == Qt::Horizontal && rol == Qt::DisplayRole) return listado_.columnas.value(seccion);
    return QAbstractTableModel::headerData(seccion, o, rol);
}
