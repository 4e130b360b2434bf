#include "platform/gui/FixedSizeHints.h"

// Nothing to tell: the framework makes a window that is not resizable without a sizing frame or a
// maximise button (no WS_THICKFRAME or WS_MAXIMIZEBOX), and Windows then offers no resizing or
// maximising and keeps that style across moves. The size hints are an X window manager's.

void FixedSizeHints::apply (void*, int, int) {}
