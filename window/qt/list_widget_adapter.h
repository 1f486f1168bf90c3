#pragma once

#include "inventory/adapter_list.h"

#include <string>

class QListWidget;

namespace quorvel {

// A single-selection QListWidget seen as one of the two adapter lists. Each row keeps the
// report's exact bytes beside its displayed text, so a row's text goes back to the
// command line unchanged whatever the local encoding makes of it on screen.
class ListWidgetAdapter : public AdapterList {
public:
    explicit ListWidgetAdapter(QListWidget& list);

    void clear() override;
    void append(const std::string& text) override;
    int rowCount() const override;
    // The selected row only: Qt's current row follows keyboard focus, not the user's pick.
    int highlightedRow() const override;
    std::string rowText(int row) const override;

private:
    QListWidget& list_;
};

} // namespace quorvel
