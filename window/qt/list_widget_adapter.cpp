#include "list_widget_adapter.h"

#include <QByteArray>
#include <QListWidget>
#include <QListWidgetItem>
#include <QString>

namespace quorvel {

namespace {

constexpr int kRawTextRole = Qt::UserRole;

} // namespace

ListWidgetAdapter::ListWidgetAdapter(QListWidget& list) : list_(list)
{
}

void ListWidgetAdapter::clear()
{
    list_.clear();
}

void ListWidgetAdapter::append(const std::string& text)
{
    const QByteArray raw(text.data(), static_cast<qsizetype>(text.size()));
    auto* item = new QListWidgetItem(QString::fromLocal8Bit(raw), &list_);
    item->setData(kRawTextRole, raw);
}

int ListWidgetAdapter::rowCount() const
{
    return list_.count();
}

int ListWidgetAdapter::highlightedRow() const
{
    const QList<QListWidgetItem*> selected = list_.selectedItems();
    return selected.isEmpty() ? -1 : list_.row(selected.first());
}

std::string ListWidgetAdapter::rowText(int row) const
{
    const QListWidgetItem* item = row >= 0 && row < list_.count() ? list_.item(row) : nullptr;
    if (item == nullptr)
        return {};
    const QByteArray raw = item->data(kRawTextRole).toByteArray();
    return {raw.constData(), static_cast<std::size_t>(raw.size())};
}

} // namespace quorvel
