#include "platform/qt/dbus_menu.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>

namespace qx::qt {

namespace {

const QString kInterface = QStringLiteral("com.canonical.dbusmenu");

// One entry with its entries, as GetLayout sends it: (ia{sv}av).
struct MenuLayout {
    int id = 0;
    QVariantMap properties;
    QList<MenuLayout> children;
};
// One entry's properties, (ia{sv}); and names gone back to their default, (ias).
struct MenuProperties {
    int id = 0;
    QVariantMap properties;
};
struct MenuRemovedProperties {
    int id = 0;
    QStringList names;
};
// One event of EventGroup, (isvu).
struct MenuEvent {
    int id = 0;
    QString name;
    QDBusVariant data;
    uint timestamp = 0;
};

}  // namespace
}  // namespace qx::qt

Q_DECLARE_METATYPE(qx::qt::MenuLayout)
Q_DECLARE_METATYPE(qx::qt::MenuProperties)
Q_DECLARE_METATYPE(qx::qt::MenuRemovedProperties)
Q_DECLARE_METATYPE(qx::qt::MenuEvent)

namespace qx::qt {
namespace {

QDBusArgument& operator<<(QDBusArgument& out, const MenuLayout& item) {
    out.beginStructure();
    out << item.id << item.properties;
    out.beginArray(qMetaTypeId<QDBusVariant>());
    for (const MenuLayout& child : item.children) out << QDBusVariant(QVariant::fromValue(child));
    out.endArray();
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, MenuLayout& item) {
    in.beginStructure();
    in >> item.id >> item.properties;
    in.beginArray();
    while (!in.atEnd()) {
        QDBusVariant child;
        in >> child;
        item.children.push_back(qdbus_cast<MenuLayout>(child.variant()));
    }
    in.endArray();
    in.endStructure();
    return in;
}

QDBusArgument& operator<<(QDBusArgument& out, const MenuProperties& item) {
    out.beginStructure();
    out << item.id << item.properties;
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, MenuProperties& item) {
    in.beginStructure();
    in >> item.id >> item.properties;
    in.endStructure();
    return in;
}

QDBusArgument& operator<<(QDBusArgument& out, const MenuRemovedProperties& item) {
    out.beginStructure();
    out << item.id << item.names;
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, MenuRemovedProperties& item) {
    in.beginStructure();
    in >> item.id >> item.names;
    in.endStructure();
    return in;
}

QDBusArgument& operator<<(QDBusArgument& out, const MenuEvent& event) {
    out.beginStructure();
    out << event.id << event.name << event.data << event.timestamp;
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, MenuEvent& event) {
    in.beginStructure();
    in >> event.id >> event.name >> event.data >> event.timestamp;
    in.endStructure();
    return in;
}

void registerTypes() {
    static const bool registered = [] {
        qDBusRegisterMetaType<MenuLayout>();
        qDBusRegisterMetaType<MenuProperties>();
        qDBusRegisterMetaType<QList<MenuProperties>>();
        qDBusRegisterMetaType<MenuRemovedProperties>();
        qDBusRegisterMetaType<QList<MenuRemovedProperties>>();
        qDBusRegisterMetaType<MenuEvent>();
        qDBusRegisterMetaType<QList<MenuEvent>>();
        return true;
    }();
    (void)registered;
}

QVariant toVariant(const ui::ExportedValue& value) {
    if (const bool* b = std::get_if<bool>(&value)) return *b;
    if (const int* i = std::get_if<int>(&value)) return *i;
    return QString::fromStdString(std::get<std::string>(value));
}

// The properties `names` asks for; all of them when it is empty.
QVariantMap variantMap(const ui::ExportedProperties& properties, const QStringList& names) {
    QVariantMap out;
    for (const auto& [name, value] : properties) {
        const QString key = QString::fromStdString(name);
        if (names.isEmpty() || names.contains(key)) out.insert(key, toVariant(value));
    }
    return out;
}

MenuLayout layoutOf(const ui::ExportedMenu& menu, int id, int depth, const QStringList& names) {
    const ui::ExportedMenu::Entry& entry = *menu.entry(id);
    MenuLayout out{id, variantMap(entry.properties, names), {}};
    if (depth == 0) return out;
    for (int child : entry.children) out.children.push_back(layoutOf(menu, child, depth < 0 ? -1 : depth - 1, names));
    return out;
}

QVariant menuProperty(const QString& name) {
    if (name == QLatin1String("Version")) return QVariant::fromValue(3u);
    if (name == QLatin1String("TextDirection")) return QStringLiteral("ltr");
    if (name == QLatin1String("Status")) return QStringLiteral("normal");
    if (name == QLatin1String("IconThemePath")) return QStringList();
    return {};
}

constexpr const char* kIntrospection = R"xml(<interface name="com.canonical.dbusmenu">
  <property name="Version" type="u" access="read"/>
  <property name="TextDirection" type="s" access="read"/>
  <property name="Status" type="s" access="read"/>
  <property name="IconThemePath" type="as" access="read"/>
  <method name="GetLayout"><arg type="i" direction="in"/><arg type="i" direction="in"/><arg type="as" direction="in"/><arg type="u" direction="out"/><arg type="(ia{sv}av)" direction="out"/></method>
  <method name="GetGroupProperties"><arg type="ai" direction="in"/><arg type="as" direction="in"/><arg type="a(ia{sv})" direction="out"/></method>
  <method name="GetProperty"><arg type="i" direction="in"/><arg type="s" direction="in"/><arg type="v" direction="out"/></method>
  <method name="Event"><arg type="i" direction="in"/><arg type="s" direction="in"/><arg type="v" direction="in"/><arg type="u" direction="in"/></method>
  <method name="EventGroup"><arg type="a(isvu)" direction="in"/><arg type="ai" direction="out"/></method>
  <method name="AboutToShow"><arg type="i" direction="in"/><arg type="b" direction="out"/></method>
  <method name="AboutToShowGroup"><arg type="ai" direction="in"/><arg type="ai" direction="out"/><arg type="ai" direction="out"/></method>
  <signal name="ItemsPropertiesUpdated"><arg type="a(ia{sv})"/><arg type="a(ias)"/></signal>
  <signal name="LayoutUpdated"><arg type="u"/><arg type="i"/></signal>
  <signal name="ItemActivationRequested"><arg type="i"/><arg type="u"/></signal>
</interface>
)xml";

}  // namespace

