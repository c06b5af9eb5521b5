#include "platform/qt/status_notifier_item.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QImage>
#include <QTimer>
#include <QtEndian>
#include <QCoreApplication>

#include "platform/qt/session_bus.h"

namespace qx::qt {

namespace {

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString kItemInterface = QStringLiteral("org.kde.StatusNotifierItem");
const QString kItemPath = QStringLiteral("/StatusNotifierItem");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kBus = QStringLiteral("org.freedesktop.DBus");
const QString kBusPath = QStringLiteral("/org/freedesktop/DBus");
constexpr int kRegisterTries = 10;
constexpr int kRegisterRetryMs = 300;
constexpr int kRegisterAnswerMs = 2000;  // no answer: the watcher takes the call in when it goes on

// One picture as the item sends it: width, height and ARGB32 pixels in
// network byte order.
struct SniPixmap {
    int width = 0;
    int height = 0;
    QByteArray argb;
};
using SniPixmaps = QList<SniPixmap>;

struct SniToolTip {
    QString iconName;
    SniPixmaps pixmaps;
    QString title;
    QString text;
};

}  // namespace
}  // namespace qx::qt

Q_DECLARE_METATYPE(qx::qt::SniPixmap)
Q_DECLARE_METATYPE(qx::qt::SniToolTip)

namespace qx::qt {
namespace {

QDBusArgument& operator<<(QDBusArgument& out, const SniPixmap& pixmap) {
    out.beginStructure();
    out << pixmap.width << pixmap.height << pixmap.argb;
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, SniPixmap& pixmap) {
    in.beginStructure();
    in >> pixmap.width >> pixmap.height >> pixmap.argb;
    in.endStructure();
    return in;
}

QDBusArgument& operator<<(QDBusArgument& out, const SniToolTip& tip) {
    out.beginStructure();
    out << tip.iconName << tip.pixmaps << tip.title << tip.text;
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, SniToolTip& tip) {
    in.beginStructure();
    in >> tip.iconName >> tip.pixmaps >> tip.title >> tip.text;
    in.endStructure();
    return in;
}

void registerTypes() {
    static const bool registered = [] {
        qDBusRegisterMetaType<SniPixmap>();
        qDBusRegisterMetaType<SniPixmaps>();
        qDBusRegisterMetaType<SniToolTip>();
        return true;
    }();
    (void)registered;
}

SniPixmaps pixmapsOf(const QIcon& icon) {
    SniPixmaps out;
    for (const int size : {16, 22, 32, 48}) {
        const QImage image = icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
        if (image.isNull()) continue;
        SniPixmap pixmap{image.width(), image.height(), {}};
        pixmap.argb.resize(static_cast<qsizetype>(image.width()) * image.height() * 4);
        auto* to = reinterpret_cast<quint32*>(pixmap.argb.data());
        for (int y = 0; y < image.height(); ++y) {
            const auto* from = reinterpret_cast<const quint32*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) *to++ = qToBigEndian(from[x]);
        }
        out.push_back(pixmap);
    }
    return out;
}

constexpr const char* kIntrospection = R"xml(<interface name="org.kde.StatusNotifierItem">
  <property name="Category" type="s" access="read"/>
  <property name="Id" type="s" access="read"/>
  <property name="Title" type="s" access="read"/>
  <property name="Status" type="s" access="read"/>
  <property name="WindowId" type="i" access="read"/>
  <property name="IconName" type="s" access="read"/>
  <property name="IconPixmap" type="a(iiay)" access="read"/>
  <property name="OverlayIconName" type="s" access="read"/>
  <property name="OverlayIconPixmap" type="a(iiay)" access="read"/>
  <property name="AttentionIconName" type="s" access="read"/>
  <property name="AttentionIconPixmap" type="a(iiay)" access="read"/>
  <property name="AttentionMovieName" type="s" access="read"/>
  <property name="ToolTip" type="(sa(iiay)ss)" access="read"/>
  <property name="ItemIsMenu" type="b" access="read"/>
  <property name="Menu" type="o" access="read"/>
  <method name="ContextMenu"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
  <method name="Activate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
  <method name="SecondaryActivate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
  <method name="Scroll"><arg name="delta" type="i" direction="in"/><arg name="orientation" type="s" direction="in"/></method>
  <signal name="NewTitle"/>
  <signal name="NewIcon"/>
  <signal name="NewAttentionIcon"/>
  <signal name="NewOverlayIcon"/>
  <signal name="NewToolTip"/>
  <signal name="NewStatus"><arg name="status" type="s"/></signal>
</interface>
)xml";

