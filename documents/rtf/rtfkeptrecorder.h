#pragma once

#include <QByteArray>
#include <string_view>
#include <vector>

namespace rtf {

class CodePage;

// Writes the tokens of a group the reader keeps back out as canonical RTF: text decoded
// in the font it is in and escaped, font and colour numbers as references (see rtfkept.h).
class KeptRecorder
{
public:
    // Starts a group "{\word" (with "\*" when starred) in the given font.
    void begin(std::string_view word, bool star, int font, int defaultFont);
    // Starts recording in a group already open: its opening brace is written too.
    void beginGroup(int font, int defaultFont);
    bool active() const { return !m_fonts.empty(); }
    int depth() const { return int(m_fonts.size()); }
    int font() const { return m_fonts.empty() ? m_defaultFont : m_fonts.back(); }

    void groupStart();
    // Closes a group; at the outermost one the recording is complete.
    void groupEnd();
    void word(std::string_view name, bool hasParam, int param);
    void symbol(char c);
    void text(const char *data, qsizetype length, CodePage *codePage);
    void character(char16_t c);
    void binary(const char *data, qsizetype length);

    // What was recorded, all groups closed; the recorder is empty again.
    QByteArray take();

private:
    void delimit();
    void reference(char kind, int number);

    QByteArray m_out;
    std::vector<int> m_fonts;      // the font of each open group
    int m_defaultFont = -1;
    bool m_afterWord = false;      // the last thing written was a control word
    unsigned char m_lead = 0;
};

// What a control word that the reader does not otherwise know means when it is kept.
enum class KeptWord : unsigned char {
    None,
    Document,      // page set-up and document settings
    Section,       // section settings
    PageBreakBefore,
    Anchor,        // a mark written in the text that goes with an anchored item
    NoteMark,      // where a note's number shows, in the format it shows in
    FontRef, ColorRef,
};
KeptWord keptWord(std::string_view name);

// What a destination the reader keeps is.
enum class KeptGroup : unsigned char { Section, Info, Note, Anchored };

} // namespace rtf
