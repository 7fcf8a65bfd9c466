#include "shell/pages/dpi_page.h"

namespace vrdk::shell {

void DpiPage::ApplyLanguage() {
  ShowPlaceholder(QStringLiteral("lbl_Placeholder_2"),
                  QString::fromStdString(services_.Language().Text("Str007")),
                  QStringLiteral("DPI levels, polling rate, fire keys, AIM and pointer settings"));
}

}  // namespace vrdk::shell
