// vexel-icon OUTDIR: writes the program's icon as OUTDIR/48/vexel.png,
// OUTDIR/128/vexel.png and OUTDIR/256/vexel.png. The icon is the players
// dialog's star with all six seats playing in the default colours, cut out
// along its rim (transparent outside) and scaled smoothly to a square.
//
// vexel-icon --hole-names FILE.png: the empty board as the window draws it at
// size level 3, each hole labelled with its name (A1 at the top point to Q1 at
// the bottom), cut to the board's round rim: the picture of the help pages.
#include "core/gamestate.h"
#include "core/notation.h"
#include "core/settings.h"
#include "paint/floodfill.h"
#include "paint/preview.h"
#include "ui/boarddraw.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>

namespace {

using namespace vexel;

QImage drawStar() {
    Settings settings;
    for (PlayerSlot& slot : settings.playerSettings) {
        if (!slot.plays()) slot.kind = PlayerKind::Human;
    }
    QImage canvas(PREVIEW_WIDTH, PREVIEW_HEIGHT, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    drawBoardPreview(canvas, settings);

    // Everything the rim encloses stays; what lies outside it becomes transparent.
    const FillRegion outside = floodRegion(canvas, QPoint(0, 0), qRgb(0, 0, 0));
    QImage star = canvas.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < star.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(star.scanLine(y));
        for (int x = 0; x < star.width(); ++x) {
            if (outside.contains(x, y)) line[x] = qRgba(0, 0, 0, 0);
        }
    }

    // Centre the rim's box on a transparent square.
    const QRect rim(QPoint(PREVIEW_LEFT, PREVIEW_TOP), QPoint(PREVIEW_RIGHT, PREVIEW_BOTTOM));
    const int side = std::max(rim.width(), rim.height());
    QImage square(side, side, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::transparent);
    QPainter painter(&square);
    painter.drawImage(QPoint((side - rim.width()) / 2, (side - rim.height()) / 2), star, rim);
    return square;
}

// Labels the size of a name's box stay clear of each other: holes in a row
// stand 12 units apart, rows 10 units.
QImage drawHoleNames() {
    constexpr int LEVEL = 3;
    GameState state;
    Settings settings;
    BoardDrawing board(state, settings);
    board.setSizeUnit(LEVEL);
    board.drawBoard();
    QImage canvas = board.surface().copy();
    QPainter painter(&canvas);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(3 * LEVEL);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const int halfWidth = 4 * LEVEL;
    const int halfHeight = 2 * LEVEL + 1;
    for (int c = 0; c < CELL_COUNT; ++c) {
        const PixelPoint p = board.pixelPos(CellIndex(c));
        const QRect box(p.x - halfWidth, p.y - halfHeight, 2 * halfWidth + 1, 2 * halfHeight + 1);
        painter.fillRect(box, Qt::white);
        painter.drawRect(box);
        painter.drawText(box, Qt::AlignCenter, QString::fromStdString(holeName(CellIndex(c))));
    }
    painter.end();
    // The rim: 84 units round the middle hole; two units of margin.
    const PixelPoint middle = board.pixelPos(CENTRE_CELL);
    const int half = board.px(86);
    return canvas.copy(middle.x - half, middle.y - half, 2 * half + 1, 2 * half + 1);
}

int writeHoleNames(const QString& file) {
    if (!drawHoleNames().convertToFormat(QImage::Format_RGB888).save(file, "PNG")) {
        std::fprintf(stderr, "vexel-icon: cannot write %s\n", qPrintable(file));
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 3 && QString::fromLocal8Bit(argv[1]) == QStringLiteral("--hole-names"))
        return writeHoleNames(QString::fromLocal8Bit(argv[2]));
    if (argc != 2) {
        std::fprintf(stderr, "usage: vexel-icon OUTDIR | vexel-icon --hole-names FILE.png\n");
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    const QImage star = drawStar();
    for (int size : {48, 128, 256}) {
        const QString dir = outDir + "/" + QString::number(size);
        const QString file = dir + "/vexel.png";
        const QImage icon = star.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                                .convertToFormat(QImage::Format_ARGB32);
        if (!QDir().mkpath(dir) || !icon.save(file, "PNG")) {
            std::fprintf(stderr, "vexel-icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
