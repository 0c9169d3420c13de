#include "ui/message_dialogs.h"

#include <gtest/gtest.h>

#include <QPushButton>

namespace gl {
namespace {

QPushButton& Button(QDialog& dialog, const QString& caption) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
    if (button->text() == caption) return *button;
  }
  throw std::runtime_error("no button " + caption.toStdString());
}

TEST(BriefReadyDialog, YesShowsTheSummaryPageAndNoShowsNothing) {
  for (const bool yes : {true, false}) {
    SCOPED_TRACE(yes);
    std::vector<std::string> browsed;
    TBtnRightDlg dialog(
        "News", "file:///tmp/0/Brief0.htm",
        [&](const std::string& address) { browsed.push_back(address); }, nullptr);
    Button(dialog, yes ? "&Yes" : "&No").click();
    EXPECT_EQ(dialog.result() == QDialog::Accepted, yes);
    EXPECT_EQ(browsed, yes ? std::vector<std::string>{"file:///tmp/0/Brief0.htm"}
                           : std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace gl
