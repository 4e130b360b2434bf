#pragma once

/** What a new top-level window's position names before the window is shown. An X window manager
    puts the frame's outer corner there (the default north-west gravity), so a window placed at
    the user area's corner has its title bar inside it. Windows puts the window's content there,
    with the frame around it: the same position would put the title bar above the screen, out of
    reach, unless the window is moved down and right by its frame. */
class WindowOrigin
{
public:
    /** True where a position given before showing is the frame's corner. */
    static bool isFrameCorner();
};
