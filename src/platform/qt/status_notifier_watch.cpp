#include "platform/qt/status_notifier_watch.h"

#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>

namespace qx::qt {

namespace {
const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
constexpr int kAnswerMs = 2000;  // a watcher slower than this is asked again later
constexpr int kRetryMs = 5000;
}  // namespace

StatusNotifierWatch::StatusNotifierWatch(QDBusConnection bus)
    : bus_(std::move(bus)), names_(kWatcher, bus_, QDBusServiceWatcher::WatchForOwnerChange) {
    retry_.setSingleShot(true);
    connect(&retry_, &QTimer::timeout, this, [this] { askHost(); });
    connect(&names_, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& owner) { ownerChanged(owner); });
    // From any sender: naming the watcher would make the bus look up its
    // owner now, and again whenever it changes.
    for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"}) {
        bus_.connect(QString(), kWatcherPath, kWatcher, QString::fromLatin1(signal), this, SLOT(hostsChanged()));
    }
}

void StatusNotifierWatch::start(int waitMs) {
    started_ = true;
    QDBusConnectionInterface* names = bus_.isConnected() ? bus_.interface() : nullptr;
    watcher_ = names && names->isServiceRegistered(kWatcher);
    if (!watcher_) return;
    const quint64 question = ++asked_;
    QDBusPendingCall call = bus_.asyncCall(hostQuestion(), waitMs);
    call.waitForFinished();
    if (question == asked_) answered(call.reply(), false);
}

void StatusNotifierWatch::hostsChanged() {
    if (watcher_) askHost();
}

void StatusNotifierWatch::ownerChanged(const QString& owner) {
    if (!started_) return;
    retry_.stop();
    ++asked_;
    watcher_ = !owner.isEmpty();
    host_ = false;
    if (onChange) onChange(watcher_);
    if (watcher_) askHost();
}

QDBusMessage StatusNotifierWatch::hostQuestion() const {
    QDBusMessage get = QDBusMessage::createMethodCall(kWatcher, kWatcherPath,
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << kWatcher << QStringLiteral("IsStatusNotifierHostRegistered");
    return get;
}

void StatusNotifierWatch::askHost() {
    const quint64 question = ++asked_;
    auto* call = new QDBusPendingCallWatcher(bus_.asyncCall(hostQuestion(), kAnswerMs), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [this, call, question] {
        call->deleteLater();
        if (question == asked_) answered(call->reply(), true);
    });
}

void StatusNotifierWatch::answered(const QDBusMessage& reply, bool tell) {
    if (!watcher_) return;
    bool host = false;
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
        host = reply.arguments().at(0).value<QDBusVariant>().variant().toBool();
    } else if (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
               reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.Timeout")) {
        // A watcher that doesn't answer (stopped, or busy) is asked again
        // later; until then what it said last stands.
        retry_.start(kRetryMs);
        return;
    }
    if (host == host_) return;
    host_ = host;
    if (tell && onChange) onChange(false);
}

}  // namespace qx::qt
