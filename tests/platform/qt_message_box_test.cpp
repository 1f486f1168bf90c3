#include "platform/qt_message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(QtMessageBox, ShowsPlainTextWithOnlyAnOkButtonAndNoIcon)
{
    int argc = 3;
    char name[] = "platform_tests";
    char platformOption[] = "-platform";
    char platform[] = "offscreen";
    char* argv[] = {name, platformOption, platform, nullptr};
    QApplication app(argc, argv);

    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = true;
        EXPECT_EQ(box->windowTitle(), "Warning");
        EXPECT_EQ(box->text(), "<b>No</b> card");
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        EXPECT_EQ(box->buttons().size(), 1);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        box->button(QMessageBox::Ok)->click();
    });
    quorvel::QtMessageBox().show("<b>No</b> card", "Warning");
    EXPECT_TRUE(seen);
}

} // namespace
