#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QPrinter;
class CommonDialog;

// Shows the dialogs of a CommonDialog. The real backend opens Qt's dialogs; tests install
// a scripted one. Each show returns false on cancel and otherwise writes the results
// (FileName, Color, Font..., the printer's settings) into the dialog control.
class CommonDialogBackend
{
public:
    virtual ~CommonDialogBackend() = default;
    virtual bool showOpen(CommonDialog &dlg) = 0;
    virtual bool showSave(CommonDialog &dlg) = 0;
    virtual bool showColor(CommonDialog &dlg) = 0;
    virtual bool showFont(CommonDialog &dlg) = 0;
    // printer is the dialog control's own; a confirmed show leaves it set up to print.
    virtual bool showPrinter(CommonDialog &dlg, QPrinter &printer) = 0;
};

// The common dialog control. Keeps its values from one show to the next. A cancel with
// CancelError set throws RuntimeFailure 32755; without it the file dialogs empty FileName.
class CommonDialog : public QObject
{
    Q_OBJECT
public:
    enum PrinterFlags { pdSelection = 1, pdNoPageNums = 8, pdReturnDC = 256 };

    explicit CommonDialog(QObject *parent = nullptr);
    ~CommonDialog() override;

    QString DialogTitle;
    bool CancelError = false;
    QString Filter;               // "Description|pattern|Description|pattern"
    QString FileName;
    qint32 Flags = 0;
    qint32 hDC = 0;               // printer handle after ShowPrinter, valid until the next show
    qint32 Color = 0;             // 0x00BBGGRR
    QString FontName;
    double FontSize = 0;
    bool FontBold = false;
    bool FontItalic = false;
    bool FontStrikethru = false;
    bool FontUnderline = false;

    void ShowOpen();
    void ShowSave();
    void ShowColor();
    void ShowFont();
    void ShowPrinter();

    QPrinter *printer() const;    // the printer hDC stands for

    // The backend every dialog control uses; nullptr restores the real Qt dialogs.
    static void setBackend(CommonDialogBackend *backend);

private:
    std::unique_ptr<QPrinter> printer_;
};

// The printer a handle from CommonDialog::hDC stands for, or nullptr.
QPrinter *printerForHandle(qint32 hDC);
