#include "rtfunderline.h"

#include "rtfkept.h"

namespace rtf {

std::string_view underlineWord(const QTextCharFormat &format)
{
    const QTextCharFormat::UnderlineStyle style = format.underlineStyle();
    if (!format.fontUnderline() && style == QTextCharFormat::NoUnderline)
        return {};
    if (format.hasProperty(KeptUnderline)) {
        const QByteArray kept = format.stringProperty(KeptUnderline).toLatin1();
        for (const UnderlineWord &u : kUnderlineWords)
            if (u.style == style && u.word == std::string_view(kept.constData(), size_t(kept.size())))
                return u.word;
    }
    for (int i = 1; i < kPlainUnderlines; ++i)
        if (kUnderlineWords[i].style == style)
            return kUnderlineWords[i].word;
    return kUnderlineWords[1].word;
}

} // namespace rtf
