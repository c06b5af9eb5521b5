#include "platform/qt/qt_backend.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

#include "platform/qt/qt_system.h"
#include "platform/qt/qt_timer_host.h"
#include "platform/qt/twips.h"
#include "platform/qt/qt_window_host.h"

namespace qx::qt {

struct QtBackend::Services {
    Services(ui::Dispatcher& dispatcher, MemorySystem& memory, FreeingSystem& freeing, WatchedBlock& blocks,
             LookupSystem& lookups, std::string commandLine)
        : timers(dispatcher),
          windows(dispatcher, timers),
          system(memory, freeing, blocks, lookups, windows, std::move(commandLine)) {}

    QtTimerHost timers;
    QtWindowHost windows;
    QtSystem system;
};

QtBackend::QtBackend(MemorySystem& memory, FreeingSystem& freeing, WatchedBlock& blocks, LookupSystem& lookups,
                 std::string commandLine)
    : services_(std::make_unique<Services>(dispatcher_, memory, freeing, blocks, lookups, std::move(commandLine))) {
    dispatcher_.setOnEnd([this] {
        services_->timers.stopAll();
        QCoreApplication::exit(status_);
    });
    dispatcher_.setOnSync([this] {
        services_->windows.host().syncAll();
        services_->system.tray().syncMenu();
    });
    dispatcher_.setOnSyncLater([this] { services_->windows.host().syncSoon(); });
    dispatcher_.setOnWarn([this](std::string_view line) { services_->system.warn(line); });
}

QtBackend::~QtBackend() {
    // No handler runs while the windows go: the forms may already be gone.
    dispatcher_.end();
}

System& QtBackend::system() { return services_->system; }
QtWindowHost& QtBackend::windows() { return services_->windows; }
QtTimerHost& QtBackend::timers() { return services_->timers; }
QtSystem& QtBackend::qtSystem() { return services_->system; }

std::string QtBackend::userGroupSeparator() { return QLocale::system().groupSeparator().toStdString(); }

double QtBackend::twipsPerPixel() { return kTwipsPerPixel; }

void QtBackend::attach(ui::Form& startup) { services_->windows.host().attach(startup); }

ui::FormHandlers& QtBackend::formHandlers() { return services_->windows.host().handlers(); }

void QtBackend::setTrayHandler(std::function<void(int message)> handler) {
    services_->system.setTrayHandler([this, handler = std::move(handler)](int message) {
        dispatcher_.deliver([&] { handler(message); });
    });
}

void QtBackend::setTrayHostHandler(std::function<void(bool present)> handler) {
    services_->system.tray().setOnHostChange([this, handler = std::move(handler)](bool present) {
        dispatcher_.deliver([&] { handler(present); });
    });
}

void QtBackend::setTrayMenu(ui::MenuItem& popup, std::function<void()> aboutToOpen) {
    QMenu* menu = services_->windows.menuOf(popup);
    services_->system.tray().setContextMenu(
        menu, popup,
        [this, aboutToOpen = std::move(aboutToOpen)] {
            services_->windows.host().setMenuOpeningElsewhere(true);
            dispatcher_.deliver(aboutToOpen);
            services_->windows.host().setMenuOpeningElsewhere(false);
        },
        // An entry chosen in the host's menu runs as one chosen in ours.
        [this](ui::MenuItem& item) {
            if (QAction* action = services_->windows.actionOf(item)) action->trigger();
        });
}

void QtBackend::screenshotAfter(int ms, std::string path, bool replaceExisting) {
    QTimer::singleShot(ms, [this, path = std::move(path), replaceExisting] {
        if (dispatcher_.ended()) return;
        QtFormWindow* window = services_->windows.startupWindow();
        // NewOnly creates the file or fails if one is there, in one step.
        QFile file(QString::fromStdString(path));
        const QIODevice::OpenMode mode =
            replaceExisting ? QIODevice::WriteOnly | QIODevice::Truncate : QIODevice::WriteOnly | QIODevice::NewOnly;
        const bool opened = window && file.open(mode);
        const bool saved = opened && window->grab().save(&file, "PNG");
        if (opened && !saved) file.remove();  // no half-written picture left behind
        if (!saved) {
            std::fprintf(stderr, "quendax: could not save the screenshot to %s\n", path.c_str());
            status_ = 1;
        }
        dispatcher_.end();
    });
}

void QtBackend::closeAfter(int ms) {
    QTimer::singleShot(ms, [this] {
        if (QtFormWindow* window = services_->windows.startupWindow()) window->close();
    });
}

void QtBackend::describeWindowTo(std::string path) { services_->windows.host().describeTo(std::move(path)); }

int QtBackend::exec() {
    if (dispatcher_.ended()) return status_;
    return QCoreApplication::exec();
}

}  // namespace qx::qt
