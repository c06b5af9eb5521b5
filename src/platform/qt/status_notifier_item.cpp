#include "platform/qt/status_notifier_item.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QImage>
#include <QtEndian>
#include <QCoreApplication>

namespace qx::qt {

namespace {

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString kItemInterface = QStringLiteral("org.kde.StatusNotifierItem");
const QString kItemPath = QStringLiteral("/StatusNotifierItem");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

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
    registerTypes();
    QDBusConnection bus = QDBusConnection::sessionBus();
    watcher_.setConnection(bus);
    watcher_.addWatchedService(kWatcher);
    watcher_.setWatchMode(QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration);
    QObject::connect(&watcher_, &QDBusServiceWatcher::serviceRegistered, this, [this] {
        if (shown_) registerWithWatcher();
        if (onWatcherChange_) onWatcherChange_(true);
    });
    QObject::connect(&watcher_, &QDBusServiceWatcher::serviceUnregistered, this, [this] {
        if (onWatcherChange_) onWatcherChange_(false);
    });
}

StatusNotifierItem::~StatusNotifierItem() { hide(); }

bool StatusNotifierItem::watcherPresent() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface() && bus.interface()->isServiceRegistered(kWatcher);
}

bool StatusNotifierItem::hostPresent() {
    if (!watcherPresent()) return false;
    // One direct call with a short wait, so a watcher that doesn't answer
    // can't hold the window up.
    QDBusMessage get = QDBusMessage::createMethodCall(kWatcher, kWatcherPath, kProperties, QStringLiteral("Get"));
    get << kWatcher << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = QDBusConnection::sessionBus().call(get, QDBus::Block, 1000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
    return reply.arguments().at(0).value<QDBusVariant>().variant().toBool();
}

void StatusNotifierItem::setOnWatcherChange(std::function<void(bool present)> onChange) {
    onWatcherChange_ = std::move(onChange);
}

bool StatusNotifierItem::show(const QIcon& icon, const QString& tip) {
    icon_ = icon;
    tip_ = tip;
    if (!hostPresent()) return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!exported_) {
        if (!bus.registerVirtualObject(kItemPath, this, QDBusConnection::SingleNode)) return false;
        if (!bus.registerService(service_)) {
            bus.unregisterObject(kItemPath);
            return false;
        }
        exported_ = true;
    }
    shown_ = true;
    registerWithWatcher();
    return true;
}

void StatusNotifierItem::setIcon(const QIcon& icon, const QString& tip) {
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
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterService(service_);
    bus.unregisterObject(kItemPath);
}

void StatusNotifierItem::registerWithWatcher() {
    QDBusMessage call = QDBusMessage::createMethodCall(kWatcher, kWatcherPath, kWatcher,
                                                       QStringLiteral("RegisterStatusNotifierItem"));
    call << service_;
    QDBusConnection::sessionBus().call(call, QDBus::NoBlock);
}

void StatusNotifierItem::signal(const char* name) {
    QDBusConnection::sessionBus().send(
        QDBusMessage::createSignal(kItemPath, kItemInterface, QString::fromLatin1(name)));
}

QVariant StatusNotifierItem::property(const QString& name) const {
    if (name == QLatin1String("Category")) return QStringLiteral("ApplicationStatus");
    if (name == QLatin1String("Id")) return QStringLiteral("quendax");
    if (name == QLatin1String("Title")) return tip_;
    if (name == QLatin1String("Status")) return QStringLiteral("Active");
    if (name == QLatin1String("WindowId")) return 0;
    if (name == QLatin1String("IconPixmap")) return QVariant::fromValue(pixmapsOf(icon_));
    if (name == QLatin1String("OverlayIconPixmap") || name == QLatin1String("AttentionIconPixmap")) {
        return QVariant::fromValue(SniPixmaps{});
    }
    if (name == QLatin1String("ToolTip")) return QVariant::fromValue(SniToolTip{{}, {}, tip_, {}});
    if (name == QLatin1String("ItemIsMenu")) return false;
    if (name == QLatin1String("Menu")) return QVariant::fromValue(QDBusObjectPath(QStringLiteral("/NO_DBUSMENU")));
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
        if (member == QLatin1String("Activate") && onActivate) onActivate();
        if (member == QLatin1String("ContextMenu") && onContextMenu) onContextMenu(x, y);
        return true;
    }
    return false;
}

}  // namespace qx::qt
