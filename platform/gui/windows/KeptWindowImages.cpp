#include "platform/gui/KeptWindowImages.h"

// Nothing to keep: on Windows the framework drops only a spare painting image after a pause, and
// making it again neither moves the window nor closes its menu. The moves that needed this are
// those of the framework's X11 windows.

KeptWindowImages::KeptWindowImages() = default;

KeptWindowImages::~KeptWindowImages() = default;

void KeptWindowImages::keepAll() {}

void KeptWindowImages::timerCallback() {}
