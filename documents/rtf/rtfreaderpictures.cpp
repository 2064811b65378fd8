// The reader's pictures: PNG and JPEG images, scaled as the file asks.
#include "rtfreader.h"

#include <QImage>
#include <QTextDocument>
#include <QUrl>

namespace rtf {

bool Reader::applyPictureOp(Op op, int value)
{
    switch (op) {
    case Op::PicPng: m_picture.kind = 1; return true;
    case Op::PicJpeg: m_picture.kind = 2; return true;
    case Op::PicOther: m_picture.kind = 0; return true;
    case Op::PicWidth: m_picture.width = value; return true;
    case Op::PicHeight: m_picture.height = value; return true;
    case Op::PicGoalWidth: m_picture.goalWidth = value; return true;
    case Op::PicGoalHeight: m_picture.goalHeight = value; return true;
    case Op::PicScaleX: m_picture.scaleX = value; return true;
    case Op::PicScaleY: m_picture.scaleY = value; return true;
    default: return false;
    }
}

void Reader::finishPicture()
{
    if (m_picture.kind == 0)
        return;
    QByteArray data = m_picture.bin;
    if (data.isEmpty())
        data = QByteArray::fromHex(m_picture.hex);
    QImage image;
    if (!image.loadFromData(data, m_picture.kind == 1 ? "PNG" : "JPG"))
        return;
    insertImage(image, m_picture);
}

void Reader::insertImage(const QImage &image, const Picture &p)
{
    const Dest d = top().dest;
    if ((d != Dest::Body && d != Dest::FieldResult) || top().chr.hidden)
        return;
    const QString name = QStringLiteral("rtf-image-%1").arg(++m_imageCount);
    m_doc->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat f;
    f.setName(name);
    const double sx = std::clamp(p.scaleX, 1, 10000) / 100.0;
    const double sy = std::clamp(p.scaleY, 1, 10000) / 100.0;
    f.setWidth(p.goalWidth > 0 ? p.goalWidth * sx / 15.0 : image.width() * sx);
    f.setHeight(p.goalHeight > 0 ? p.goalHeight * sy / 15.0 : image.height() * sy);
    m_formats.push_back({f});
    m_para.runs.push_back({int(m_para.text.size()), int(m_formats.size() - 1)});
    m_para.text.append(QChar::ObjectReplacementCharacter);
    m_runFormat = -1;
}

} // namespace rtf
