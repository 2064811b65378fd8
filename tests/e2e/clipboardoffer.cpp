// Another program on the clipboard: offers argv[1] as plain text and argv[2] as HTML, as
// a browser or word processor does, until it is ended.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 3)
        return 2;
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
