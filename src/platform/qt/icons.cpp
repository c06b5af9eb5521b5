#include "platform/qt/icons.h"

#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <vector>

// The resource initialiser must be named outside any namespace.
static void initQuendaxIcons() { Q_INIT_RESOURCE(quendax_icons); }

namespace qx::qt {

namespace {

// Read by Qt's own PNG reader: with the format left to be found out, even a
// file named .png is first shown to every image plugin installed, each of
// them (and its libraries) loaded for that.
QImage png(const char* file) {
    QImageReader reader(QString::fromLatin1(file), "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QIcon iconOf(const std::vector<QImage>& images) {
    QIcon icon;
    for (const QImage& image : images) icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}

}  // namespace

void registerIconResources() { initQuendaxIcons(); }

QIcon iconNamed(std::string_view name) {
    // Decoded once: the application, the window and the notification area
    // all ask for them.
    if (name == "app") {
        static const std::vector<QImage> app{png(":/quendax/app-16.png"), png(":/quendax/app-32.png"),
                                             png(":/quendax/app-48.png")};
        return iconOf(app);
    }
    if (name == "warning") {
        static const std::vector<QImage> warning{png(":/quendax/warning-16.png")};
        return iconOf(warning);
    }
    return QIcon();
}

}  // namespace qx::qt
