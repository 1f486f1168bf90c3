#pragma once

#include "window/form1_behaviour.h"
#include "window/form_services.h"
#include "window/qt/list_widget_adapter.h"

#include <QWidget>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace quorvel {

// The utility's only window on QtWidgets: the NetBEUI bindings as LANA numbers beside
// adapter names, and the button that gives the highlighted adapter LANA number 0. A view:
// what each event does is Form1Behaviour's.
class Form1 : public QWidget {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);
    explicit Form1(FormServices services, QWidget* parent = nullptr);

    // Fills the lists; call before the window is first shown. False when that failed:
    // the error has been reported and the window must not be shown.
    bool Form_Load();

private:
    void lstCard_DblClick(QListWidgetItem* item);
    void placeControls();

    QLabel* LABN;
    QLabel* Label1;
    QListWidget* lstLANA;
    QListWidget* lstCard;
    QLabel* Label2;
    QPushButton* cmdExit;
    QPushButton* cmdSet;

    ListWidgetAdapter lanaRows_;
    ListWidgetAdapter cardRows_;
    Form1Behaviour behaviour_;
};

} // namespace quorvel
