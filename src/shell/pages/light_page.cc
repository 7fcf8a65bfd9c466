#include "shell/pages/light_page.h"

namespace vrdk::shell {

void LightPage::ApplyLanguage() {
  ShowPlaceholder(QStringLiteral("lbl_Placeholder_3"),
                  QString::fromStdString(services_.Language().Text("Str008")),
                  QStringLiteral("LED type, effects, breathing, colours"));
}

}  // namespace vrdk::shell
