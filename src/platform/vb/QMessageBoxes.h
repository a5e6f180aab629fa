#pragma once
#include <QList>
#include <QPointer>

#include "platform/vb/MsgBox.h"

class QMessageBox;

// The program's message boxes: real QMessageBox dialogs.
class QMessageBoxes : public MessageBoxes {
  public:
    int Show(const QString& prompt, int buttons, const QString& title) override;
    void CloseOpen() override;

  private:
    QList<QPointer<QMessageBox>> abiertas_;
};
