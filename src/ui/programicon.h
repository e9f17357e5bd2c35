#pragma once

#include <QIcon>

// The program's icon, at the sizes it is drawn in (the main window, the About box).
QIcon programIcon();
