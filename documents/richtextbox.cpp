#include "richtextbox.h"

#include "bgrcolor.h"
#include "richtextboxaccessible.h"
#include "rtfkept.h"
#include "rtflistdocument.h"
#include "runtimefailure.h"
#include "twips.h"

#include <QAbstractTextDocumentLayout>
#include <QColor>
#include <QEvent>
#include <QPalette>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <cmath>

namespace richtext {

[[noreturn]] void refuseValue()
{
    throw RuntimeFailure(RuntimeFailure::InvalidValue, QStringLiteral("El valor de la propiedad no es válido"));
}

void checkBgr(qint32 bgr)
{
    if (bgr < 0 || bgr > 0xFFFFFF)
        refuseValue();
}

} // namespace richtext

using namespace richtext;

RichTextBox::RichTextBox(QWidget *parent)
    : QTextEdit(parent)
{
    // Before the document is replaced: otherwise the first control made gets Qt's own
    // accessible interface, which offers editing even when the control is read only.
    installRichTextBoxAccessibility();
    // Its lists take an item at their end, Enter at the end of a long list, at once.
    const QFont font = document()->defaultFont();
    setDocument(new rtf::ListDocument(this));
    document()->setDefaultFont(font);
    // The clipboard of this editor carries plain text only.
    setAcceptRichText(false);
    setTabChangesFocus(false);
    layoutWatch = new QTimer(this);
    connect(layoutWatch, &QTimer::timeout, this, &RichTextBox::watchLayout);
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, &RichTextBox::keepScrollRange);
    watchDocument();
    keepPageHeight();
    // QTextEdit signals both of these for one move; noteCursorMove() lets one through.
    connect(this, &QTextEdit::cursorPositionChanged, this, &RichTextBox::noteCursorMove);
    connect(this, &QTextEdit::selectionChanged, this, &RichTextBox::noteCursorMove);
    const QTextCursor cursor = textCursor();
    lastAnchor = cursor.anchor();
    lastPosition = cursor.position();
}

RichTextBox::~RichTextBox() = default;

void RichTextBox::watchDocument()
{
    noteFormatChange();
    connect(document(), &QTextDocument::contentsChange, this, &RichTextBox::noteFormatChange,
            Qt::UniqueConnection);
    // New text is laid out in the background: the guard of richtextboxlayout.cpp follows it.
    connect(document(), &QTextDocument::contentsChanged, layoutWatch,
            qOverload<>(&QTimer::start), Qt::UniqueConnection);
    // QTextEdit lays the document out again when a scroll bar comes or goes, on a size
    // change of the layout: the page height goes back right after it. The connection is
    // direct on purpose: the layout reports the size at the end of documentChanged(), when
    // its state is whole, and QTextEdit lays out down to the view right after setting the
    // page height to -1; the page height must be back before that.
    connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged,
            this, &RichTextBox::keepPageHeight, Qt::UniqueConnection);
}

void RichTextBox::noteFormatChange()
{
    ++generation;
}

void RichTextBox::noteCursorMove()
{
    keepAnchorsFromTyping();
    const QTextCursor cursor = textCursor();
    if (cursor.anchor() == lastAnchor && cursor.position() == lastPosition)
        return;
    lastAnchor = cursor.anchor();
    lastPosition = cursor.position();
    emit SelChange();
}

// Text typed next to a note's mark or a bookmark would take the mark's format, and with
// it the note or bookmark: it gets the format without them.
void RichTextBox::keepAnchorsFromTyping()
{
    const QTextCursor cursor = textCursor();
    if (cursor.hasSelection())
        return;
    const QTextCharFormat format = cursor.charFormat();
    if (rtf::anchorsKeptItem(format))
        setCurrentCharFormat(rtf::withoutKeptItems(format));
}

void RichTextBox::changeEvent(QEvent *event)
{
    // Unformatted text reads the widget's font and text colour.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
        noteFormatChange();
    QTextEdit::changeEvent(event);
}

QString RichTextBox::SelText() const
{
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

void RichTextBox::setSelText(const QString &text)
{
    QTextCursor cursor = textCursor();
    cursor.insertText(text);
    setTextCursor(cursor);
}

int RichTextBox::SelLength() const
{
    const QTextCursor cursor = textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

QString RichTextBox::Text() const
{
    return toPlainText();
}

void RichTextBox::setText(const QString &text)
{
    // The text replaces the whole document, with its headers, notes and page set-up.
    rtf::dropKeptMaterial(document());
    resetWrapFloor();
    setPlainText(text);
    noteFormatChange();
}

qint32 RichTextBox::BackColor() const
{
    return bgrFromColor(viewport()->palette().color(QPalette::Base));
}

void RichTextBox::setBackColor(qint32 bgr)
{
    checkBgr(bgr);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, colorFromBgr(bgr));
    setPalette(pal);
    QPalette view = viewport()->palette();
    view.setColor(QPalette::Base, colorFromBgr(bgr));
    viewport()->setPalette(view);
}

double RichTextBox::RightMargin() const
{
    return rightMarginTwips;
}

void RichTextBox::setRightMargin(double twips)
{
    if (!std::isfinite(twips) || twips < 0)
        refuseValue();
    // 0 means no margin of its own: lines wrap at the control's edge.
    rightMarginTwips = twips;
    applyWrapWidth();
}

void RichTextBox::Move(double left, double top, double width, double height)
{
    for (double v : {left, top, width, height}) {
        if (!std::isfinite(v) || std::abs(v) > 1e9)
            refuseValue();
    }
    if (width < 0 || height < 0)
        refuseValue();
    setGeometry(twipsToScreenPixels(left), twipsToScreenPixels(top), twipsToScreenPixels(width), twipsToScreenPixels(height));
}

double RichTextBox::Width() const
{
    return screenPixelsToTwips(width());
}

double RichTextBox::Height() const
{
    return screenPixelsToTwips(height());
}
