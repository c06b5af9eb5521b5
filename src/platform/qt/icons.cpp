#include "platform/qt/icons.h"

// The resource initialiser must be named outside any namespace.
static void initQuendaxIcons() { Q_INIT_RESOURCE(quendax_icons); }

namespace qx::qt {

void registerIconResources() { initQuendaxIcons(); }

QIcon iconNamed(std::string_view name) {
    QIcon icon;
    if (name == "app") {
        for (const char* file : {":/quendax/app-16.png", ":/quendax/app-32.png", ":/quendax/app-48.png"}) {
            icon.addFile(QString::fromLatin1(file));
        }
    } else if (name == "warning") {
        icon.addFile(QStringLiteral(":/quendax/warning-16.png"));
    }
    return icon;
}

}  // namespace qx::qt
