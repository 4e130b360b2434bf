#include "platform/gui/QueuedWindowEvents.h"

// Nothing is held back: the framework's Windows message loop takes every window message from the
// thread's queue as it comes. Events left waiting in a queue of its own are Xlib's.

QueuedWindowEvents::QueuedWindowEvents() = default;

QueuedWindowEvents::~QueuedWindowEvents() = default;

void QueuedWindowEvents::dispatch() {}

void QueuedWindowEvents::timerCallback() {}
