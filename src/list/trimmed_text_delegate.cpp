#include "list/trimmed_text_delegate.h"

namespace quillet {

void TrimmedTextDelegate::initStyleOption(QStyleOptionViewItem* option,
                                          const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  qsizetype begin = 0, end = option->text.size();
  while (begin < end && option->text[begin] == ' ') ++begin;
  while (end > begin && option->text[end - 1] == ' ') --end;
  option->text = option->text.mid(begin, end - begin);
}

}  // namespace quillet
