#pragma once
#include "platform/vb/MsgBox.h"

// The program's message boxes: real QMessageBox dialogs.
class QMessageBoxes : public MessageBoxes {
  public:
    int Show(const QString& prompt, int buttons, const QString& title) override;
};
