#include "shell/pages/key_page.h"

#include "shell/pictures.h"
#include "shell/skin_widgets.h"

namespace vrdk::shell {

KeyPage::KeyPage(ShellServices& services, QWidget* parent) : Page(1, services, parent) {
  for (int n = 1; n <= kKeys; ++n) {
    auto* picture = new PictureLabel(QStringLiteral("Img_Key%1").arg(n), this);
    auto* key = new SkinLabel(QStringLiteral("Key%1").arg(n), this);
    connect(key, &SkinLabel::Entered, this, [this, picture] {
      picture->SetPicture(services_.GetPictures().Get(QStringLiteral("KeyS_02")));
    });
    connect(key, &SkinLabel::Left, this, [this, picture] {
      picture->SetPicture(services_.GetPictures().Get(QStringLiteral("KeyS_01")));
    });
    pictures_.append(picture);
    keys_.append(key);
  }
  for (int n = 1; n <= kComboKeys; ++n) {
    combo_pictures_.append(new PictureLabel(QStringLiteral("Img_ComboKey%1").arg(n), this));
    auto* option = new SkinLabel(QStringLiteral("IB_ComboKey%1").arg(n), this);
    option->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    combo_keys_.append(option);
  }
}

void KeyPage::ApplyLanguage() {
  // The options' texts stand with four leading blanks.
  for (int n = 0; n < kComboKeys; ++n) {
    const std::string text = "    " + services_.Language().Text(700 + n);
    combo_keys_[n]->setText(QString::fromStdString(text));
    combo_keys_[n]->adjustSize();
  }
}

void KeyPage::ShowState() {
  const auto& captions = services_.GetSession().Pages().key_captions;
  for (int n = 0; n < kKeys; ++n) {
    keys_[n]->setText(QString::fromStdString(captions[static_cast<std::size_t>(n)]));
  }
  // Option 1 is the lighting gesture, options 2 .. 7 the game-mode gestures.
  const PageState& pages = services_.GetSession().Pages();
  for (int n = 0; n < kComboKeys; ++n) {
    const bool chosen = n == 0 ? pages.led_gesture_item == 1 : pages.game_gesture_item == n;
    combo_pictures_[n]->SetPicture(
        services_.GetPictures().Get(chosen ? QStringLiteral("CbS_E") : QStringLiteral("CbS_D")));
  }
}

}  // namespace vrdk::shell
