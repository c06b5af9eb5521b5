#include "platform/qt/qt_application.h"

#include <QApplication>

#include "platform/qt/accessible_controls.h"
#include "platform/qt/display_check.h"
#include "platform/qt/icons.h"
#include "platform/qt/lazy_style_icons.h"

namespace qx::qt {

Application::Application(int& argc, char** argv) {
    installDisplayFailureHandler();
    QApplication::setApplicationName(QStringLiteral("Quendax"));
    QApplication::setDesktopFileName(QStringLiteral("quendax"));
    app_ = std::make_unique<QApplication>(argc, argv);
    reportPlatformFallback();
    // The desktop's own style, held by the proxy.
    QApplication::setStyle(new LazyStyleIcons(QApplication::style()->name()));
    QApplication::setQuitOnLastWindowClosed(false);
    registerIconResources();
    installAccessibleControls();
    QApplication::setWindowIcon(iconNamed("app"));
}

Application::~Application() = default;

}  // namespace qx::qt
