#pragma once

namespace tavolin {

// What a screen reader makes of the window's own kinds of widget: the
// window is a frame with its caption, a bevel line a separator (neither is
// an unnamed filler). Installed once, before the first window is built.
void InstallAccessibleRoles();

} // namespace tavolin
