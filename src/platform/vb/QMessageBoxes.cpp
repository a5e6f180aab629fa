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
    // Over the modal window on top (a progress window), whose child it is, so that nothing it
    // opens later can block the box; else over the active window.
    QWidget* sobre = QApplication::activeModalWidget();
    QMessageBox caja(sobre ? sobre : QApplication::activeWindow());
    caja.setWindowTitle(title);
    caja.setText(QString(prompt).replace(QChar(13), QChar(10)));
    if (buttons & vbCritical) caja.setIcon(QMessageBox::Critical);
    if (buttons & vbQuestion) caja.setIcon(QMessageBox::Question);
    if (buttons & vbYesNo) {
        caja.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        caja.setDefaultButton(QMessageBox::Yes);
    } else {
        caja.setStandardButtons(QMessageBox::Ok);
    }
    abiertas_ << &caja;
    const int respuesta = caja.exec();
    abiertas_.removeAll(&caja);
    if (buttons & vbYesNo) return respuesta == QMessageBox::Yes ? vbYes : vbNo;
    return vbOK;
}

void QMessageBoxes::CloseOpen() {
    for (const QPointer<QMessageBox>& caja : abiertas_)
        if (caja) caja->reject();
}
