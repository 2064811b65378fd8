#include "frmmain.h"

#include "commondialog.h"
#include "documentplacement.h"
#include "frmdocument.h"
#include "runhandler.h"
#include "runtimefailure.h"
#include "selectionfeedback.h"
#include "settingsstore.h"
#include "twips.h"

#include <QCloseEvent>
#include <QIcon>
#include <QMdiArea>
#include <QShowEvent>

#include <algorithm>
#include <cmath>
#include <limits>

// The pictures are compiled into the static editor library, whose resource initialiser
// the linker would otherwise drop.
static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace {
const QString AppTitle = QStringLiteral("Riruzo Deror");
const QString Section = QStringLiteral("Settings");

// Window systems take coordinates in a far smaller range than twips-as-float allow; a
// stored value beyond it would overflow the pixel arithmetic instead of being refused.
int placementPixels(double twips)
{
    constexpr double limit = 1 << 24;
    const double clamped = std::clamp(twips, -limit * twipsPerScreenPixel(), limit * twipsPerScreenPixel());
    return twipsToScreenPixels(clamped);
}
} // namespace

frmMain::frmMain(QWidget *parent) : QMainWindow(parent)
{
    initResources();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Editor de textos...."));
    setWindowIcon(QIcon(QStringLiteral(":/icons/riruzo-deror.png")));

    mdiArea = new QMdiArea(this);
    mdiArea->setObjectName(QStringLiteral("mdiArea"));
    mdiArea->setBackground(palette().brush(QPalette::Dark));
    setCentralWidget(mdiArea);

    buildMenus();
    buildToolbar();
    addToolBarBreak(Qt::TopToolBarArea);
    buildQuickStrip();
    buildPanel();
    buildStatusBar();

    dlgCommonDialog = new CommonDialog(this);
    dlgCommonDialog->setObjectName(QStringLiteral("dlgCommonDialog"));
    colores = new CommonDialog(this);
    colores->setObjectName(QStringLiteral("colores"));
    dialog = new CommonDialog(this);
    dialog->setObjectName(QStringLiteral("dialog"));
    dialog->FontName = QStringLiteral("Arial");

    // Design client area; MDIForm_Load replaces it with the remembered placement.
    resize(twipsToScreenPixels(11880), twipsToScreenPixels(8190));
    connectHandlers();
}

frmMain::~frmMain() = default;

frmDocument *frmMain::activeDocument() const
{
    // currentSubWindow() keeps answering while a modal dialog has the activation.
    return qobject_cast<frmDocument *>(mdiArea->currentSubWindow());
}

ActiveDocument frmMain::activeDocumentLookup() const
{
    return [this] { return activeDocument(); };
}

QList<frmDocument *> frmMain::documents() const
{
    QList<frmDocument *> result;
    for (QMdiSubWindow *sub : mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (auto *doc = qobject_cast<frmDocument *>(sub))
            result.append(doc);
    }
    return result;
}

void frmMain::showSelectionState(const RichTextBox &rtfText)
{
    selectionfeedback::show(rtfText, *tbToolBar);
}

void frmMain::CreateDocumentWindow()
{
    if (documentCount == std::numeric_limits<qint32>::max())
        throw RuntimeFailure(RuntimeFailure::TooManyDocuments,
                             QStringLiteral("No se pueden abrir más documentos."));
    auto *doc = new frmDocument;
    mdiArea->addSubWindow(doc);
    placement::placeNewWindow(mdiArea, doc);
    ++documentCount;
    doc->show();
    mdiArea->setActiveSubWindow(doc);
    doc->setCaption(QStringLiteral("Documento ") + QString::number(documentCount));
}

double frmMain::Left() const { return screenPixelsToTwips(frameGeometry().x()); }
double frmMain::Top() const { return screenPixelsToTwips(frameGeometry().y()); }
double frmMain::Width() const { return screenPixelsToTwips(frameGeometry().width()); }
double frmMain::Height() const { return screenPixelsToTwips(frameGeometry().height()); }

void frmMain::setLeft(double twips)
{
    move(placementPixels(twips), frameGeometry().y());
}

void frmMain::setTop(double twips)
{
    move(frameGeometry().x(), placementPixels(twips));
}

void frmMain::setWidth(double twips)
{
    const int frameExtra = frameGeometry().width() - geometry().width();
    resize(std::max(0, placementPixels(twips) - frameExtra), geometry().height());
}

void frmMain::setHeight(double twips)
{
    const int frameExtra = frameGeometry().height() - geometry().height();
    resize(geometry().width(), std::max(0, placementPixels(twips) - frameExtra));
}

int frmMain::WindowState() const
{
    if (isMinimized())
        return 1;
    if (isMaximized())
        return 2;
    return 0;
}

void frmMain::MDIForm_Load()
{
    // Each value is applied before the next one is read, as the window system may adjust
    // one (a minimum width, say) in the light of another.
    setLeft(settingNumber(GetSetting(AppTitle, Section, QStringLiteral("MainLeft"),
                                     QStringLiteral("1000")), 1000));
    setTop(settingNumber(GetSetting(AppTitle, Section, QStringLiteral("MainTop"),
                                    QStringLiteral("1000")), 1000));
    setWidth(settingNumber(GetSetting(AppTitle, Section, QStringLiteral("MainWidth"),
                                      QStringLiteral("6500")), 6500));
    setHeight(settingNumber(GetSetting(AppTitle, Section, QStringLiteral("MainHeight"),
                                       QStringLiteral("6500")), 6500));
    CreateDocumentWindow();
}

void frmMain::MDIForm_Unload(int &Cancel)
{
    Q_UNUSED(Cancel);
    if (WindowState() == 1)
        return;
    SaveSetting(AppTitle, Section, QStringLiteral("MainLeft"), settingText(float(Left())));
    SaveSetting(AppTitle, Section, QStringLiteral("MainTop"), settingText(float(Top())));
    SaveSetting(AppTitle, Section, QStringLiteral("MainWidth"), settingText(float(Width())));
    SaveSetting(AppTitle, Section, QStringLiteral("MainHeight"), settingText(float(Height())));
}

void frmMain::mnuFileExit_Click()
{
    close();
}

void frmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (loaded || event->spontaneous())
        return;
    loaded = true;
    runHandler(this, [this] { MDIForm_Load(); });
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // Documents go first and without questions; their unsaved text is discarded.
    mdiArea->closeAllSubWindows();
    int Cancel = 0;
    runHandler(this, [this, &Cancel] { MDIForm_Unload(Cancel); });
    event->accept();
}
