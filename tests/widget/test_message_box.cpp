// ShowMessageBox: the icon of each kind, the application title, one OK button; other kinds show nothing.
#include "Unit_CommonLib.h"
#include "modal_answerer.h"

#include <gtest/gtest.h>


TEST(MessageBox, ShowsEachKindWithItsIconTheTitleAndOneOkButton) {
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Vantorel"));
    TCommonLib lib;
    const QMessageBox::Icon icons[] = {QMessageBox::Critical, QMessageBox::Warning, QMessageBox::Question,
                                       QMessageBox::Information};
    for (int kind = 0; kind < 4; ++kind) {
        ModalAnswerer<> answer({QMessageBox::Ok});
        EXPECT_TRUE(lib.ShowMessageBox("Please add media files you want to convert into the list.", kind));
        ASSERT_EQ(answer.Seen.size(), 1u) << kind;
        EXPECT_EQ(answer.Seen[0].Icon, icons[kind]);
        EXPECT_EQ(answer.Seen[0].Title, "Vantorel");
        EXPECT_EQ(answer.Seen[0].Text, "Please add media files you want to convert into the list.");
        EXPECT_EQ(answer.Seen[0].Buttons, std::vector<QMessageBox::StandardButton>{QMessageBox::Ok});
    }
    for (const int kind : {-1, 4, 16, 48}) {
        ModalAnswerer<> answer({QMessageBox::Ok});
        EXPECT_FALSE(lib.ShowMessageBox("nothing", kind));
        EXPECT_TRUE(answer.Seen.empty());
    }
}
