#include "ui/programicon.h"

// The icons are compiled into the UI library; a static library's resources are only linked in,
// and registered, when something calls their initialiser.
static void registerResources() {
    Q_INIT_RESOURCE(tankometer);
}

QIcon programIcon() {
    static const bool registered = (registerResources(), true);
    Q_UNUSED(registered);
    // Bitmaps of the scalable icon, for platforms whose Qt cannot draw SVG.
    QIcon icon;
    for (const int size : {32, 64, 256})
        icon.addFile(QStringLiteral(":/tankometer-%1.png").arg(size), QSize(size, size));
    return icon;
}
