#pragma once
#include <QString>

#include "reportdata/CopiaEstructura.h"

// Starts the program: true when the selection window is shown, false when the run must end.
bool Main();
// Creates the eight service-library objects, in order.
void CreaObjetos();
void LiberaObjetos();
// Closes every box and window, the selection window last: it cancels or closes its report
// and drops the report's table before it goes.
void CierraVentanas();
