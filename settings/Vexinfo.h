// TAboutBox: the program's picture, title and version. Its caption is "Info"
// in both languages; title and version follow the language at each showing.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "Vexcentr.h"
#include "core/settings.h"

namespace vexel {

class TAboutBox : public TCenteredForm {
    Q_OBJECT
public:
    TAboutBox(Settings& settings, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    Settings& settings_;
    QFrame* panel_;
    QLabel* ProgramIcon_;
    QLabel* Titel_;
    QLabel* Version_;
    QPushButton* OKButton_;
};

}  // namespace vexel
