#include "shell/pages/key_page.h"

#include "keys/editors/gestures.h"
#include "keys/editors/key_assignment.h"
#include "macros/editors/device_macros.h"
#include "settings/mode_pages.h"
#include "shell/pages/key_combination_dialog.h"
#include "shell/pages/key_menus.h"
#include "shell/pictures.h"
#include "shell/skin_widgets.h"

namespace vrdk::shell {
namespace {
constexpr const char* kNormal = "KeyS_01";
constexpr const char* kHover = "KeyS_02";
constexpr const char* kSelected = "KeyS_03";
}  // namespace

KeyPage::KeyPage(ShellServices& services, QWidget* parent) : Page(1, services, parent) {
  for (int n = 1; n <= kKeys; ++n) {
    auto* picture = new PictureLabel(QStringLiteral("Img_Key%1").arg(n), this);
    auto* key = new SkinLabel(QStringLiteral("Key%1").arg(n), this);
    connect(key, &SkinLabel::Entered, this, [this, n] { KeyEntered(n); });
    connect(key, &SkinLabel::Left, this, [this, n] { KeyLeft(n); });
    connect(key, &SkinLabel::Clicked, this, [this, n] { ShowPnlMain_OnClick(n); });
    pictures_.append(picture);
    keys_.append(key);
  }
  for (int n = 1; n <= kComboKeys; ++n) {
    auto* picture = new PictureLabel(QStringLiteral("Img_ComboKey%1").arg(n), this);
    auto* option = new SkinLabel(QStringLiteral("IB_ComboKey%1").arg(n), this);
    option->SetRole(ControlRole::kCheckBox);
    option->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // IB_ComboKeyNClick: the option's text or its check picture.
    connect(option, &SkinLabel::Clicked, this, [this, n] { IB_ComboKeyClick(n); });
    connect(picture, &PictureLabel::Pressed, this, [this, n] { IB_ComboKeyClick(n); });
    combo_pictures_.append(picture);
    combo_keys_.append(option);
  }
  // ClearAP: a click on the page picture closes the menus.
  connect(PagePicture(), &PictureLabel::Pressed, this, [this] { services_.HideAllMenu(); });
  menus_ = new KeyMenus(services_, this);
  connect(menus_, &KeyMenus::LeafChosen, this, &KeyPage::KeyStatusOnClick);
  connect(menus_, &KeyMenus::CombinationChosen, this, &KeyPage::Key_AssemblyClick);
  connect(menus_, &KeyMenus::MacroChosen, this, &KeyPage::LB_NameClick);
}

void KeyPage::ApplyLanguage() {
  // The options' texts stand with four leading blanks.
  for (int n = 0; n < kComboKeys; ++n) {
    const std::string text = "    " + services_.Language().Text(700 + n);
    combo_keys_[n]->setText(QString::fromStdString(text));
    combo_keys_[n]->adjustSize();
  }
  menus_->ApplyLanguage();
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
    combo_keys_[n]->SetChecked(chosen);
  }
}

void KeyPage::IB_ComboKeyClick(int toggle) {
  services_.HideAllMenu();
  Session& session = services_.GetSession();
  if (session.Conn().loading) return;
  // Option 1 is the lighting gesture, options 2 .. 7 the game-mode gestures;
  // a gesture whose button the shown profile lacks does nothing.
  keys::Gestures gestures(session);
  if (toggle == 1) {
    gestures.ToggleLightingGesture();
  } else if (const auto gesture = keys::GameGestureFromNumber(toggle - 1)) {
    gestures.ToggleGameGesture(*gesture);
  }
  session.Events().RefreshPages();
}

void KeyPage::ShowKeyPicture(int key, const char* picture) {
  pictures_[key - 1]->SetPicture(services_.GetPictures().Get(QLatin1String(picture)));
}

void KeyPage::KeyEntered(int key) {
  ShowKeyPicture(key, kHover);
  services_.StartRolling(keys_[key - 1]);
}

void KeyPage::KeyLeft(int key) {
  ShowKeyPicture(key, key == edited_ && menus_->IsOpen() ? kSelected : kNormal);
  services_.StopRolling(keys_[key - 1]);
}

void KeyPage::HideMenus() {
  // A menu walked with the keyboard gives the focus back to its key.
  const bool keyboard = menus_->HasFocus();
  menus_->HideAll();
  if (edited_ > 0) {
    ShowKeyPicture(edited_, kNormal);
    if (keyboard) keys_[edited_ - 1]->setFocus(Qt::OtherFocusReason);
  }
}

void KeyPage::ShowPnlMain_OnClick(int key) {
  if (key < 1 || key > kKeys) return;
  SkinLabel* label = keys_[key - 1];
  services_.StopRolling(label);
  services_.HideAllMenu();
  edited_ = key;
  ShowKeyPicture(key, kSelected);
  const Session& session = services_.GetSession();
  const bool switch_button = services_.Skin().Number("Btn_B2_Enable") == 1;
  const bool keyboard = label->hasFocus();
  menus_->Open(label->geometry(),
               settings::MenuSizesFor(session.Pages().mode_page, session.Brand().button_effect,
                                      switch_button));
  if (keyboard) menus_->FocusFirst();
}

void KeyPage::KeyStatusOnClick(int tag) {
  services_.HideAllMenu();
  if (edited_ == 0) return;
  Session& session = services_.GetSession();
  keys::KeyAssignment(session).AssignMenuEntry(keys::KeyTarget::MainButton(edited_), tag);
  session.Events().RefreshPages();
}

void KeyPage::LB_NameClick(int item) {
  services_.HideAllMenu();
  Session& session = services_.GetSession();
  auto* store = macros::FindDeviceMacros(session);
  if (edited_ == 0 || store == nullptr) return;
  store->AssignToButton(edited_, item);
  session.Events().RefreshPages();
}

void KeyPage::Key_AssemblyClick() {
  services_.HideAllMenu();
  Session& session = services_.GetSession();
  if (edited_ == 0 || !keys::KeyAssignment(session).MayOpenCombinationDialog(
                          keys::KeyTarget::MainButton(edited_))) {
    return;
  }
  if (dialog_ != nullptr) dialog_->close();
  dialog_ = new TForm2(services_);
  connect(dialog_, &TForm2::Confirmed, this, &KeyPage::CombinationConfirmed);
  dialog_->Open();
}

void KeyPage::CombinationConfirmed(const QString& code, const QString& caption) {
  Session& session = services_.GetSession();
  keys::KeyAssignment(session).AssignCode(keys::KeyTarget::MainButton(edited_), code.toStdString(),
                                          caption.toStdString());
  session.Events().RefreshPages();
}

}  // namespace vrdk::shell
