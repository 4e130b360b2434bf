#include "platform/Utf8Console.h"

// The terminal is given the bytes as they are.
Utf8Console::Utf8Console() = default;

Utf8Console::~Utf8Console() = default;
