// Another X client beside the editor, for the real-window scripts:
//     xclient TEXT HTML   offers TEXT as plain text and HTML beside it on the clipboard, as a
//         browser or word processor does; prints "listo" once it does and runs until it is ended.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "uso: xclient TEXTO HTML\n");
        return 2;
    }
    auto *data = new QMimeData;
    data->setText(QString::fromUtf8(argv[1]));
    data->setHtml(QString::fromUtf8(argv[2]));
    QGuiApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);
    QTimer::singleShot(0, [] {
        std::puts("listo");
        std::fflush(stdout);
    });
    return app.exec();
}
