#include "platform/gui/WindowOrigin.h"

bool WindowOrigin::isFrameCorner()
{
    return true;
}
