#pragma once

// The application-wide mouse pointer: vbDefault (0) or vbHourglass (11).
enum MousePointerConstants { vbDefault = 0, vbHourglass = 11 };

namespace Screen {
void MousePointer(int pointer);
}
