#pragma once

#include <QStyledItemDelegate>

namespace vanecraft {

// For a list of numbers that stand for named things: the drop-down shows each number with its
// name (the item's Qt::UserRole), while the closed box keeps showing the number alone.
class NamedNumberDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

} // namespace vanecraft
