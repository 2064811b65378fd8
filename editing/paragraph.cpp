#include "paragraph.h"

#include "frmdocument.h"
#include "messages.h"
#include "richtextbox.h"

#include <QLocale>

#include <cfenv>
#include <cmath>

namespace {

const QString indentTitle = QStringLiteral("Editor de textos....");
const QString indentMessage =
    QStringLiteral("La sangría debe ser un número entero entre -32768 y 32767.");

} // namespace

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

// Checked only once a document is there to take the indent.
void applyIndent(const ActiveDocument &active, const QString &typed, const char *property,
                 qint16 &lastIndent, QWidget *parent)
{
    frmDocument *doc = active();
    if (!doc)
        return;
    const std::optional<qint16> value = parseIndent(typed);
    if (!value) {
        messages::showWarning(parent, indentTitle, indentMessage);
        return;
    }
    lastIndent = *value;
    doc->rtfText->set(QLatin1String(property), QVariant::fromValue(lastIndent));
}

void toggleBullet(const ActiveDocument &active)
{
    frmDocument *doc = active();
    if (!doc)
        return;
    const QVariant bullet = doc->rtfText->get(QStringLiteral("SelBullet"));
    const bool on = bullet.isValid() && bullet.toBool();
    doc->rtfText->set(QStringLiteral("SelBullet"), !on);
}

} // namespace paragraph
