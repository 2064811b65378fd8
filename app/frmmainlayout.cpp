#include "frmmain.h"

#include "captionfit.h"
#include "toolbar.h"
#include "twips.h"

#include <QAction>
#include <QDateTime>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

namespace {
struct MenuItem
{
    QAction *frmMain::*member;
    const char *name;
    const char *caption;      // nullptr: a separator
    QKeySequence shortcut;
};

QMenu *addMenu(frmMain *form, const char *name, const QString &title,
               const std::initializer_list<MenuItem> &items)
{
    QMenu *menu = form->menuBar()->addMenu(title);
    menu->setObjectName(QString::fromLatin1(name));
    for (const MenuItem &item : items) {
        QAction *action = item.caption ? menu->addAction(QString::fromUtf8(item.caption))
                                       : menu->addSeparator();
        action->setObjectName(QString::fromLatin1(item.name));
        action->setShortcut(item.shortcut);
        form->*item.member = action;
    }
    return menu;
}

struct PlacedControl
{
    const char *name;
    const char *caption;
    int left, top, width, height;   // twips, relative to the container
};

// A container whose children sit at fixed positions. It asks only for the size given, so
// it never widens the window or drops into a toolbar's overflow menu; it takes whatever
// room it gets and clips the controls that do not fit.
class FixedArea : public QWidget
{
public:
    FixedArea(QSize hint, QWidget *parent) : QWidget(parent), hint_(hint) {}
    QSize sizeHint() const override { return hint_; }
    QSize minimumSizeHint() const override { return hint_; }

private:
    QSize hint_;
};

void place(QWidget *control, const PlacedControl &spec)
{
    control->setObjectName(QString::fromLatin1(spec.name));
    control->setGeometry(twipsToScreenPixels(spec.left), twipsToScreenPixels(spec.top),
                         twipsToScreenPixels(spec.width), twipsToScreenPixels(spec.height));
}
} // namespace

