#pragma once

#include "runtimefailure.h"

#include <QTextEdit>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

class QTextCharFormat;
class QTimer;

// The rich text control of a document window. Presents the members the commands use, in
// the control's own units: colours as 0x00BBGGRR integers, sizes in points, indents,
// margins and bounds in twips, alignment 0 left, 1 right, 2 centre.
//
// Selection properties read an empty optional (by name: an invalid QVariant) when the
// selection is not uniform. With no selection they read the format typing would get.
// Writes that the control refuses fail with RuntimeFailure (380 invalid value, 438 no
// such property); they never fail silently.
class RichTextBox : public QTextEdit
{
    Q_OBJECT
public:
    explicit RichTextBox(QWidget *parent = nullptr);
    ~RichTextBox() override;

    std::optional<bool> SelBold() const;
    void setSelBold(bool on);
    std::optional<bool> SelItalic() const;
    void setSelItalic(bool on);
    std::optional<bool> SelUnderline() const;
    void setSelUnderline(bool on);
    std::optional<bool> SelStrikeThru() const;
    void setSelStrikeThru(bool on);
    std::optional<int> SelAlignment() const;
    void setSelAlignment(int alignment);          // 0, 1 or 2; anything else is 380
    std::optional<QString> SelFontName() const;
    void setSelFontName(const QString &family);
    std::optional<double> SelFontSize() const;
    void setSelFontSize(double points);          // must be > 0
    std::optional<qint32> SelColor() const;
    void setSelColor(qint32 bgr);
    std::optional<bool> SelBullet() const;
    void setSelBullet(bool on);
    std::optional<int> SelIndent() const;         // twips
    void setSelIndent(int twips);                 // 16-bit range, else 380
    std::optional<int> SelRightIndent() const;    // twips
    void setSelRightIndent(int twips);
    QString SelText() const;
    void setSelText(const QString &text);
    int SelLength() const;
    QString Text() const;
    void setText(const QString &text);            // plain text; "" empties the document
    qint32 BackColor() const;
    void setBackColor(qint32 bgr);
    double RightMargin() const;                   // twips
    void setRightMargin(double twips);            // negative is 380
    void Move(double left, double top, double width, double height);  // twips
    double Width() const;                         // twips
    double Height() const;

    void LoadFile(const QString &path);           // RTF whatever the name; RuntimeFailure on error
    void SaveFile(const QString &path);           // through QSaveFile; RuntimeFailure on error
    void SelPrint(qint32 hDC);                    // printer handle from the dialog control

    // Lines wrap at least this wide (pixels) in a document that would otherwise be taller
    // than the text layout can place; 0 when the document fits at the requested width.
    int minimumWrapWidth() const { return minimumWrapPixels; }

    // By-name access: {"SelColor", 255}. Unknown names are 438; refused values
    // (mixed, wrong type, out of range) are 380.
    QVariant get(const QString &name) const;
    void set(const QString &name, const QVariant &value);

    // The value SelAlignment reads for justified paragraphs: uniform, but none of the
    // three alignments the control can write.
    static constexpr int AlignmentJustified = 3;

signals:
    // Raised once after each move of the selection or the caret.
    void SelChange();

protected:
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // Only plain text travels through the clipboard (richtextboxclipboard.cpp): the keys
    // that the Edit menu's items carry are left to those items, and every other way in or
    // out (the context menu, Ctrl+Insert, the X selection, dragging) takes plain text.
    bool event(QEvent *event) override;
    QMimeData *createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    struct SelectionCache;
    struct SelectionCacheDeleter          // defined where the cache is a complete type
    {
        void operator()(SelectionCache *cache) const;
    };

    void watchDocument();
    void noteCursorMove();
    void keepAnchorsFromTyping();
    void noteFormatChange();
    void applyCharFormat(const QTextCharFormat &format);
    QVariant scanned(int property) const;

    // The layout's page height and the height guard (richtextboxlayout.cpp).
    void relayout(const std::function<void()> &change);
    void keepPageHeight();
    void applyWrapWidth();
    void watchLayout();
    void widenLines(qreal projected);
    void keepScrollRange();
    void resetWrapFloor();

    // Selection reads scan the document once per (content generation, selection) and
    // extend the last scan when the selection only grows, as it does during a drag.
    mutable std::unique_ptr<SelectionCache, SelectionCacheDeleter> cache;
    quint64 generation = 0;
    int lastAnchor = -1;
    int lastPosition = -1;
    double rightMarginTwips = 0;
    int minimumWrapPixels = 0;
    qreal widenedFrom = 0;            // projected height that made the last widening
    bool wideningStopped = false;     // widening no longer lowers the height
    int viewToRestore = -1;           // text position shown at the top before a relayout
    QTimer *layoutWatch = nullptr;
};

// Helpers shared by the control's source files.
namespace richtext {
void checkBgr(qint32 bgr);                     // 380 outside 0 .. 0xFFFFFF
[[noreturn]] void refuseValue();               // RuntimeFailure 380
} // namespace richtext
