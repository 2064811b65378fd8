#pragma once

#include <QMdiSubWindow>

class RichTextBox;

// A document window: one rich text control filling the window less 100 twips a side.
class frmDocument : public QMdiSubWindow
{
    Q_OBJECT
public:
    explicit frmDocument(QWidget *parent = nullptr);

    RichTextBox *rtfText = nullptr;

    QString Caption() const;
    void setCaption(const QString &caption);
    double ScaleWidth() const;    // inner area, twips
    double ScaleHeight() const;

    // The client area the window is designed for (4680 x 3090 twips), in pixels.
    static QSize designClientSize();

    void Form_Load();
    void Form_Resize();
    void rtfText_SelChange();     // through mainForm to the main toolbar

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *client = nullptr;    // the inner area rtfText is laid out in
    bool loaded = false;
};
