#include "shell/ProgramIcon.h"

// The icon pictures live in a static library: their resources must be pulled
// in by name, outside any namespace.
static void loadIconResources() {
    Q_INIT_RESOURCE(programicon);
}

namespace n4 {

QIcon programIcon() {
    loadIconResources();
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/numbers4marvo-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace n4
