// Finds a picture on a window of the X display, as a user's eye finds a toolbar button:
//     findpicture WINDOW-ID PICTURE
// prints "x y", the centre of the first place where every opaque pixel of PICTURE (light
// grey counts as transparent, as on the toolbar) shows in the window; exits 1 if none.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

namespace {

// Light grey is what the toolbar shows transparent: there the button's own background
// shows, which only has to differ from the picture's ink.
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

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: findpicture WINDOW-ID PICTURE\n");
        return 2;
    }
    const WId window = WId(QByteArray(argv[1]).toULongLong(nullptr, 0));
    const QImage shot = app.primaryScreen()->grabWindow(window).toImage()
                            .convertToFormat(QImage::Format_RGB32);
    const QImage pixels =
        QImage(QString::fromLocal8Bit(argv[2])).convertToFormat(QImage::Format_RGB32);
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
