#include "window/qt/message_dialog.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using quorvel::MessageKind;

TEST(QtMessageDialog, ShowsPlainTextWithOnlyAnOkButtonAndTheIconOfItsKind)
{
    int argc = 3;
    char name[] = "window_qt_message_dialog_tests";
    char platformOption[] = "-platform";
    char platform[] = "offscreen";
    char* argv[] = {name, platformOption, platform, nullptr};
    QApplication app(argc, argv);

    for (const auto& [kind, icon] : {std::pair{MessageKind::Plain, QMessageBox::NoIcon},
                                     std::pair{MessageKind::Error, QMessageBox::Critical},
                                     std::pair{MessageKind::Warning, QMessageBox::Warning}}) {
        SCOPED_TRACE(static_cast<int>(kind));
        bool seen = false;
        QTimer::singleShot(0, [&, icon = icon] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            seen = true;
            EXPECT_EQ(box->windowTitle(), "Warning");
            // The local encoding decodes the report's bytes, as in the lists.
            EXPECT_EQ(box->text(), QString::fromUtf8("<b>No</b> card \xc3\xa4"));
            EXPECT_EQ(box->textFormat(), Qt::PlainText);
            EXPECT_EQ(box->icon(), icon);
            EXPECT_EQ(box->buttons().size(), 1);
            EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
            box->button(QMessageBox::Ok)->click();
        });
        quorvel::QtMessageDialog().show("<b>No</b> card \xc3\xa4", "Warning", kind);
        EXPECT_TRUE(seen);
    }
}

} // namespace
