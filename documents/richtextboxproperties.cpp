#include "richtextbox.h"

#include "runtimefailure.h"

#include <QMetaType>

#include <cmath>
#include <limits>

using namespace richtext;

namespace {

bool isInteger(const QVariant &v)
{
    switch (v.metaType().id()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Long: case QMetaType::ULong:
    case QMetaType::SChar: case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

bool isReal(const QVariant &v)
{
    const int id = v.metaType().id();
    return id == QMetaType::Double || id == QMetaType::Float;
}

bool toBool(const QVariant &v)
{
    if (v.metaType().id() == QMetaType::Bool)
        return v.toBool();
    if (isInteger(v))
        return v.toLongLong() != 0;
    refuseValue();
}

double toNumber(const QVariant &v)
{
    if (!isInteger(v) && !isReal(v))
        refuseValue();
    const double d = v.toDouble();
    if (!std::isfinite(d))
        refuseValue();
    return d;
}

// Whole numbers only; a fraction or a value beyond 32 bits is refused, not rounded.
qint32 toInt32(const QVariant &v)
{
    const double d = toNumber(v);
    if (d != std::floor(d) || d < std::numeric_limits<qint32>::min() || d > std::numeric_limits<qint32>::max())
        refuseValue();
    return qint32(d);
}

QString toText(const QVariant &v)
{
    if (v.metaType().id() != QMetaType::QString)
        refuseValue();
    return v.toString();
}

template <typename T>
QVariant fromOptional(const std::optional<T> &value)
{
    return value ? QVariant::fromValue(*value) : QVariant();
}

using Getter = QVariant (*)(const RichTextBox &);
using Setter = void (*)(RichTextBox &, const QVariant &);

struct Property
{
    const char *name;
    Getter get;
    Setter set;     // null: read only
};

const Property kProperties[] = {
    {"SelBold", [](const RichTextBox &b) { return fromOptional(b.SelBold()); },
     [](RichTextBox &b, const QVariant &v) { b.setSelBold(toBool(v)); }},
    {"SelItalic", [](const RichTextBox &b) { return fromOptional(b.SelItalic()); },
     [](RichTextBox &b, const QVariant &v) { b.setSelItalic(toBool(v)); }},
    {"SelUnderline", [](const RichTextBox &b) { return fromOptional(b.SelUnderline()); },
     [](RichTextBox &b, const QVariant &v) { b.setSelUnderline(toBool(v)); }},
    {"SelStrikeThru", [](const RichTextBox &b) { return fromOptional(b.SelStrikeThru()); },
     [](RichTextBox &b, const QVariant &v) { b.setSelStrikeThru(toBool(v)); }},
    {"SelAlignment", [](const RichTextBox &b) { return fromOptional(b.SelAlignment()); },
     [](RichTextBox &b, const QVariant &v) { b.setSelAlignment(toInt32(v)); }},
    {"SelFontName", [](const RichTextBox &b) { return fromOptional(b.SelFontName()); },
     [](RichTextBox &b, const QVariant &v) { b.setSelFontName(toText(v)); }},
    {"SelFontSize", [](const RichTextBox &b) { return fromOptional(b.SelFontSize()); },
     [](RichTextBox &b, const QVariant &v) { b.setSelFontSize(toNumber(v)); }},
    {"SelColor", [](const RichTextBox &b) { return fromOptional(b.SelColor()); },
     [](RichTextBox &b, const QVariant &v) { b.setSelColor(toInt32(v)); }},
    {"SelBullet", [](const RichTextBox &b) { return fromOptional(b.SelBullet()); },
     [](RichTextBox &b, const QVariant &v) { b.setSelBullet(toBool(v)); }},
    {"SelIndent", [](const RichTextBox &b) { return fromOptional(b.SelIndent()); },
     [](RichTextBox &b, const QVariant &v) { b.setSelIndent(toInt32(v)); }},
    {"SelRightIndent", [](const RichTextBox &b) { return fromOptional(b.SelRightIndent()); },
     [](RichTextBox &b, const QVariant &v) { b.setSelRightIndent(toInt32(v)); }},
    {"SelText", [](const RichTextBox &b) { return QVariant(b.SelText()); },
     [](RichTextBox &b, const QVariant &v) { b.setSelText(toText(v)); }},
    {"SelLength", [](const RichTextBox &b) { return QVariant(b.SelLength()); }, nullptr},
    {"Text", [](const RichTextBox &b) { return QVariant(b.Text()); },
     [](RichTextBox &b, const QVariant &v) { b.setText(toText(v)); }},
    {"BackColor", [](const RichTextBox &b) { return QVariant(b.BackColor()); },
     [](RichTextBox &b, const QVariant &v) { b.setBackColor(toInt32(v)); }},
    {"RightMargin", [](const RichTextBox &b) { return QVariant(b.RightMargin()); },
     [](RichTextBox &b, const QVariant &v) { b.setRightMargin(toNumber(v)); }},
    {"Width", [](const RichTextBox &b) { return QVariant(b.Width()); }, nullptr},
    {"Height", [](const RichTextBox &b) { return QVariant(b.Height()); }, nullptr},
};

// Property names are matched as the commands spell them, whatever the letter case.
const Property &lookUp(const QString &name)
{
    for (const Property &p : kProperties) {
        if (name.compare(QLatin1String(p.name), Qt::CaseInsensitive) == 0)
            return p;
    }
    throw RuntimeFailure(RuntimeFailure::NoSuchProperty,
                         QStringLiteral("El objeto no admite esta propiedad o método"));
}

} // namespace

QVariant RichTextBox::get(const QString &name) const
{
    return lookUp(name).get(*this);
}

void RichTextBox::set(const QString &name, const QVariant &value)
{
    const Property &p = lookUp(name);
    if (!p.set)
        throw RuntimeFailure(RuntimeFailure::ReadOnlyProperty,
                             QStringLiteral("No se puede asignar a una propiedad de sólo lectura"));
    if (!value.isValid())
        refuseValue();
    p.set(*this, value);
}
