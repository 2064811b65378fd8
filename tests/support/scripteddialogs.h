#pragma once

#include "commondialog.h"

#include <QList>
#include <QString>

#include <functional>

// A dialog backend for tests: each show takes the next answer from a queue and records
// what the show was given. With an empty queue a show is a cancel.
struct DialogAnswer
{
    bool confirm = true;
    QString fileName;             // ShowOpen / ShowSave
    qint32 color = 0;             // ShowColor / ShowFont
    QString fontName;             // ShowFont
    double fontSize = 0;
    bool bold = false, italic = false;
    QString pdfPath;              // ShowPrinter: print to this PDF file
    bool printSelection = false;  // ShowPrinter: the user picked "selection"

    static DialogAnswer cancel() { DialogAnswer a; a.confirm = false; return a; }
    static DialogAnswer file(const QString &name) { DialogAnswer a; a.fileName = name; return a; }
    static DialogAnswer colour(qint32 bgr) { DialogAnswer a; a.color = bgr; return a; }
    static DialogAnswer pdf(const QString &path, bool selection = false)
    { DialogAnswer a; a.pdfPath = path; a.printSelection = selection; return a; }
};

struct DialogShow
{
    QString kind;                 // "open", "save", "color", "font", "printer"
    QString title, filter, fileName;
    qint32 flags = 0;
};

class ScriptedDialogs : public CommonDialogBackend
{
public:
    ScriptedDialogs() { CommonDialog::setBackend(this); }
    ~ScriptedDialogs() override { CommonDialog::setBackend(nullptr); }

    QList<DialogAnswer> answers;
    QList<DialogShow> shows;

    bool showOpen(CommonDialog &dlg) override { return showFile(QStringLiteral("open"), dlg); }
    bool showSave(CommonDialog &dlg) override { return showFile(QStringLiteral("save"), dlg); }
    bool showColor(CommonDialog &dlg) override;
    bool showFont(CommonDialog &dlg) override;
    bool showPrinter(CommonDialog &dlg, QPrinter &printer) override;

private:
    // Records the show and hands a confirmed answer to `apply`; returns whether it was confirmed.
    bool take(const QString &kind, const CommonDialog &dlg, const std::function<void(const DialogAnswer &)> &apply);
    bool showFile(const QString &kind, CommonDialog &dlg);
};
