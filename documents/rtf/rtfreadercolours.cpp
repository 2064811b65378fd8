// The reader's colour table: one brush per entry, none for an automatic one.
#include "rtfreader.h"

namespace rtf {

bool Reader::applyColorTableOp(Op op, int value)
{
    if (op == Op::Red) m_red = value;
    else if (op == Op::Green) m_green = value;
    else if (op == Op::Blue) m_blue = value;
    else return false;
    m_colorSet = true;
    return true;
}

void Reader::commitColor()
{
    // Kept as brushes, which formats take as they are.
    m_colors.push_back(m_colorSet ? QBrush(QColor(std::clamp(m_red, 0, 255),
                                                  std::clamp(m_green, 0, 255),
                                                  std::clamp(m_blue, 0, 255)))
                                  : QBrush());
    m_red = m_green = m_blue = 0;
    m_colorSet = false;
    m_formatIndex.clear();
    m_runFormat = -1;
}

} // namespace rtf
