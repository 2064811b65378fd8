#pragma once

#include <QTextDocument>

namespace rtf {

// A document whose lists take an item at their end in constant time. Qt 6.4's own list
// marks every item for layout again each time an item joins it, so reading a numbered
// list, or pressing Enter at its end, costs time in the length of the list, and reading
// one in the square of its length. This document's lists mark only the new item when it
// goes after their last one, since no other item's number changes then; an item put
// anywhere else renumbers the items after it, and is marked as Qt marks it.
class ListDocument : public QTextDocument
{
public:
    explicit ListDocument(QObject *parent = nullptr);

protected:
    QTextObject *createObject(const QTextFormat &format) override;
};

} // namespace rtf
