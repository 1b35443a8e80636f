// The board paint box: shows the board surface and reports mouse presses in
// board coordinates. Every mouse button acts alike.
#pragma once

#include <QWidget>

#include <functional>

class QImage;

namespace vexel {

class BoardWidget : public QWidget {
    Q_OBJECT
public:
    BoardWidget(QImage& surface, QWidget* parent);
    std::function<void(int x, int y)> onMouseDown;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage& surface_;
};

}  // namespace vexel
