// DNS-SD through Avahi's D-Bus interface, against a stand-in for Avahi on a
// private session bus (dbus-run-session; VEXEL_AVAHI_BUS=session): a real
// avahi-daemon would announce on the machine's network, and these tests keep
// to the loopback address. The stand-in answers the calls the program makes
// with Avahi's signatures, so that a wrong argument type fails here as it
// would against the daemon.
#include "net/dnssd.h"
#include "waitfor.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <map>

namespace vexel {
namespace {

QVariant emptyTxt() {
    QDBusArgument txt;
    txt.beginArray(QMetaType::fromType<QByteArray>());
    txt.endArray();
    return QVariant::fromValue(txt);
}

class FakeAvahi : public QDBusVirtualObject {
public:
    explicit FakeAvahi(QDBusConnection bus) : bus_(bus) {}

    bool handleMessage(const QDBusMessage& m, const QDBusConnection&) override {
        const QString member = m.member();
        const QList<QVariant> a = m.arguments();
        QList<QVariant> reply;
        if (member == "EntryGroupNew" && a.isEmpty()) {
            reply << QVariant::fromValue(QDBusObjectPath("/Client1/EntryGroup" + QString::number(++groups_)));
        } else if (member == "AddService" && m.signature() == "iiussssqaay") {
            pending_[m.path()] = {a[3].toString(), a[7].value<quint16>()};
        } else if (member == "Commit") {
            services_[m.path()] = pending_[m.path()];
            for (const QString& b : browsers_) announce(b, services_[m.path()].first, "ItemNew");
        } else if (member == "Free" && m.path().contains("EntryGroup")) {
            for (const QString& b : browsers_) announce(b, services_[m.path()].first, "ItemRemove");
            services_.erase(m.path());
        } else if (member == "ServiceBrowserNew" && m.signature() == "iissu") {
            const QString path = "/Client1/ServiceBrowser" + QString::number(browsers_.size() + 1);
            browsers_ << path;
            reply << QVariant::fromValue(QDBusObjectPath(path));
            // Queued, so that the browser has its path before the first item arrives.
            QMetaObject::invokeMethod(
                this, [this, path] {
                    for (const auto& [group, service] : services_) announce(path, service.first, "ItemNew");
                },
                Qt::QueuedConnection);
        } else if (member == "ResolveService" && m.signature() == "iisssiu") {
            for (const auto& [group, service] : services_)
                if (service.first == a[2].toString())
                    reply << a[0] << a[1] << a[2] << a[3] << a[4] << QString("here.local") << 0 << QString("127.0.0.1")
                          << QVariant::fromValue(service.second) << emptyTxt() << 0u;
            if (reply.isEmpty()) return bus_.send(m.createErrorReply("org.freedesktop.Avahi.NotFoundError", "gone"));
        } else if (member == "Free") {
        } else {
            return bus_.send(m.createErrorReply("org.freedesktop.DBus.Error.InvalidArgs", member + " " + m.signature()));
        }
        return bus_.send(m.createReply(reply));
    }
    QString introspect(const QString&) const override { return {}; }

private:
    void announce(const QString& browser, const QString& name, const char* signal) {
        QDBusMessage s = QDBusMessage::createSignal(browser, "org.freedesktop.Avahi.ServiceBrowser", signal);
        s << 2 << 0 << name << QString(SERVICE_TYPE) << QString("local") << 0u;
        bus_.send(s);
    }

    QDBusConnection bus_;
    int groups_ = 0;
    QStringList browsers_;
    std::map<QString, std::pair<QString, quint16>> pending_, services_;
};

TEST(DnsSd, WithoutAvahiTheListSaysSo) {
    ServiceBrowser browser;
    browser.start();
    EXPECT_FALSE(browser.available());
    ServiceAnnouncer announcer;
    EXPECT_FALSE(announcer.announce("Vexel", 47821));
}

TEST(DnsSd, AnAnnouncedGameIsListedWithItsAddressAndGoesWhenWithdrawn) {
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "fake-avahi");
    ASSERT_TRUE(bus.isConnected()) << "run under dbus-run-session";
    // The program's calls block until answered: the stand-in answers from a thread of its own.
    QThread thread;
    FakeAvahi fake(bus);
    // Registered before the move, so that what the bus hangs on the stand-in moves with it.
    ASSERT_TRUE(bus.registerVirtualObject("/", &fake, QDBusConnection::SubPath));
    fake.moveToThread(&thread);
    thread.start();
    struct Stop {
        QThread& t;
        ~Stop() {
            t.quit();
            t.wait();
        }
    } stop{thread};
    // Whatever the outcome, the stand-in leaves the bus before it is gone.
    struct Leave {
        QDBusConnection& bus;
        ~Leave() {
            bus.unregisterService("org.freedesktop.Avahi");
            bus.unregisterObject("/", QDBusConnection::UnregisterTree);
            QDBusConnection::disconnectFromBus("fake-avahi");
        }
    } leave{bus};
    ASSERT_TRUE(bus.registerService("org.freedesktop.Avahi"));

    ServiceAnnouncer early;
    ASSERT_TRUE(early.announce("Vexel early", 40001));
    ServiceBrowser browser;
    browser.start();
    ASSERT_TRUE(browser.available());
    // Announced before the browser started, and after.
    ServiceAnnouncer late;
    ASSERT_TRUE(late.announce("Vexel late", 40002));
    ASSERT_TRUE(waitFor([&] { return browser.services().size() == 2; }));
    QStringList addresses;
    for (const auto& s : browser.services()) addresses << s.name + " " + s.address;
    addresses.sort();
    EXPECT_EQ(addresses, QStringList({"Vexel early 127.0.0.1:40001", "Vexel late 127.0.0.1:40002"}));
    late.withdraw();
    ASSERT_TRUE(waitFor([&] { return browser.services().size() == 1; }));
    EXPECT_EQ(browser.services()[0].name, "Vexel early");
}

}  // namespace
}  // namespace vexel
