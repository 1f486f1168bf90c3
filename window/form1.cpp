#include "form1.h"

#include "assignment/lana_assignment.h"
#include "assignment/message_box.h"
#include "inventory/command_runner.h"
#include "inventory/report_files.h"
#include "window/busy_command_runner.h"
#include "window/quorvel.xpm"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

#include <cstdlib>
#include <exception>
#include <utility>

namespace quorvel {

namespace {

constexpr const char* kFormCaption = "Quorvel";

constexpr const char* kLanaCaption = "LANA";
constexpr const char* kCardCaption = "Network Card";
constexpr const char* kHintCaption =
    "Highlight the Card where you want to set the LANA=O and click set";
constexpr const char* kExitCaption = "Close";
constexpr const char* kSetCaption = "Set";

// Positions and sizes in twips within the client area, the same on every screen.
constexpr double kTwipsPerInch = 1440.0;
constexpr int kClientWidth = 6465;
constexpr int kClientHeight = 4035;

struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

constexpr TwipRect kLABN{240, 360, 1575, 255};
constexpr TwipRect kLabel1{1920, 360, 1935, 255};
constexpr TwipRect kLstLANA{240, 600, 495, 2205};
constexpr TwipRect kLstCard{720, 600, 5655, 2205};
constexpr TwipRect kLabel2{240, 3000, 6135, 255};
constexpr TwipRect kCmdExit{1920, 3480, 855, 375};
constexpr TwipRect kCmdSet{4080, 3480, 855, 375};

int toPixels(int twips, qreal dotsPerInch)
{
    return qRound(twips * dotsPerInch / kTwipsPerInch);
}

// The boxes are fixed in size: a desktop with a wider default font gets smaller captions
// rather than clipped ones.
void fitCaption(QLabel* label)
{
    constexpr qreal kSmallestPointSize = 6.0;
    QFont font = label->font();
    while (font.pointSizeF() > kSmallestPointSize
           && QFontMetrics(font).horizontalAdvance(label->text()) > label->contentsRect().width())
        font.setPointSizeF(font.pointSizeF() - 0.5);
    label->setFont(font);
}

QString text(const char* latin1)
{
    return QString::fromLatin1(latin1);
}

} // namespace

Form1::Form1(QWidget* parent) : Form1(platformServices(), parent)
{
}

Form1::Form1(FormServices services, QWidget* parent)
    : QWidget(parent),
      services_(std::move(services)),
      LABN(new QLabel(text(kLanaCaption), this)),
      Label1(new QLabel(text(kCardCaption), this)),
      lstLANA(new QListWidget(this)),
      lstCard(new QListWidget(this)),
      Label2(new QLabel(text(kHintCaption), this)),
      cmdExit(new QPushButton(text(kExitCaption), this)),
      cmdSet(new QPushButton(text(kSetCaption), this)),
      lanaRows_(*lstLANA),
      cardRows_(*lstCard),
      inventory_(lanaRows_, cardRows_)
{
    setObjectName(QStringLiteral("Form1"));
    LABN->setObjectName(QStringLiteral("LABN"));
    Label1->setObjectName(QStringLiteral("Label1"));
    lstLANA->setObjectName(QStringLiteral("lstLANA"));
    lstCard->setObjectName(QStringLiteral("lstCard"));
    Label2->setObjectName(QStringLiteral("Label2"));
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    cmdSet->setObjectName(QStringLiteral("cmdSet"));

    setWindowTitle(text(kFormCaption));
    // Built from the XPM text compiled in: no file to read and no image plugins to load,
    // which would otherwise cost a noticeable part of the start-up.
    setWindowIcon(QIcon(QPixmap(quorvel_icon)));

    for (QListWidget* list : {lstLANA, lstCard}) {
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        // The two lists' rows pair up by position; stripes carry the eye across.
        list->setAlternatingRowColors(true);
    }
    QFont heading = LABN->font();
    heading.setBold(true);
    LABN->setFont(heading);
    Label1->setFont(heading);
    placeControls();
    for (QLabel* label : {LABN, Label1, Label2})
        fitCaption(label);

    setTabOrder(cmdSet, cmdExit);
    setTabOrder(cmdExit, lstCard);
    setTabOrder(lstCard, lstLANA);
    cmdSet->setFocus();

    connect(cmdSet, &QPushButton::clicked, this, &Form1::cmdSet_Click);
    connect(lstCard, &QListWidget::itemDoubleClicked, this, &Form1::lstCard_DblClick);
    connect(cmdExit, &QPushButton::clicked, this, &Form1::cmdExit_Click);
}

bool Form1::Form_Load()
{
    return runEvent([this] { refreshLists(); });
}

void Form1::cmdSet_Click()
{
    runEvent([this] {
        assignLana0();
        refreshLists();
    });
}

void Form1::lstCard_DblClick(QListWidgetItem* item)
{
    // Acts on the row under the pointer, even if a modifier key left it unselected.
    if (item != nullptr && !item->isSelected())
        lstCard->setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
    cmdSet_Click();
}

void Form1::cmdExit_Click()
{
    QCoreApplication::exit(EXIT_SUCCESS);
}

void Form1::placeControls()
{
    const QScreen* shownOn = screen();
    const qreal dpiX = shownOn->logicalDotsPerInchX();
    const qreal dpiY = shownOn->logicalDotsPerInchY();
    const auto place = [dpiX, dpiY](QWidget* control, const TwipRect& at) {
        control->setGeometry(toPixels(at.left, dpiX), toPixels(at.top, dpiY),
                             toPixels(at.width, dpiX), toPixels(at.height, dpiY));
    };

    setFixedSize(toPixels(kClientWidth, dpiX), toPixels(kClientHeight, dpiY));
    place(LABN, kLABN);
    place(Label1, kLabel1);
    place(lstLANA, kLstLANA);
    place(lstCard, kLstCard);
    place(Label2, kLabel2);
    place(cmdExit, kCmdExit);
    place(cmdSet, kCmdSet);
}

void Form1::refreshLists()
{
    const auto runner = services_.makeRunner();
    BusyCommandRunner busyRunner(*runner);
    const auto files = services_.makeReportFiles();
    inventory_.GetLANAInfo(busyRunner, *files);
}

void Form1::assignLana0()
{
    const auto runner = services_.makeRunner();
    BusyCommandRunner busyRunner(*runner);
    const auto messageBox = services_.makeMessageBox(this);
    SetLANAO(lanaRows_, cardRows_, busyRunner, *messageBox);
}

bool Form1::runEvent(const std::function<void()>& operations)
{
    try {
        operations();
        return true;
    } catch (const std::exception& error) {
        services_.reportError(isVisible() ? this : nullptr, error.what());
        QCoreApplication::exit(EXIT_FAILURE);
        return false;
    }
}

} // namespace quorvel
