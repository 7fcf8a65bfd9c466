#include "shell/pages/update_page.h"

namespace vrdk::shell {

void UpdatePage::ApplyLanguage() {
  ShowPlaceholder(QStringLiteral("lbl_Placeholder_5"),
                  QString::fromStdString(services_.Language().Text("Str015")),
                  QStringLiteral("Patch code files for the mouse's controller"));
}

}  // namespace vrdk::shell
