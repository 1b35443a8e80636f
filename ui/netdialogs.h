// The two dialogs of network games. THostDlg: which human seats are played
// from other computers, the port, this computer's addresses and the join code;
// it opens the game for joining and shows who has joined, and starts the game
// once every network seat is taken (or given to the computer). TJoinDlg: the
// games announced on the local network, or an address typed by hand, the join
// code and the player's name.
#pragma once

#include "settings/Vexcentr.h"
#include "core/settings.h"

#include <array>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace vexel {

class NetGame;
class ServiceBrowser;

class THostDlg : public TCenteredForm {
    Q_OBJECT
public:
    THostDlg(NetGame& net, Settings& settings, QWidget* parent);

private:
    void openForJoining();
    void refresh();

    NetGame& net_;
    Settings& settings_;
    std::array<QRadioButton*, SEAT_COUNT> here_{};
    std::array<QRadioButton*, SEAT_COUNT> network_{};
    std::array<QLabel*, SEAT_COUNT> status_{};
    std::array<QPushButton*, SEAT_COUNT> computer_{};
    QLineEdit* port_ = nullptr;
    QLabel* error_ = nullptr;
    QPushButton* open_ = nullptr;
    QPushButton* start_ = nullptr;
};

class TJoinDlg : public TCenteredForm {
    Q_OBJECT
public:
    TJoinDlg(Settings& settings, QWidget* parent);
    ~TJoinDlg() override;

    QString address() const;
    QString code() const;
    QString name() const;

private:
    void refreshList();

    Settings& settings_;
    QListWidget* games_ = nullptr;
    QLineEdit* address_ = nullptr;
    QLineEdit* code_ = nullptr;
    QLineEdit* name_ = nullptr;
    ServiceBrowser* browser_ = nullptr;
};

}  // namespace vexel
