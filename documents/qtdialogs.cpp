#include "commondialog.h"

#include "bgrcolor.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QKeyEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString fontColourTitle = QStringLiteral("Color de la letra");

// "Desc|pat|Desc|pat" becomes Qt's "Desc (pat)" entries; a description that already
// shows its pattern is kept as it is.
QStringList qtFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString pattern = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        if (parts[i].contains(QLatin1Char('(') + pattern + QLatin1Char(')')))
            out << parts[i];
        else
            out << parts[i] + QStringLiteral(" (") + pattern + QLatin1Char(')');
    }
    return out;
}

bool showFileDialog(CommonDialog &dlg, QFileDialog::AcceptMode mode)
{
    QFileDialog fd(nullptr, dlg.DialogTitle);
    fd.setAcceptMode(mode);
    // Documents are named as typed: nothing is appended, nothing is asked, and Open
    // hands on a name even when no such file exists so the failure names it.
    fd.setFileMode(QFileDialog::AnyFile);
    fd.setOption(QFileDialog::DontConfirmOverwrite);
    fd.setOption(QFileDialog::DontUseNativeDialog);
    const QStringList filters = qtFilters(dlg.Filter);
    if (!filters.isEmpty())
        fd.setNameFilters(filters);
    if (!dlg.FileName.isEmpty())
        fd.selectFile(dlg.FileName);
    if (fd.exec() != QDialog::Accepted || fd.selectedFiles().isEmpty())
        return false;
    dlg.FileName = QDir::toNativeSeparators(fd.selectedFiles().constFirst());
    return !dlg.FileName.isEmpty();
}

// The font chooser embedded in the "Fuentes" box. Whatever would end the chooser alone
// (Escape, Enter in its lists or boxes) ends the whole box, so the user never sees an
// empty box left behind.
class EmbeddedFontDialog : public QFontDialog
{
public:
    explicit EmbeddedFontDialog(QDialog *box) : QFontDialog(box), box_(box)
    {
        setOption(QFontDialog::NoButtons);
        setWindowFlags(Qt::Widget);
    }
    void done(int result) override { box_->done(result); }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && (event->modifiers() & ~Qt::KeypadModifier) == 0)
            box_->accept();
        else
            QFontDialog::keyPressEvent(event);
    }

private:
    QDialog *box_;
};

QFont startingFont(const CommonDialog &dlg, const QFont &fallback)
{
    QFont start(dlg.FontName.isEmpty() ? fallback.family() : dlg.FontName);
    if (dlg.FontSize > 0)
        start.setPointSizeF(dlg.FontSize);
    start.setBold(dlg.FontBold);
    start.setItalic(dlg.FontItalic);
    start.setUnderline(dlg.FontUnderline);
    start.setStrikeOut(dlg.FontStrikethru);
    return start;
}

// QFontDialog offers no colour, so the colour choice sits below an embedded one.
bool showFontDialog(CommonDialog &dlg)
{
    QDialog box;
    box.setWindowTitle(dlg.DialogTitle);
    auto *layout = new QVBoxLayout(&box);
    auto *fonts = new EmbeddedFontDialog(&box);
    fonts->setCurrentFont(startingFont(dlg, box.font()));
    // Where the name held is not installed the chooser shows a substitute; unless the
    // user picks another family, the name held is the one handed on.
    const QString offered = fonts->currentFont().family();
    layout->addWidget(fonts);
    QColor colour = colorFromBgr(dlg.Color);
    auto *colourButton = new QPushButton(QObject::tr("Color..."), &box);
    colourButton->setObjectName(QStringLiteral("fontColour"));
    colourButton->setAutoDefault(false);
    QObject::connect(colourButton, &QPushButton::clicked, &box, [&] {
        const QColor picked = QColorDialog::getColor(colour, &box, fontColourTitle);
        if (picked.isValid())
            colour = picked;
    });
    layout->addWidget(colourButton);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &box);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    layout->addWidget(buttons);
    if (box.exec() != QDialog::Accepted)
        return false;
    const QFont f = fonts->currentFont();
    if (f.family() != offered || dlg.FontName.isEmpty())
        dlg.FontName = f.family();
    dlg.FontSize = f.pointSizeF();
    dlg.FontBold = f.bold();
    dlg.FontItalic = f.italic();
    dlg.FontUnderline = f.underline();
    dlg.FontStrikethru = f.strikeOut();
    dlg.Color = bgrFromColor(colour);
    return true;
}

// Keeps the print dialog's page-range choices disabled: Qt's dialog enables its "from ... to"
// choice whatever the options say, and again each time it updates itself.
class PageRangeLock : public QObject
{
public:
    explicit PageRangeLock(QPrintDialog *dialog) : QObject(dialog)
    {
        for (const char *name : {"printRange", "from", "to", "pagesRadioButton", "pagesLineEdit"}) {
            if (auto *control = dialog->findChild<QWidget *>(QLatin1String(name))) {
                control->setEnabled(false);
                control->installEventFilter(this);
            }
        }
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *control = qobject_cast<QWidget *>(watched);
        if (event->type() == QEvent::EnabledChange && control && control->isEnabled())
            control->setEnabled(false);
        return false;
    }
};

class QtDialogs : public CommonDialogBackend
{
public:
    bool showOpen(CommonDialog &dlg) override
    {
        return showFileDialog(dlg, QFileDialog::AcceptOpen);
    }
    bool showSave(CommonDialog &dlg) override
    {
        return showFileDialog(dlg, QFileDialog::AcceptSave);
    }
    bool showColor(CommonDialog &dlg) override
    {
        const QColor picked = QColorDialog::getColor(colorFromBgr(dlg.Color), nullptr, dlg.DialogTitle);
        if (!picked.isValid())
            return false;
        dlg.Color = bgrFromColor(picked);
        return true;
    }
    bool showFont(CommonDialog &dlg) override { return showFontDialog(dlg); }
    bool showPrinter(CommonDialog &dlg, QPrinter &printer) override
    {
        QPrintDialog pd(&printer);
        pd.setWindowTitle(dlg.DialogTitle);
        QAbstractPrintDialog::PrintDialogOptions options = pd.options();
        options |= QAbstractPrintDialog::PrintSelection;
        if (dlg.Flags & CommonDialog::pdNoPageNums)
            options &= ~QAbstractPrintDialog::PrintPageRange;
        pd.setOptions(options);
        if (dlg.Flags & CommonDialog::pdNoPageNums)
            new PageRangeLock(&pd);
        pd.setPrintRange((dlg.Flags & CommonDialog::pdSelection) ? QAbstractPrintDialog::Selection
                                                                  : QAbstractPrintDialog::AllPages);
        return pd.exec() == QDialog::Accepted;
    }
};

} // namespace

CommonDialogBackend &realDialogBackend()
{
    static QtDialogs dialogs;
    return dialogs;
}
