#include "platform/vb/MsgBox.h"

#include <QCoreApplication>

#include "platform/vb/RuntimeError.h"

namespace {
MessageBoxes* instaladas = nullptr;
}

void SetMessageBoxes(MessageBoxes* boxes) {
    instaladas = boxes;
}

int MsgBox(const QString& prompt, int buttons, const QString& title) {
    const QString titulo = title.isEmpty() ? QCoreApplication::applicationName() : title;
    if (!instaladas) return (buttons & vbYesNo) ? vbNo : vbOK;
    return instaladas->Show(prompt, buttons, titulo);
}

void CierraCajas() {
    if (instaladas) instaladas->CloseOpen();
}

void ShowRuntimeError(const RuntimeError& error) {
    QString texto = QString("Error '%1' en tiempo de ejecución:\n\n%2")
                        .arg(error.Number())
                        .arg(error.Description());
    if (!error.Statement().isEmpty()) texto += "\n\n" + error.Statement();
    MsgBox(texto, vbOKOnly | vbCritical);
}