DBusMenu::DBusMenu(ui::MenuItem& root, std::function<void()> aboutToShow, std::function<void(ui::MenuItem&)> choose)
    : menu_(root), aboutToShow_(std::move(aboutToShow)), choose_(std::move(choose)) {}

DBusMenu::~DBusMenu() {
    if (exported_) QDBusConnection::sessionBus().unregisterObject(kPath);
}

bool DBusMenu::exportTo(QDBusConnection bus) {
    if (exported_ || !bus.isConnected()) return exported_;
    registerTypes();
    exported_ = bus.registerVirtualObject(kPath, this, QDBusConnection::SingleNode);
    return exported_;
}

void DBusMenu::refresh() {
    const ui::ExportedMenu::Changes changes = menu_.refresh();
    if (!changes.any() || !exported_) return;
    QList<MenuProperties> updated;
    for (const auto& [id, properties] : changes.updated) updated.push_back({id, variantMap(properties, {})});
    QList<MenuRemovedProperties> removed;
    for (const auto& [id, names] : changes.removed) {
        QStringList list;
        for (const std::string& name : names) list.push_back(QString::fromStdString(name));
        removed.push_back({id, list});
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusMessage properties = QDBusMessage::createSignal(kPath, kInterface, QStringLiteral("ItemsPropertiesUpdated"));
    properties << QVariant::fromValue(updated) << QVariant::fromValue(removed);
    bus.send(properties);
    QDBusMessage layout = QDBusMessage::createSignal(kPath, kInterface, QStringLiteral("LayoutUpdated"));
    layout << QVariant::fromValue(menu_.revision()) << 0;
    bus.send(layout);
}

bool DBusMenu::opening(int id) {
    if (id != 0 || !aboutToShow_) return false;
    const std::uint32_t before = menu_.revision();
    aboutToShow_();
    refresh();
    return menu_.revision() != before;
}

void DBusMenu::event(int id, const QString& name) {
    if (name == QLatin1String("opened")) {
        opening(id);
        return;
    }
    const ui::ExportedMenu::Entry* entry = menu_.entry(id);
    if (name != QLatin1String("clicked") || !entry || !entry->item || !choose_) return;
    // After the host has its answer: the entry may end the program.
    ui::MenuItem* item = entry->item;
    QMetaObject::invokeMethod(this, [this, item] { choose_(*item); }, Qt::QueuedConnection);
}

QDBusMessage DBusMenu::layoutReply(const QDBusMessage& message) const {
    const QList<QVariant> args = message.arguments();
    const int id = args.value(0).toInt();
    if (args.size() != 3 || !menu_.entry(id)) return message.createErrorReply(QDBusError::InvalidArgs, "no such entry");
    const MenuLayout layout = layoutOf(menu_, id, args.at(1).toInt(), args.at(2).toStringList());
    return message.createReply(QVariantList{QVariant::fromValue(menu_.revision()), QVariant::fromValue(layout)});
}

QDBusMessage DBusMenu::groupPropertiesReply(const QDBusMessage& message) const {
    const QList<QVariant> args = message.arguments();
    if (args.size() != 2) return message.createErrorReply(QDBusError::InvalidArgs, "two arguments wanted");
    QList<int> ids = qdbus_cast<QList<int>>(args.at(0));
    if (ids.isEmpty()) {
        for (int id = 0; menu_.entry(id); ++id) ids.push_back(id);
    }
    QList<MenuProperties> out;
    for (int id : ids) {
        if (const ui::ExportedMenu::Entry* entry = menu_.entry(id)) {
            out.push_back({id, variantMap(entry->properties, args.at(1).toStringList())});
        }
    }
    return message.createReply(QVariant::fromValue(out));
}

QString DBusMenu::introspect(const QString& /*path*/) const { return QString::fromLatin1(kIntrospection); }

bool DBusMenu::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
    const QList<QVariant> args = message.arguments();
    const QString member = message.member();
    if (message.interface() == QLatin1String("org.freedesktop.DBus.Properties")) {
        if (member == QLatin1String("GetAll")) {
            QVariantMap all;
            for (const char* name : {"Version", "TextDirection", "Status", "IconThemePath"}) {
                all.insert(QString::fromLatin1(name), menuProperty(QString::fromLatin1(name)));
            }
            connection.send(message.createReply(QVariant::fromValue(all)));
            return true;
        }
        if (member == QLatin1String("Get") && args.size() == 2) {
            const QVariant value = menuProperty(args.at(1).toString());
            connection.send(value.isValid() ? message.createReply(QVariant::fromValue(QDBusVariant(value)))
                                            : message.createErrorReply(QDBusError::UnknownProperty, args.at(1).toString()));
            return true;
        }
        return false;
    }
    if (!message.interface().isEmpty() && message.interface() != kInterface) return false;
    if (member == QLatin1String("GetLayout")) {
        connection.send(layoutReply(message));
    } else if (member == QLatin1String("GetGroupProperties")) {
        connection.send(groupPropertiesReply(message));
    } else if (member == QLatin1String("GetProperty")) {
        const ui::ExportedMenu::Entry* entry = menu_.entry(args.value(0).toInt());
        const QVariantMap properties = entry ? variantMap(entry->properties, {}) : QVariantMap{};
        const QVariant value = properties.value(args.value(1).toString());
        connection.send(value.isValid() ? message.createReply(QVariant::fromValue(QDBusVariant(value)))
                                        : message.createErrorReply(QDBusError::InvalidArgs, "no such property"));
    } else if (member == QLatin1String("Event")) {
        connection.send(message.createReply());
        event(args.value(0).toInt(), args.value(1).toString());
    } else if (member == QLatin1String("EventGroup")) {
        const QList<MenuEvent> events = qdbus_cast<QList<MenuEvent>>(args.value(0));
        QList<int> unknown;
        for (const MenuEvent& e : events) {
            if (!menu_.entry(e.id)) unknown.push_back(e.id);
        }
        connection.send(message.createReply(QVariant::fromValue(unknown)));
        for (const MenuEvent& e : events) event(e.id, e.name);
    } else if (member == QLatin1String("AboutToShow")) {
        const bool changed = opening(args.value(0).toInt());
        connection.send(message.createReply(QVariant(changed)));
    } else if (member == QLatin1String("AboutToShowGroup")) {
        QList<int> updates;
        QList<int> unknown;
        for (int id : qdbus_cast<QList<int>>(args.value(0))) {
            if (!menu_.entry(id)) unknown.push_back(id);
            else if (opening(id)) updates.push_back(id);
        }
        connection.send(message.createReply(QVariantList{QVariant::fromValue(updates), QVariant::fromValue(unknown)}));
    } else {
        connection.send(message.createErrorReply(QDBusError::UnknownMethod, member));
    }
    return true;
}

}  // namespace qx::qt
