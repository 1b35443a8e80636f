// Counts pixels of given colours on the X screen, for the end-to-end test.
// Usage: vexel-screencheck RRGGBB [RRGGBB ...]  -> one count per colour
//        vexel-screencheck --size               -> screen width and height
//        vexel-screencheck --save FILE.png      -> a screenshot, for a person to look at
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return 2;
    if (argc == 2 && QString(argv[1]) == "--size") {
        std::printf("%d %d\n", screen->geometry().width(), screen->geometry().height());
        return 0;
    }
    const QImage image = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    if (argc == 3 && QString(argv[1]) == "--save") return image.save(argv[2]) ? 0 : 1;
    std::vector<QRgb> wanted;
    for (int i = 1; i < argc; ++i) wanted.push_back(QRgb(QString(argv[i]).toUInt(nullptr, 16)) | 0xFF000000u);
    std::vector<long> counts(wanted.size());
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            for (std::size_t k = 0; k < wanted.size(); ++k)
                if ((line[x] | 0xFF000000u) == wanted[k]) ++counts[k];
    }
    for (long c : counts) std::printf("%ld ", c);
    std::printf("\n");
    return 0;
}
