#include "shell/pages/macro_page.h"

namespace vrdk::shell {

void MacroPage::ApplyLanguage() {
  ShowPlaceholder(QStringLiteral("lbl_Placeholder_4"),
                  QString::fromStdString(services_.Language().Text("Str014")),
                  QStringLiteral("The recorder, the macro library and the mouse's macros"));
}

}  // namespace vrdk::shell
