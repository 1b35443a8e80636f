// Helpers for driving modal dialogs from tests. An OnModal object, while it
// lives, waits for a modal dialog to open inside exec() and runs its action
// once on it; the action must close the dialog. Going out of scope stops the
// waiting, so that no action leaks into a later test.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace vexel::testing {

class OnModal {
public:
    explicit OnModal(std::function<void(QWidget* dialog)> action) : action_(std::move(action)) {
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                timer_.stop();
                ++runs_;
                action_(modal);
            }
        });
        timer_.start();
    }
    OnModal(const OnModal&) = delete;
    OnModal& operator=(const OnModal&) = delete;

    // How often the action ran: 0 or 1.
    int runs() const { return runs_; }

private:
    std::function<void(QWidget*)> action_;
    QTimer timer_;
    int runs_ = 0;
};

template <class T>
T* child(const QWidget& parent, const char* name) {
    return parent.findChild<T*>(QString::fromLatin1(name));
}

}  // namespace vexel::testing
