#include "platform/vb/QMessageBoxes.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>

namespace {
// A box that waits for the user shows the arrow, also in the middle of long work.
struct FlechaMientras {
    FlechaMientras() { QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor)); }
    ~FlechaMientras() { QApplication::restoreOverrideCursor(); }
};
}  // namespace

int QMessageBoxes::Show(const QString& prompt, int buttons, const QString& title) {
    const FlechaMientras flecha;
    QMessageBox caja(QApplication::activeWindow());
    caja.setWindowTitle(title);
    caja.setText(QString(prompt).replace(QChar(13), QChar(10)));
    if (buttons & vbCritical) caja.setIcon(QMessageBox::Critical);
    if (buttons & vbQuestion) caja.setIcon(QMessageBox::Question);
    if (buttons & vbYesNo) {
        caja.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        caja.setDefaultButton(QMessageBox::Yes);
        return caja.exec() == QMessageBox::Yes ? vbYes : vbNo;
    }
    caja.setStandardButtons(QMessageBox::Ok);
    caja.exec();
    return vbOK;
}
