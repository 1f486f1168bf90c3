#include "form1.h"

#include "window/form1_layout.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QListWidgetItem>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

namespace quorvel {

namespace {

// Eats every mouse, key, wheel and touch event that passes while it is installed.
class InputDrain : public QObject {
public:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override { return event->isInputEvent(); }
};

// The boxes are fixed in size: a desktop with a wider default font gets smaller captions
// rather than clipped ones.
void fitCaption(QLabel* label)
{
    constexpr qreal kSmallestPointSize = 6.0;
    QFont font = label->font();
    while (font.pointSizeF() > kSmallestPointSize &&
           QFontMetrics(font).horizontalAdvance(label->text()) > label->contentsRect().width())
        font.setPointSizeF(font.pointSizeF() - 0.5);
    label->setFont(font);
}

QString captionOf(const char* name)
{
    return QString::fromLatin1(form1Control(name).caption);
}

template <typename Control>
Control* makeControl(const char* name, QWidget* window)
{
    auto* control = new Control(window);
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

template <typename Control>
Control* makeCaptioned(const char* name, QWidget* window)
{
    auto* control = new Control(captionOf(name), window);
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

} // namespace

Form1::Form1(CommandRunner& runner, ReportFiles& reportFiles, RenumberingLock& renumberingLock,
             RenumberingLog& renumberingLog, bool userMayRenumber, QWidget* parent)
    : Form1(runner, reportFiles, renumberingLock, renumberingLog, userMayRenumber, nullptr, parent)
{
}

Form1::Form1(CommandRunner& runner, ReportFiles& reportFiles, RenumberingLock& renumberingLock,
             RenumberingLog& renumberingLog, bool userMayRenumber, MessageDialog& messageDialog,
             QWidget* parent)
    : Form1(runner, reportFiles, renumberingLock, renumberingLog, userMayRenumber, &messageDialog,
            parent)
{
}

Form1::Form1(CommandRunner& runner, ReportFiles& reportFiles, RenumberingLock& renumberingLock,
             RenumberingLog& renumberingLog, bool userMayRenumber, MessageDialog* messageDialog,
             QWidget* parent)
    : QWidget(parent), LABN(makeCaptioned<QLabel>("LABN", this)),
      Label1(makeCaptioned<QLabel>("Label1", this)),
      lstLANA(makeControl<QListWidget>("lstLANA", this)),
      lstCard(makeControl<QListWidget>("lstCard", this)),
      Label2(makeCaptioned<QLabel>("Label2", this)),
      cmdExit(makeCaptioned<QPushButton>("cmdExit", this)),
      cmdSet(makeCaptioned<QPushButton>("cmdSet", this)), messageBox_(this),
      behaviour_(*this, {runner, reportFiles, renumberingLock, renumberingLog, userMayRenumber,
                         messageDialog != nullptr ? *messageDialog : messageBox_, *this,
                         [](int status) { QCoreApplication::exit(status); }})
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromLatin1(kFormCaption));

    for (QListWidget* list : {lstLANA, lstCard}) {
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        // The two lists' rows pair up by position; stripes carry the eye across.
        list->setAlternatingRowColors(true);
        // Rows of one height, and no horizontal bar to take a row from one list only: a long
        // name is cut short (its whole text is its tooltip).
        list->setUniformItemSizes(true);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    // lstCard's bar scrolls both; lstLANA, too narrow for a bar, follows it, and lstCard
    // follows whatever scrolls lstLANA (its wheel, its keys).
    lstLANA->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(lstCard->verticalScrollBar(), &QScrollBar::valueChanged, lstLANA->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(lstLANA->verticalScrollBar(), &QScrollBar::valueChanged, lstCard->verticalScrollBar(),
            &QScrollBar::setValue);
    // Enter presses the focused button, as Space does; outside a dialog Qt needs telling.
    for (QPushButton* button : {cmdSet, cmdExit})
        button->setAutoDefault(true);
    for (QLabel* label : {LABN, Label1, Label2}) {
        if (form1Control(label->objectName().toLatin1().constData()).columnHeading) {
            QFont heading = label->font();
            heading.setBold(true);
            label->setFont(heading);
        }
    }
    placeControls();
    for (QLabel* label : {LABN, Label1, Label2})
        fitCaption(label);

    // Focus moves through the controls that take it in the layout's tab order.
    QWidget* previous = nullptr;
    for (const ControlLayout* control : controlsInTabOrder()) {
        if (control->kind == ControlKind::Label)
            continue;
        auto* next = findChild<QWidget*>(QString::fromLatin1(control->name));
        if (previous == nullptr)
            next->setFocus();
        else
            setTabOrder(previous, next);
        previous = next;
    }

    connect(cmdSet, &QPushButton::clicked, this, [this] { behaviour_.cmdSet_Click(); });
    connect(lstCard, &QListWidget::itemDoubleClicked, this, &Form1::lstCard_DblClick);
    connect(cmdExit, &QPushButton::clicked, this, [this] { behaviour_.cmdExit_Click(); });
}

bool Form1::Form_Load()
{
    return behaviour_.Form_Load();
}

void Form1::showBindings(const std::vector<Binding>& bindings)
{
    lstLANA->clear();
    lstCard->clear();
    // Shown as the local encoding reads the report; the bytes stay with the behaviour.
    for (const Binding& binding : bindings) {
        const QString name = QString::fromLocal8Bit(
            binding.adapterName.data(), static_cast<qsizetype>(binding.adapterName.size()));
        lstCard->addItem(name);
        // Escaped: a tooltip would take text that looks like markup as markup.
        lstCard->item(lstCard->count() - 1)
            ->setToolTip(QStringLiteral("<qt>%1</qt>").arg(name.toHtmlEscaped()));
        lstLANA->addItem(QString::fromLocal8Bit(binding.lana.data(),
                                                static_cast<qsizetype>(binding.lana.size())));
    }
}

int Form1::highlightedCard() const
{
    const QList<QListWidgetItem*> selected = lstCard->selectedItems();
    return selected.isEmpty() ? -1 : lstCard->row(selected.first());
}

void Form1::showToolRunning(bool running)
{
    if (running) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        return;
    }
    QGuiApplication::restoreOverrideCursor();
    // The window's thread was held by the run, so what the user did meanwhile is still
    // queued; delivered now, it would act on the lists the run has just replaced.
    InputDrain drain;
    QCoreApplication::instance()->installEventFilter(&drain);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCoreApplication::instance()->removeEventFilter(&drain);
}

void Form1::lstCard_DblClick(QListWidgetItem* item)
{
    // Acts on the row under the pointer, even if a modifier key left it unselected.
    if (item != nullptr && !item->isSelected())
        lstCard->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
    behaviour_.lstCard_DblClick();
}

void Form1::placeControls()
{
    const QScreen* shownOn = screen();
    const qreal dpiX = shownOn->logicalDotsPerInchX();
    const qreal dpiY = shownOn->logicalDotsPerInchY();

    setFixedSize(twipsToPixels(kClientWidthTwips, dpiX), twipsToPixels(kClientHeightTwips, dpiY));
    for (const ControlLayout& control : kForm1Controls) {
        const PixelRect at = twipsToPixels(control.at, dpiX, dpiY);
        findChild<QWidget*>(QString::fromLatin1(control.name))
            ->setGeometry(at.left, at.top, at.width, at.height);
    }
}

} // namespace quorvel
