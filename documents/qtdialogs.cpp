#include "commondialog.h"

#include "bgrcolor.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

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

// QFontDialog offers no colour, so the colour choice sits below an embedded one.
bool showFontDialog(CommonDialog &dlg)
{
    QDialog box;
    box.setWindowTitle(dlg.DialogTitle);
    auto *layout = new QVBoxLayout(&box);
    auto *fonts = new QFontDialog(&box);
    fonts->setOption(QFontDialog::NoButtons);
    fonts->setWindowFlags(Qt::Widget);
    QFont start(dlg.FontName.isEmpty() ? box.font().family() : dlg.FontName);
    if (dlg.FontSize > 0)
        start.setPointSizeF(dlg.FontSize);
    start.setBold(dlg.FontBold);
    start.setItalic(dlg.FontItalic);
    start.setUnderline(dlg.FontUnderline);
    start.setStrikeOut(dlg.FontStrikethru);
    fonts->setCurrentFont(start);
    layout->addWidget(fonts);
    QColor colour = colorFromBgr(dlg.Color);
    auto *colourButton = new QPushButton(QObject::tr("Color..."), &box);
    colourButton->setObjectName(QStringLiteral("fontColour"));
    QObject::connect(colourButton, &QPushButton::clicked, &box, [&] {
        const QColor picked = QColorDialog::getColor(colour, &box, dlg.DialogTitle);
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
    dlg.FontName = f.family();
    dlg.FontSize = f.pointSizeF();
    dlg.FontBold = f.bold();
    dlg.FontItalic = f.italic();
    dlg.FontUnderline = f.underline();
    dlg.FontStrikethru = f.strikeOut();
    dlg.Color = bgrFromColor(colour);
    return true;
}

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
