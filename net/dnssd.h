// DNS-SD for network games through Avahi's D-Bus interface: a hosting program
// announces `_vexel._tcp` at its port, the join dialog lists what is announced
// on the local network. Avahi answers on the system bus; VEXEL_AVAHI_BUS=session
// points both at the session bus instead (tests run a stand-in there). Where
// no Avahi answers, available() is false and nothing else happens.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <vector>

namespace vexel {

inline constexpr char SERVICE_TYPE[] = "_vexel._tcp";

QDBusConnection avahiBus();

class ServiceAnnouncer : public QObject {
    Q_OBJECT
public:
    explicit ServiceAnnouncer(QObject* parent = nullptr);
    ~ServiceAnnouncer() override;
    // True when Avahi took the announcement.
    bool announce(const QString& name, quint16 port);
    void withdraw();

private:
    QString group_;
};

class ServiceBrowser : public QObject {
    Q_OBJECT
public:
    struct Service {
        QString name;
        QString address;  // "host:port" or "[v6]:port", as the address field takes it
        QString key;      // interface, protocol and name, as Avahi tells them apart
    };

    explicit ServiceBrowser(QObject* parent = nullptr);
    ~ServiceBrowser() override;
    void start();
    bool available() const { return available_; }
    const std::vector<Service>& services() const { return services_; }

signals:
    void changed();

private slots:
    void itemNew(int interface, int protocol, const QString& name, const QString& type, const QString& domain, uint flags);
    void itemRemove(int interface, int protocol, const QString& name, const QString& type, const QString& domain, uint flags);

private:
    QString path_;
    bool available_ = false;
    std::vector<Service> services_;
};

}  // namespace vexel