const QStringList kPropertyNames = {
    QStringLiteral("Category"),          QStringLiteral("Id"),
    QStringLiteral("Title"),             QStringLiteral("Status"),
    QStringLiteral("WindowId"),          QStringLiteral("IconName"),
    QStringLiteral("IconPixmap"),        QStringLiteral("OverlayIconName"),
    QStringLiteral("OverlayIconPixmap"), QStringLiteral("AttentionIconName"),
    QStringLiteral("AttentionIconPixmap"), QStringLiteral("AttentionMovieName"),
    QStringLiteral("ToolTip"),           QStringLiteral("ItemIsMenu"),
    QStringLiteral("Menu")};

}  // namespace

StatusNotifierItem::StatusNotifierItem()
    : service_(QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(QCoreApplication::applicationPid())) {
    // The item's name is taken at once: a host that meets the name's owner
    // changing while it takes the item in may drop the item.
    requestName();
}

void StatusNotifierItem::requestName() {
    QDBusConnection bus = sessionBusIfAny();
    if (named_ || !bus.isConnected()) return;
    // Asked without waiting: the bus handles it before any registration
    // that follows, so the watcher finds the name taken.
    QDBusMessage request = QDBusMessage::createMethodCall(kBus, kBusPath, kBus, QStringLiteral("RequestName"));
    request << service_ << 4u;  // DBUS_NAME_FLAG_DO_NOT_QUEUE
    bus.call(request, QDBus::NoBlock);
    named_ = true;
}

StatusNotifierItem::~StatusNotifierItem() { hide(); }

bool StatusNotifierItem::show(const QIcon& icon, const QString& tip) {
    if (!shown_ || icon.cacheKey() != icon_.cacheKey()) pixmaps_ = QVariant::fromValue(pixmapsOf(icon));
    icon_ = icon;
    tip_ = tip;
    QDBusConnection bus = sessionBusIfAny();
    if (!exported_) {
        if (!bus.isConnected()) return false;
        registerTypes();
        if (!bus.registerVirtualObject(kItemPath, this, QDBusConnection::SingleNode)) return false;
        requestName();
        exported_ = true;
    }
    shown_ = true;
    registerAgain();
    return true;
}

void StatusNotifierItem::setIcon(const QIcon& icon, const QString& tip) {
    if (icon.cacheKey() != icon_.cacheKey()) pixmaps_ = QVariant::fromValue(pixmapsOf(icon));
    icon_ = icon;
    const bool newTip = tip != tip_;
    tip_ = tip;
    if (!shown_) return;
    signal("NewIcon");
    if (newTip) signal("NewToolTip");
}

void StatusNotifierItem::hide() {
    shown_ = false;
    if (!exported_) return;
    exported_ = false;
    // The watcher drops an item whose name leaves the bus.
    QDBusConnection bus = sessionBusIfAny();
    QDBusMessage release = QDBusMessage::createMethodCall(kBus, kBusPath, kBus, QStringLiteral("ReleaseName"));
    release << service_;
    bus.call(release, QDBus::NoBlock);
    named_ = false;
    bus.unregisterObject(kItemPath);
}

void StatusNotifierItem::registerAgain() { registerWithWatcher(kRegisterTries); }

