#include "frmdocument.h"
#include "frmmain.h"
#include "messages.h"
#include "paragraph.h"
#include "richtextbox.h"

#include <QLineEdit>
#include <QLocale>

#include <cfenv>
#include <cmath>

namespace paragraph {

std::optional<qint16> parseIndent(const QString &text)
{
    bool ok = false;
    const double number = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(number);
    std::fesetround(previous);
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return static_cast<qint16>(rounded);
}

} // namespace paragraph

namespace {

const QString indentTitle = QStringLiteral("Editor de textos....");
const QString indentMessage =
    QStringLiteral("La sangría debe ser un número entero entre -32768 y 32767.");

} // namespace

// Checked only once a document is there to take the indent. Text the indent cannot come from leaves the document and the text box as they are;
// the user is told why so the typing can be corrected.
static bool convertIndent(frmMain &w, const QLineEdit *box, qint16 &out)
{
    const std::optional<qint16> value = paragraph::parseIndent(box->text());
    if (!value) {
        messages::showWarning(&w, indentTitle, indentMessage);
        return false;
    }
    out = *value;
    return true;
}

void frmMain::Command14_Click()
{
    frmDocument *doc = activeDocument();
    if (!doc || !convertIndent(*this, Text1, indentValue))
        return;
    doc->rtfText->set(QStringLiteral("SelRightIndent"), QVariant::fromValue(indentValue));
}

void frmMain::Command15_Click()
{
    frmDocument *doc = activeDocument();
    if (!doc || !convertIndent(*this, Text2, indentValue))
        return;
    doc->rtfText->set(QStringLiteral("SelIndent"), QVariant::fromValue(indentValue));
}

void frmMain::Command16_Click()
{
    frmDocument *doc = activeDocument();
    if (!doc)
        return;
    const QVariant bullet = doc->rtfText->get(QStringLiteral("SelBullet"));
    const bool on = bullet.isValid() && bullet.toBool();
    doc->rtfText->set(QStringLiteral("SelBullet"), !on);
}
