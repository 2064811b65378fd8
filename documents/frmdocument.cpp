#include "frmdocument.h"

#include "failures.h"
#include "mainform.h"
#include "richtextbox.h"
#include "runhandler.h"
#include "twips.h"

#include <QEvent>
#include <QIcon>
#include <QLayout>

namespace {
constexpr double kDesignWidth = 4680;    // client area, twips
constexpr double kDesignHeight = 3090;
constexpr double kBorder = 100;          // around rtfText on every side
constexpr double kWrapShort = 400;       // lines wrap this far short of the control's edge
}

frmDocument::frmDocument(QWidget *parent)
    : QMdiSubWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    client = new QWidget;
    setWidget(client);
    rtfText = new RichTextBox(client);
    rtfText->setObjectName(QStringLiteral("rtfText"));
    rtfText->Move(100, 100, 3000, 2000);
    client->setFocusProxy(rtfText);
    setFocusProxy(rtfText);
    setWindowTitle(QStringLiteral("frmDocument"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/document.png")));

    const QSize design = designClientSize();
    resize(design);
    if (layout())
        layout()->activate();
    resize(design + (design - client->size()));

    client->installEventFilter(this);
    connect(rtfText, &RichTextBox::SelChange, this, [this] {
        runHandler(this, [this] { rtfText_SelChange(); });
    });
}

QSize frmDocument::designClientSize()
{
    return QSize(twipsToScreenPixels(kDesignWidth), twipsToScreenPixels(kDesignHeight));
}

QString frmDocument::Caption() const
{
    return windowTitle();
}

void frmDocument::setCaption(const QString &caption)
{
    setWindowTitle(caption);
}

double frmDocument::ScaleWidth() const
{
    return screenPixelsToTwips(client->width());
}

double frmDocument::ScaleHeight() const
{
    return screenPixelsToTwips(client->height());
}

void frmDocument::Form_Load()
{
    Form_Resize();
}

void frmDocument::Form_Resize()
{
    ignoreFailure([this] {
        const double width = ScaleWidth() - 2 * kBorder;
        const double height = ScaleHeight() - 2 * kBorder;
        if (width >= 0 && height >= 0)
            rtfText->Move(kBorder, kBorder, width, height);
    });
    ignoreFailure([this] {
        const double margin = rtfText->Width() - kWrapShort;
        if (margin >= 0)
            rtfText->setRightMargin(margin);
    });
}

void frmDocument::showEvent(QShowEvent *event)
{
    if (!loaded) {
        loaded = true;
        Form_Load();
    }
    QMdiSubWindow::showEvent(event);
}

// The toolbar shows the most recent selection change, whichever window raised it.
void frmDocument::rtfText_SelChange()
{
    if (mainForm)
        mainForm->showSelectionState(*rtfText);
}

// The layout passes the window's new size on to the client, whose resize runs Form_Resize.
bool frmDocument::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == client && event->type() == QEvent::Resize)
        Form_Resize();
    return QMdiSubWindow::eventFilter(watched, event);
}
