// The board paint box: shows the board surface and reports mouse presses in
// board coordinates. Every mouse button acts alike.
//
// The surface carries the device pixel ratio it was drawn for and is shown at
// its logical size, one surface pixel on one screen pixel. When the widget's
// ratio no longer matches (the window moved to another screen, the desktop's
// scale changed), onRatioChange asks for a surface at the new ratio.
#pragma once

#include <QWidget>

#include <functional>

namespace vexel {

class BoardDrawing;

class BoardWidget : public QWidget {
    Q_OBJECT
public:
    BoardWidget(BoardDrawing& drawing, QWidget* parent);
    std::function<void(int x, int y)> onMouseDown;
    std::function<void()> onRatioChange;

    // Brings to the screen what was drawn since the last call: later, with the
    // next paint, or at once (before a pause in which the window holds still).
    // Only the changed part is copied, so a frame of a hop costs two squares.
    void showChanges();
    void showChangesNow();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRect changedArea();

    BoardDrawing& drawing_;
    QRect notShown_;  // handed to the event loop, not painted yet
    bool ratioChangeAsked_ = false;
};

}  // namespace vexel