void StatusNotifierItem::registerWithWatcher(int tries) {
    if (!shown_) return;
    QDBusMessage call = QDBusMessage::createMethodCall(kWatcher, kWatcherPath, kWatcher,
                                                       QStringLiteral("RegisterStatusNotifierItem"));
    call << service_;
    auto* answer = new QDBusPendingCallWatcher(sessionBusIfAny().asyncCall(call, kRegisterAnswerMs), this);
    QObject::connect(answer, &QDBusPendingCallWatcher::finished, this, [this, answer, tries] {
        answer->deleteLater();
        const QDBusError error = answer->error();
        // A watcher that has just taken its name may not have its object
        // yet: it is told again a moment later. One that doesn't answer
        // takes the call in when it goes on.
        if (!error.isValid() || error.type() == QDBusError::NoReply || error.type() == QDBusError::Timeout) return;
        if (tries > 1) QTimer::singleShot(kRegisterRetryMs, this, [this, tries] { registerWithWatcher(tries - 1); });
    });
}

void StatusNotifierItem::signal(const char* name) {
    sessionBusIfAny().send(
        QDBusMessage::createSignal(kItemPath, kItemInterface, QString::fromLatin1(name)));
}

QVariant StatusNotifierItem::property(const QString& name) const {
    if (name == QLatin1String("Category")) return QStringLiteral("ApplicationStatus");
    if (name == QLatin1String("Id")) return QStringLiteral("quendax");
    if (name == QLatin1String("Title")) return tip_;
    if (name == QLatin1String("Status")) return QStringLiteral("Active");
    if (name == QLatin1String("WindowId")) return 0;
    if (name == QLatin1String("IconPixmap")) return pixmaps_;
    if (name == QLatin1String("OverlayIconPixmap") || name == QLatin1String("AttentionIconPixmap")) {
        return QVariant::fromValue(SniPixmaps{});
    }
    if (name == QLatin1String("ToolTip")) return QVariant::fromValue(SniToolTip{{}, {}, tip_, {}});
    if (name == QLatin1String("ItemIsMenu")) return false;
    if (name == QLatin1String("Menu")) return QVariant::fromValue(QDBusObjectPath(menuPath_));
    if (kPropertyNames.contains(name)) return QString();  // the names of themed images: none
    return {};
}

QString StatusNotifierItem::introspect(const QString& /*path*/) const { return QString::fromLatin1(kIntrospection); }

bool StatusNotifierItem::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
    const QList<QVariant> args = message.arguments();
    const QString member = message.member();
    if (message.interface() == kProperties) {
        if (member == QLatin1String("GetAll")) {
            QVariantMap all;
            for (const QString& name : kPropertyNames) all.insert(name, property(name));
            connection.send(message.createReply(QVariant::fromValue(all)));
            return true;
        }
        if (member == QLatin1String("Get") && args.size() == 2) {
            const QVariant value = property(args.at(1).toString());
            if (!value.isValid()) {
                connection.send(message.createErrorReply(QDBusError::UnknownProperty, args.at(1).toString()));
            } else {
                connection.send(message.createReply(QVariant::fromValue(QDBusVariant(value))));
            }
            return true;
        }
        return false;
    }
    if (!message.interface().isEmpty() && message.interface() != kItemInterface) return false;
    const int x = args.size() > 0 ? args.at(0).toInt() : 0;
    const int y = args.size() > 1 ? args.at(1).toInt() : 0;
    if (member == QLatin1String("Activate") || member == QLatin1String("SecondaryActivate") ||
        member == QLatin1String("ContextMenu") || member == QLatin1String("Scroll")) {
        connection.send(message.createReply());
        // Run from the event loop, after the answer: a handler may open a
        // message box or end the program.
        if (member == QLatin1String("Activate")) {
            QMetaObject::invokeMethod(this, [this] { if (onActivate) onActivate(); }, Qt::QueuedConnection);
        } else if (member == QLatin1String("ContextMenu")) {
            QMetaObject::invokeMethod(
                this, [this, x, y] { if (onContextMenu) onContextMenu(x, y); }, Qt::QueuedConnection);
        }
        return true;
    }
    // A method of the interface the item doesn't have: hosts that try an
    // extension first (an activation token, another secondary click) fall
    // back on hearing so.
    connection.send(message.createErrorReply(QDBusError::UnknownMethod, member));
    return true;
}

}  // namespace qx::qt
