#pragma once
// Icon 138, the program's own artwork (res/icon138.png, compiled into the program): the title
// bar and task bar of the main form and the picture of the version box.

#include <QIcon>

namespace zorvik {

// The icon; the compiled-in resources are registered on first use, so that the picture is found
// when the program's widgets come from a static library.
QIcon AppIcon();

}  // namespace zorvik