void frmMain::buildMenus()
{
    const QKeySequence none;
    mnuFile = addMenu(this, "mnuFile", QStringLiteral("&Archivo"), {
        {&frmMain::mnuFileNew, "mnuFileNew", "&Nuevo", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {&frmMain::mnuFileOpen, "mnuFileOpen", "A&brir...", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {&frmMain::mnuFileClose, "mnuFileClose", "&Cerrar", none},
        {&frmMain::mnuFileBar0, "mnuFileBar0", nullptr, none},
        {&frmMain::mnuFileSave, "mnuFileSave", "&Guardar", none},
        {&frmMain::mnuFileSaveAs, "mnuFileSaveAs", "G&uardar como...", none},
        {&frmMain::mnuFileBar1, "mnuFileBar1", nullptr, none},
        {&frmMain::mnuFilePageSetup, "mnuFilePageSetup", "C&onfigurar página...", none},
        {&frmMain::mnuFilePrint, "mnuFilePrint", "I&mprimir...", none},
        {&frmMain::mnuFileBar4, "mnuFileBar4", nullptr, none}});
    for (int i = 1; i <= 3; ++i) {
        mnuFileMRU[i] = mnuFile->addAction(QString());
        mnuFileMRU[i]->setObjectName(QStringLiteral("mnuFileMRU%1").arg(i));
        mnuFileMRU[i]->setVisible(false);
    }
    mnuFileBar5 = mnuFile->addSeparator();
    mnuFileBar5->setObjectName(QStringLiteral("mnuFileBar5"));
    mnuFileBar5->setVisible(false);
    mnuFileExit = mnuFile->addAction(QStringLiteral("&Salir"));
    mnuFileExit->setObjectName(QStringLiteral("mnuFileExit"));

    mnuEdit = addMenu(this, "mnuEdit", QStringLiteral("&Edición"), {
        {&frmMain::mnuEditCut, "mnuEditCut", "Cor&tar", QKeySequence(Qt::CTRL | Qt::Key_X)},
        {&frmMain::mnuEditCopy, "mnuEditCopy", "&Copiar", QKeySequence(Qt::CTRL | Qt::Key_C)},
        {&frmMain::mnuEditPaste, "mnuEditPaste", "&Pegar", QKeySequence(Qt::CTRL | Qt::Key_V)}});
    mnuView = addMenu(this, "mnuView", QStringLiteral("&Ver"), {
        {&frmMain::mnuViewToolbar, "mnuViewToolbar", "&Barra de herramientas", none},
        {&frmMain::mnuViewStatusBar, "mnuViewStatusBar", "B&arra de estado", none}});
    for (QAction *toggle : {mnuViewToolbar, mnuViewStatusBar}) {
        toggle->setCheckable(true);
        toggle->setChecked(true);
    }
    mnuWindow = addMenu(this, "mnuWindow", QStringLiteral("Ve&ntana"), {
        {&frmMain::mnuOptionsPage, "mnuOptionsPage", "Opciones de pagina", none},
        {&frmMain::mnuWindowNewWindow, "mnuWindowNewWindow", "&Nueva ventana", none},
        {&frmMain::mnuWindowBar0, "mnuWindowBar0", nullptr, none},
        {&frmMain::mnuWindowCascade, "mnuWindowCascade", "Casca&da", none},
        {&frmMain::mnuWindowTileHorizontal, "mnuWindowTileHorizontal", "Mosaico &horizontal", none},
        {&frmMain::mnuWindowTileVertical, "mnuWindowTileVertical", "Mosaico &vertical", none},
        {&frmMain::mnuWindowArrangeIcons, "mnuWindowArrangeIcons", "&Organizar iconos", none}});
    connect(mnuWindow, &QMenu::aboutToShow, this, &frmMain::rebuildWindowList);
    mnuHelp = addMenu(this, "mnuHelp", QStringLiteral("Ayuda"), {
        {&frmMain::mnuAcercade, "mnuAcercade", "Acerca de...", none}});
}

void frmMain::buildToolbar()
{
    static const struct { const char *key; const char *picture; ToolbarButton::Style style; }
    buttons[] = {
        {"Nuevo", "New", ToolbarButton::Plain}, {"Abrir", "Open", ToolbarButton::Plain},
        {"Guardar", "Save", ToolbarButton::Plain}, {"", "", ToolbarButton::Separator},
        {"Imprimir", "Print", ToolbarButton::Plain}, {"", "", ToolbarButton::Separator},
        {"Cortar", "Cut", ToolbarButton::Plain}, {"Copiar", "Copy", ToolbarButton::Plain},
        {"Pegar", "Paste", ToolbarButton::Plain}, {"", "", ToolbarButton::Separator},
        {"Negrita", "Bold", ToolbarButton::Plain}, {"Cursiva", "Italic", ToolbarButton::Plain},
        {"Subrayado", "Underline", ToolbarButton::Plain}, {"", "", ToolbarButton::Separator},
        {"Alinear a la izquierda", "Align Left", ToolbarButton::ButtonGroup},
        {"Centrar", "Center", ToolbarButton::ButtonGroup},
        {"Alinear a la derecha", "Align Right", ToolbarButton::ButtonGroup},
    };
    imlToolbarIcons = new ImageList(this);
    imlToolbarIcons->setObjectName(QStringLiteral("imlToolbarIcons"));
    loadToolbarPictures(imlToolbarIcons);

    tbToolBar = new Toolbar(this);
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    for (const auto &b : buttons)
        tbToolBar->addButton(QString::fromUtf8(b.key),
                             imlToolbarIcons->picture(QString::fromLatin1(b.picture)), b.style);
    addToolBar(Qt::TopToolBarArea, tbToolBar);
}

void frmMain::buildQuickStrip()
{
    static const PlacedControl controls[] = {
        {"Command2", "Rojo", 120, 0, 975, 195}, {"Command3", "Azul", 120, 360, 975, 195},
        {"Command4", "Amarillo", 1320, 0, 975, 195}, {"Command5", "Verde", 1320, 360, 975, 195},
        {"Command6", "Negro", 2520, 0, 975, 195}, {"Command7", "Gris", 2520, 360, 975, 195},
        {"Command8", "8", 3840, 0, 375, 255}, {"Command9", "10", 3840, 360, 375, 255},
        {"Command10", "12", 4320, 0, 375, 255}, {"Command11", "14", 4320, 360, 375, 255},
        {"Command12", "16", 4800, 0, 375, 255}, {"Command13", "18", 4800, 360, 375, 255},
        {"Command18", "Fuentes", 5520, 120, 735, 255},
        {"Command16", "Viñetas", 6480, 120, 975, 255},
    };
    QPushButton **members[] = {&Command2, &Command3, &Command4, &Command5, &Command6,
                               &Command7, &Command8, &Command9, &Command10, &Command11,
                               &Command12, &Command13, &Command18, &Command16};
    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    auto *strip = new FixedArea(QSize(1, twipsToScreenPixels(630)), Toolbar1);
    strip->setFixedHeight(twipsToScreenPixels(630));
    strip->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    strip->setObjectName(QStringLiteral("Toolbar1Container"));
    for (std::size_t i = 0; i < std::size(controls); ++i) {
        *members[i] = new QPushButton(QString::fromUtf8(controls[i].caption), strip);
        place(*members[i], controls[i]);
    }
    captionfit::fitCaptions(strip);
    Toolbar1->addWidget(strip);
    addToolBar(Qt::TopToolBarArea, Toolbar1);
}

void frmMain::buildPanel()
{
    static const PlacedControl controls[] = {
        {"Label1", "Propiedades de pagina", 0, 0, 2535, 255},
        {"Label2", "A. Derecha", 0, 360, 975, 255},
        {"Text1", "0", 960, 360, 495, 285},
        {"Command14", "Alinear", 1560, 360, 855, 255},
        {"Label3", "A. Izquierda", 0, 840, 855, 255},
        {"Text2", "0", 960, 840, 495, 285},
        {"Command15", "Alinear", 1560, 840, 855, 255},
        {"Command19", "Color Fondo", 360, 1440, 1575, 375},
        {"Command20", "Color Texto", 360, 2040, 1575, 375},
    };
    propiedades = new QDockWidget(this);
    propiedades->setObjectName(QStringLiteral("propiedades"));
    propiedades->setTitleBarWidget(new QWidget(propiedades));
    propiedades->setFeatures(QDockWidget::NoDockWidgetFeatures);
    propiedades->setAllowedAreas(Qt::LeftDockWidgetArea);
    auto *panel = new FixedArea(QSize(twipsToScreenPixels(2625), 1), propiedades);
    panel->setObjectName(QStringLiteral("propiedadesContainer"));
    panel->setFixedWidth(twipsToScreenPixels(2625));
    QWidget *made[std::size(controls)];
    for (std::size_t i = 0; i < std::size(controls); ++i) {
        const QString caption = QString::fromUtf8(controls[i].caption);
        const QByteArray name(controls[i].name);
        if (name.startsWith("Label"))
            made[i] = new QLabel(caption, panel);
        else if (name.startsWith("Text"))
            made[i] = new QLineEdit(caption, panel);
        else
            made[i] = new QPushButton(caption, panel);
        place(made[i], controls[i]);
    }
    Label1 = static_cast<QLabel *>(made[0]);
    Label2 = static_cast<QLabel *>(made[1]);
    Text1 = static_cast<QLineEdit *>(made[2]);
    Command14 = static_cast<QPushButton *>(made[3]);
    Label3 = static_cast<QLabel *>(made[4]);
    Text2 = static_cast<QLineEdit *>(made[5]);
    Command15 = static_cast<QPushButton *>(made[6]);
    Command19 = static_cast<QPushButton *>(made[7]);
    Command20 = static_cast<QPushButton *>(made[8]);
    captionfit::fitCaptions(panel);
    propiedades->setWidget(panel);
    addDockWidget(Qt::LeftDockWidgetArea, propiedades);
}

void frmMain::buildStatusBar()
{
    sbStatusBar = new QStatusBar(this);
    sbStatusBar->setObjectName(QStringLiteral("sbStatusBar"));
    auto *state = new QLabel(QStringLiteral("Estado"), sbStatusBar);
    state->setObjectName(QStringLiteral("sbStatusBarPanel1"));
    auto *date = new QLabel(sbStatusBar);
    date->setObjectName(QStringLiteral("sbStatusBarPanel2"));
    auto *time = new QLabel(sbStatusBar);
    time->setObjectName(QStringLiteral("sbStatusBarPanel3"));
    for (QLabel *panel : {date, time}) {
        panel->setMinimumWidth(twipsToScreenPixels(1440));
        panel->setAlignment(Qt::AlignCenter);
    }
    sbStatusBar->addWidget(state, 1);
    sbStatusBar->addPermanentWidget(date);
    sbStatusBar->addPermanentWidget(time);
    setStatusBar(sbStatusBar);

    auto refresh = [date, time] {
        const QDateTime now = QDateTime::currentDateTime();
        const QLocale locale;
        date->setText(locale.toString(now.date(), QLocale::ShortFormat));
        time->setText(now.time().toString(QStringLiteral("HH:mm")));
    };
    refresh();
    // The panels belong to the status bar component, which keeps them current by itself.
    auto *clock = new QTimer(sbStatusBar);
    clock->setObjectName(QStringLiteral("sbStatusBarClock"));
    connect(clock, &QTimer::timeout, sbStatusBar, refresh);
    clock->start(1000);
}
