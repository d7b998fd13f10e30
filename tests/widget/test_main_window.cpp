// The main window as a new user first sees it.
#include "Unit_Convert.h"

#include <QCheckBox>
#include <QLineEdit>
#include <gtest/gtest.h>

TEST(MainWindow, StartsWithTheAfterBatchChoicesAndAReadOnlyFolderField) {
    TFrmMainForm form;
    EXPECT_TRUE(form.chkShowOutputDirectory->isChecked());
    EXPECT_FALSE(form.chkShutdown->isChecked());
    EXPECT_EQ(form.chkShutdown->text().toStdString(), "Shutdown computer when job is finished.");
    EXPECT_EQ(form.chkShowOutputDirectory->text().toStdString(), "Show output directory when done");
    EXPECT_TRUE(form.edtOutputFolder->isReadOnly());
}
