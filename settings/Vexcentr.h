// TCenteredForm: the base of every dialog of Vexel. A dialog opens modally,
// centred over the main window, and reports how it was closed as a
// ModalResult: Ok, Cancel or Abort (the close box and Esc give Cancel).
#pragma once

#include <QDialog>
#include <QMargins>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSize>

#include "core/types.h"

class QPushButton;

namespace vexel {

// Where a dialog of outer size `dialog` opens over a main window with the outer
// rectangle `mainWindow`, on a screen of size `screen` (screen coordinates
// from 0). Centred over the main window; pulled back from the right or bottom
// edge only when the main window itself starts too far out; never left of or
// above the screen.
QPoint centredPosition(QSize dialog, QRect mainWindow, QSize screen);

// Centred on the screen, never left of or above it.
QPoint screenCentredPosition(QSize dialog, QSize screen);

// Keeps every dialog of the program, message boxes included, in its one
// normal state. Most window managers offer a fixed dialog neither minimize
// nor maximize; those that offer them all the same (some ignore these hints
// of a dialog) find the dialog back as it was at once: a minimized modal
// dialog would take the main window with it, and nothing in the window would
// bring either back. Installed once; the application owns it.
void holdDialogsInNormalState();

class TCenteredForm : public QDialog {
    Q_OBJECT
public:
    explicit TCenteredForm(QWidget* parent);

    // Places the dialog, runs it modally and returns how it was closed.
    ModalResult showCentred(QWidget* mainWindow);

    // Buttons close with a ModalResult through done(int(result)).
    void accept() override;
    void reject() override;

protected:
    // Fills the dialog's texts and fits its size to them before it is placed;
    // a dialog whose size follows its texts does so here.
    virtual void prepareToShow() {}

    // The dialog opens centred on the screen the first time it is shown in a
    // run, and over the main window at every later showing.
    void setCentreOnScreenAtFirstShow(bool centre) { centreOnScreenAtFirstShow_ = centre; }

    // A button that closes the dialog with `result`.
    QPushButton* addResultButton(const char* objectName, const QRect& geometry, ModalResult result, const QString& caption = {});

    // The program's picture for the About box and the winners display.
    static QPixmap programIcon(int size);

private:
    // The frame the window system puts round the dialog, known before the
    // dialog first appears.
    QMargins frameBeforeFirstShowing(const QWidget* mainWindow);

    bool centreOnScreenAtFirstShow_ = false;
    bool shownBefore_ = false;
};

}  // namespace vexel
