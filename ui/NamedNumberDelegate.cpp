#include "NamedNumberDelegate.h"

namespace vanecraft {

void NamedNumberDelegate::initStyleOption(QStyleOptionViewItem* option,
                                          const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    // A name from a file may hold line ends; the list shows one line per fin set.
    const QString name = index.data(Qt::UserRole).toString().simplified();
    if (!name.isEmpty())
        option->text += QStringLiteral("  ") + name;
}

} // namespace vanecraft
