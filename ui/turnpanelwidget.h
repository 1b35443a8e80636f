// The turn panel beside the board: a small star with the peg of the seat to
// move, its name, and the move number between two engraved lines. It takes no
// input. Sizes follow the window's size level.
#pragma once

#include <QFrame>
#include <QImage>

class QLabel;

namespace vexel {

struct GameState;
struct Settings;

class TurnPanelWidget : public QFrame {
    Q_OBJECT
public:
    TurnPanelWidget(const GameState& state, const Settings& settings, QWidget* parent);

    void applySizeUnit(int u);
    // Draws the star (and the peg while a game runs) into the surface and shows it.
    void drawTurnPanel();
    void showPlayerName(const QString& name);
    void showMoveNumberText(const QString& text);

    const QImage& starSurface() const { return star_; }
    QLabel* nameLabel() const { return name_; }
    QLabel* moveNumberLabel() const { return moveNumber_; }

private:
    class StarBox;
    const GameState& state_;
    const Settings& settings_;
    int u_ = 1;
    QImage star_;
    StarBox* starBox_;
    QLabel* name_;
    QFrame* rule1_;
    QFrame* rule2_;
    QLabel* moveNumber_;
};

}  // namespace vexel
