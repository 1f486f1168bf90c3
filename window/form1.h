#pragma once

#include "inventory/binding_inventory.h"
#include "window/form_services.h"
#include "window/list_widget_adapter.h"

#include <QWidget>

#include <functional>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace quorvel {

// The utility's only window: the NetBEUI bindings as LANA numbers beside adapter names,
// and the button that gives the highlighted adapter LANA number 0.
class Form1 : public QWidget {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);
    explicit Form1(FormServices services, QWidget* parent = nullptr);

    // Fills the lists; call before the window is first shown. False when that failed:
    // the error has been reported and the window must not be shown.
    bool Form_Load();

private:
    void cmdSet_Click();
    void lstCard_DblClick(QListWidgetItem* item);
    void cmdExit_Click();

    void placeControls();
    void refreshLists();
    void assignLana0();
    // Runs one event's operations; an error ends the event, is reported, and ends the
    // program with a failure status.
    bool runEvent(const std::function<void()>& operations);

    FormServices services_;

    QLabel* LABN;
    QLabel* Label1;
    QListWidget* lstLANA;
    QListWidget* lstCard;
    QLabel* Label2;
    QPushButton* cmdExit;
    QPushButton* cmdSet;

    ListWidgetAdapter lanaRows_;
    ListWidgetAdapter cardRows_;
    BindingInventory inventory_;
};

} // namespace quorvel
