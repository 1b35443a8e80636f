#include "netdialogs.h"

#include "core/protocol.h"
#include "net/dnssd.h"
#include "net/hostserver.h"
#include "settings/qtexts.h"
#include "settings/windows1252.h"
#include "ui/netgame.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHostInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QNetworkInterface>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vexel {

namespace {

// What the others type: every address of this computer but the loopback ones.
QString ownAddresses() {
    QStringList list{QHostInfo::localHostName()};
    for (const QHostAddress& a : QNetworkInterface::allAddresses())
        if (!a.isLoopback() && !a.isLinkLocal()) list << a.toString();
    return list.join(QStringLiteral("\n"));
}

}  // namespace

THostDlg::THostDlg(NetGame& net, Settings& settings, QWidget* parent)
    : TCenteredForm(parent), net_(net), settings_(settings) {
    setObjectName("THostDlg");
    setWindowTitle(text(settings_, 1102));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    const bool running = net_.hosting();
    for (int k = 0; k < SEAT_COUNT; ++k) {
        const PlayerSlot& seat = settings_.playerSettings[k];
        if (seat.kind != PlayerKind::Human) continue;
        auto* group = new QButtonGroup(this);
        grid->addWidget(new QLabel(fromWindows1252(seat.nameBytes()), this), k, 0);
        here_[k] = new QRadioButton(text(settings_, 1103), this);
        network_[k] = new QRadioButton(text(settings_, 1104), this);
        here_[k]->setObjectName(QStringLiteral("here%1").arg(k + 1));
        network_[k]->setObjectName(QStringLiteral("network%1").arg(k + 1));
        group->addButton(here_[k]);
        group->addButton(network_[k]);
        const bool overNetwork = (settings_.networkSeats >> k & 1) != 0;
        (overNetwork ? network_[k] : here_[k])->setChecked(true);
        here_[k]->setEnabled(!running);
        network_[k]->setEnabled(!running);
        status_[k] = new QLabel(this);
        computer_[k] = new QPushButton(text(settings_, 1113), this);
        computer_[k]->setObjectName(QStringLiteral("computer%1").arg(k + 1));
        connect(computer_[k], &QPushButton::clicked, this, [this, k] {
            net_.giveToComputer(k);
            refresh();
        });
        grid->addWidget(here_[k], k, 1);
        grid->addWidget(network_[k], k, 2);
        grid->addWidget(status_[k], k, 3);
        grid->addWidget(computer_[k], k, 4);
    }
    auto* form = new QGridLayout;
    layout->addLayout(form);
    form->addWidget(new QLabel(text(settings_, 1105), this), 0, 0);
    port_ = new QLineEdit(QString::number(net_.netHost() ? net_.netHost()->port() : DEFAULT_PORT), this);
    port_->setObjectName("port");
    port_->setEnabled(!running);
    form->addWidget(port_, 0, 1);
    form->addWidget(new QLabel(text(settings_, 1106), this), 1, 0, Qt::AlignTop);
    auto* addresses = new QLabel(ownAddresses(), this);
    addresses->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addWidget(addresses, 1, 1);
    form->addWidget(new QLabel(text(settings_, 1107), this), 2, 0);
    auto* code = new QLabel(net_.code(), this);
    code->setObjectName("code");
    QFont big = code->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    code->setFont(big);
    code->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addWidget(code, 2, 1);
    error_ = new QLabel(this);
    layout->addWidget(error_);
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    open_ = new QPushButton(text(settings_, 1114), this);
    open_->setObjectName("open");
    start_ = new QPushButton(text(settings_, 1108), this);
    start_->setObjectName("start");
    auto* close = new QPushButton(text(settings_, 1109), this);
    buttons->addWidget(open_);
    buttons->addWidget(start_);
    buttons->addWidget(close);
    connect(open_, &QPushButton::clicked, this, [this] { openForJoining(); });
    connect(start_, &QPushButton::clicked, this, [this] {
        net_.startHostedGame();
        accept();
    });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    if (net_.netHost()) connect(net_.netHost(), &NetHost::seatsChanged, this, [this] { refresh(); });
    refresh();
}

