#pragma once
#include <QVector>

namespace report {

// The rows of the table of figures on one page, and whether the totals row closes it.
struct Trozo {
    int primera;
    int cuantas;
    bool total;
};

// The rows of the table that fit in alto points under its heading row, each row renglon high.
int FilasQueCaben(double alto, double renglon);

// Splits a table of filas rows over pages: the first page has room for cabenPrimera rows, the
// others for cabenResto (heading excluded). The totals row follows the last row, and never
// stands alone on a page: when the last rows fill theirs, the last one goes over with it. No
// rows: one page and no table.
QVector<Trozo> Pagina(int filas, int cabenPrimera, int cabenResto);

}  // namespace report
