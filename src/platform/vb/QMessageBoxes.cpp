#include "QMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

int QMessageBoxes::Show(const QString& prompt, int buttons, const QString& title) {
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
