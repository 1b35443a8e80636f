#include "dnssd.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusReply>
#include <QHostAddress>

namespace vexel {

namespace {

constexpr char SERVICE[] = "org.freedesktop.Avahi";
constexpr char SERVER[] = "org.freedesktop.Avahi.Server";
constexpr char GROUP[] = "org.freedesktop.Avahi.EntryGroup";
constexpr char BROWSER[] = "org.freedesktop.Avahi.ServiceBrowser";
constexpr int ANY = -1;  // every interface, every protocol
constexpr int DEADLINE_MS = 2000;

QDBusMessage call(const QString& path, const char* interface, const char* method, const QVariantList& args) {
    QDBusMessage m = QDBusMessage::createMethodCall(SERVICE, path, interface, method);
    m.setArguments(args);
    return avahiBus().call(m, QDBus::Block, DEADLINE_MS);
}

bool avahiRuns() {
    const QDBusConnection bus = avahiBus();
    return bus.isConnected() && bus.interface() && bus.interface()->isServiceRegistered(SERVICE).value();
}

// Avahi's TXT records: an array of byte arrays (aay), which Qt marshals only
// as an explicit array argument.
QVariant txtRecord(const QList<QByteArray>& entries) {
    QDBusArgument txt;
    txt.beginArray(QMetaType::fromType<QByteArray>());
    for (const QByteArray& e : entries) txt << e;
    txt.endArray();
    return QVariant::fromValue(txt);
}

QString key(int interface, int protocol, const QString& name) {
    return QStringLiteral("%1/%2/%3").arg(interface).arg(protocol).arg(name);
}

}  // namespace

QDBusConnection avahiBus() {
    return qgetenv("VEXEL_AVAHI_BUS") == "session" ? QDBusConnection::sessionBus() : QDBusConnection::systemBus();
}

ServiceAnnouncer::ServiceAnnouncer(QObject* parent) : QObject(parent) {}
ServiceAnnouncer::~ServiceAnnouncer() { withdraw(); }

bool ServiceAnnouncer::announce(const QString& name, quint16 port) {
    withdraw();
    if (!avahiRuns()) return false;
    const QDBusMessage group = call("/", SERVER, "EntryGroupNew", {});
    if (group.type() != QDBusMessage::ReplyMessage || group.arguments().isEmpty()) {
        qWarning("vexel-net: Avahi gave no entry group: %s", qPrintable(group.errorMessage()));
        return false;
    }
    group_ = group.arguments().at(0).value<QDBusObjectPath>().path();
    const QDBusMessage added = call(group_, GROUP, "AddService",
                                    {ANY, ANY, 0u, name, QString(SERVICE_TYPE), QString(), QString(),
                                     QVariant::fromValue(port), txtRecord({"v=1"})});
    const QDBusMessage committed = call(group_, GROUP, "Commit", {});
    if (added.type() != QDBusMessage::ReplyMessage || committed.type() != QDBusMessage::ReplyMessage) {
        qWarning("vexel-net: Avahi did not take the announcement: %s", qPrintable(added.errorMessage() + committed.errorMessage()));
        withdraw();
        return false;
    }
    return true;
}

void ServiceAnnouncer::withdraw() {
    if (group_.isEmpty()) return;
    call(group_, GROUP, "Free", {});
    group_.clear();
}

ServiceBrowser::ServiceBrowser(QObject* parent) : QObject(parent) {}

ServiceBrowser::~ServiceBrowser() {
    if (!path_.isEmpty()) call(path_, BROWSER, "Free", {});
}

void ServiceBrowser::start() {
    available_ = avahiRuns();
    if (!available_) return;
    QDBusConnection bus = avahiBus();
    // Listen before asking, so that no service found at once goes unheard;
    // the path tells this browser's signals from others'.
    bus.connect(SERVICE, QString(), BROWSER, "ItemNew", this,
                SLOT(itemNew(int, int, QString, QString, QString, uint)));
    bus.connect(SERVICE, QString(), BROWSER, "ItemRemove", this,
                SLOT(itemRemove(int, int, QString, QString, QString, uint)));
    const QDBusMessage reply = call("/", SERVER, "ServiceBrowserNew", {ANY, ANY, QString(SERVICE_TYPE), QString(), 0u});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        available_ = false;
        return;
    }
    path_ = reply.arguments().at(0).value<QDBusObjectPath>().path();
}

void ServiceBrowser::itemNew(int interface, int protocol, const QString& name, const QString& type,
                             const QString& domain, uint) {
    if (type != QLatin1String(SERVICE_TYPE)) return;
    QDBusMessage m = QDBusMessage::createMethodCall(SERVICE, "/", SERVER, "ResolveService");
    m.setArguments({interface, protocol, name, type, domain, ANY, 0u});
    auto* watcher = new QDBusPendingCallWatcher(avahiBus().asyncCall(m, DEADLINE_MS), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, interface, protocol, name](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusMessage r = w->reply();
        if (r.type() != QDBusMessage::ReplyMessage || r.arguments().size() < 9) return;
        const QString address = r.arguments().at(7).toString();
        const auto port = r.arguments().at(8).value<quint16>();
        const bool v6 = QHostAddress(address).protocol() == QAbstractSocket::IPv6Protocol;
        const QString k = key(interface, protocol, name);
        std::erase_if(services_, [&](const Service& s) { return s.key == k; });
        services_.push_back({name, (v6 ? "[" + address + "]" : address) + ":" + QString::number(port), k});
        emit changed();
    });
}

void ServiceBrowser::itemRemove(int interface, int protocol, const QString& name, const QString&, const QString&, uint) {
    const QString k = key(interface, protocol, name);
    if (std::erase_if(services_, [&](const Service& s) { return s.key == k; }) > 0) emit changed();
}

}  // namespace vexel
