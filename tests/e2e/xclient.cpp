// Another X client beside the editor, for the real-window scripts:
//     xclient find WINDOW-ID PICTURE   prints "x y", the centre of the first place where every
//         opaque pixel of PICTURE shows in the window (as a user's eye finds a toolbar button;
//         light grey counts as transparent, as on the toolbar); exits 1 if none.
//     xclient offer TEXT HTML          offers TEXT as plain text and HTML beside it on the
//         clipboard, as a browser or word processor does, until it is ended.
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>

namespace {
// Where the toolbar shows light grey the button's own background shows, which only has to
// differ from the picture's ink.
const QRgb kTransparent = qRgb(192, 192, 192);

bool matchesAt(const QImage &shot, const QImage &picture, int x, int y)
{
    for (int j = 0; j < picture.height(); ++j) {
        for (int i = 0; i < picture.width(); ++i) {
            const QRgb p = picture.pixel(i, j);
            const QRgb seen = shot.pixel(x + i, y + j);
            if (p == kTransparent ? seen == qRgb(0, 0, 0) : seen != p)
                return false;
        }
    }
    return true;
}

int find(QGuiApplication &app, const char *window, const char *picture)
{
    const QImage shot = app.primaryScreen()->grabWindow(WId(QByteArray(window).toULongLong(nullptr, 0)))
                            .toImage().convertToFormat(QImage::Format_RGB32);
    const QImage pixels = QImage(QString::fromLocal8Bit(picture)).convertToFormat(QImage::Format_RGB32);
    if (shot.isNull() || pixels.isNull())
        return 2;
    for (int y = 0; y + pixels.height() <= shot.height(); ++y) {
        for (int x = 0; x + pixels.width() <= shot.width(); ++x) {
            if (matchesAt(shot, pixels, x, y)) {
                std::printf("%d %d\n", x + pixels.width() / 2, y + pixels.height() / 2);
                return 0;
            }
        }
    }
    return 1;
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "uso: xclient find VENTANA IMAGEN | xclient offer TEXTO HTML\n");
        return 2;
    }
    if (QByteArray(argv[1]) == "find")
        return find(app, argv[2], argv[3]);
    auto *data = new QMimeData;
    data->setText(QString::fromUtf8(argv[2]));
    data->setHtml(QString::fromUtf8(argv[3]));
    QGuiApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);
    QTimer::singleShot(0, [] {
        std::puts("listo");
        std::fflush(stdout);
    });
    return app.exec();
}
