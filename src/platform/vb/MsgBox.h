#pragma once
#include <QString>

// Message boxes go through one seam, so tests can read and answer them.
enum VbMsgBoxStyle { vbOKOnly = 0, vbYesNo = 4, vbCritical = 16, vbQuestion = 32 };
enum VbMsgBoxResult { vbOK = 1, vbYes = 6, vbNo = 7 };

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    virtual int Show(const QString& prompt, int buttons, const QString& title) = 0;
    // Closes the boxes waiting for an answer now, as Escape would.
    virtual void CloseOpen() {}
};

// Installs the implementation (the program's QMessageBox one, or a test's recorder).
void SetMessageBoxes(MessageBoxes* boxes);

// Shows a message; an empty title means the application's own title.
int MsgBox(const QString& prompt, int buttons = vbOKOnly, const QString& title = {});

// Closes the open boxes: the work they belong to was stopped, or the program is ending.
void CierraCajas();

// The platform's run-time error box for an error nobody handled.
void ShowRuntimeError(const class RuntimeError& error);
