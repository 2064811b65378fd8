#pragma once

#include <QByteArrayView>
#include <string_view>

// RTF syntax only: braces, control words and symbols, \'hh, \bin data and text. What
// they mean is the listener's business.
namespace rtf {

class TokenListener
{
public:
    virtual ~TokenListener() = default;
    virtual void groupStart() = 0;
    virtual void groupEnd() = 0;
    // count braces of one kind in a row, which a hostile file may hold millions of; a
    // listener that can take them at once says so here.
    virtual void groupStarts(qsizetype count)
    {
        for (; count > 0; --count)
            groupStart();
    }
    virtual void groupEnds(qsizetype count)
    {
        for (; count > 0; --count)
            groupEnd();
    }
    // name is at most kMaxControlWord letters; a longer word is cut (it is unknown anyway).
    virtual void controlWord(std::string_view name, bool hasParam, int param) = 0;
    // Any non-letter after a backslash; a backslash before a line end arrives as '\n',
    // an \' escape without two hex digits as '\''.
    virtual void controlSymbol(char c) = 0;
    // Text bytes, each \'hh escape among them as the byte it stands for; line ends and NUL
    // bytes are never part of it.
    virtual void text(const char *data, qsizetype length) = 0;
    virtual void binary(const char *data, qsizetype length) = 0;
};

constexpr int kMaxControlWord = 32;
constexpr int kMaxParameterDigits = 10;

// Reports every token of data to listener. \binN reads at most the bytes that are left.
void tokenize(QByteArrayView data, TokenListener &listener);

} // namespace rtf