void THostDlg::openForJoining() {
    std::uint8_t seats = 0;
    for (int k = 0; k < SEAT_COUNT; ++k)
        if (network_[k] && network_[k]->isChecked()) seats |= std::uint8_t(1 << k);
    // The choice is kept as the settings' network seats, other bits as they were.
    settings_.networkSeats = std::uint8_t((settings_.networkSeats & 0xC0) | seats);
    bool ok = false;
    const uint port = port_->text().toUInt(&ok);
    if (!ok || port == 0 || port > 65535 || !net_.host(quint16(port))) {
        error_->setText(text(settings_, 1124).arg(port_->text()));
        return;
    }
    error_->clear();
    for (int k = 0; k < SEAT_COUNT; ++k)
        if (here_[k]) here_[k]->setEnabled(false), network_[k]->setEnabled(false);
    port_->setEnabled(false);
    connect(net_.netHost(), &NetHost::seatsChanged, this, [this] { refresh(); }, Qt::UniqueConnection);
    refresh();
}

void THostDlg::refresh() {
    const NetHost* host = net_.netHost();
    const bool open = net_.hosting();
    bool allTaken = open;
    for (int k = 0; k < SEAT_COUNT; ++k) {
        if (!status_[k]) continue;
        const bool network = open && (net_.networkSeats() >> k & 1);
        QString status;
        if (network) {
            const auto& seat = host->seats()[k];
            status = seat.connected ? text(settings_, 1111).arg(seat.name)
                                    : seat.taken ? text(settings_, 1112).arg(seat.name) : text(settings_, 1110);
            if (!seat.connected) allTaken = false;
        } else if (open && settings_.playerSettings[k].kind == PlayerKind::Computer) {
            status = text(settings_, 1115);
        }
        status_[k]->setText(status);
        computer_[k]->setVisible(network);
    }
    open_->setEnabled(!open);
    start_->setEnabled(allTaken);
}

TJoinDlg::TJoinDlg(Settings& settings, QWidget* parent) : TCenteredForm(parent), settings_(settings) {
    setObjectName("TJoinDlg");
    setWindowTitle(text(settings_, 1102));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(text(settings_, 1116), this));
    games_ = new QListWidget(this);
    games_->setObjectName("games");
    layout->addWidget(games_);
    auto* form = new QGridLayout;
    layout->addLayout(form);
    form->addWidget(new QLabel(text(settings_, 1117), this), 0, 0);
    address_ = new QLineEdit(this);
    address_->setObjectName("address");
    form->addWidget(address_, 0, 1);
    form->addWidget(new QLabel(text(settings_, 1107), this), 1, 0);
    code_ = new QLineEdit(qEnvironmentVariable("VEXEL_JOIN_CODE"), this);
    code_->setObjectName("code");
    form->addWidget(code_, 1, 1);
    form->addWidget(new QLabel(text(settings_, 1118), this), 2, 0);
    QString own = fromWindows1252(settings_.playerSettings[0].nameBytes());
    name_ = new QLineEdit(own, this);
    name_->setObjectName("name");
    name_->setMaxLength(PlayerSlot::MAX_NAME);
    form->addWidget(name_, 2, 1);
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    auto* join = new QPushButton(text(settings_, 1120), this);
    join->setObjectName("join");
    join->setDefault(true);
    auto* cancel = new QPushButton(text(settings_, 50), this);
    buttons->addWidget(join);
    buttons->addWidget(cancel);
    connect(join, &QPushButton::clicked, this, [this] {
        if (parseHostAndPort(address_->text().toStdString())) accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(games_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && games_->item(row)->data(Qt::UserRole).isValid())
            address_->setText(games_->item(row)->data(Qt::UserRole).toString());
    });
    browser_ = new ServiceBrowser(this);
    connect(browser_, &ServiceBrowser::changed, this, [this] { refreshList(); });
    browser_->start();
    refreshList();
}

TJoinDlg::~TJoinDlg() = default;

void TJoinDlg::refreshList() {
    games_->clear();
    if (!browser_->available()) {
        games_->addItem(text(settings_, 1121));
        return;
    }
    if (browser_->services().empty()) {
        games_->addItem(text(settings_, 1122));
        return;
    }
    for (const auto& s : browser_->services()) {
        auto* item = new QListWidgetItem(QStringLiteral("%1 (%2)").arg(s.name, s.address), games_);
        item->setData(Qt::UserRole, s.address);
    }
}

QString TJoinDlg::address() const { return address_->text().trimmed(); }
QString TJoinDlg::code() const { return code_->text(); }
QString TJoinDlg::name() const { return name_->text(); }

}  // namespace vexel
