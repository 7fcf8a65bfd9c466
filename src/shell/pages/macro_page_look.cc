// The macro page in the chosen language and skin: captions, the texts
// assistive tools read, the lists' and fields' colours and fonts, and the
// places of the captions beside the fields.

#include "shell/pages/macro_page.h"

#include <QComboBox>
#include <QListWidget>

#include "macros/line_editing.h"
#include "shell/edit_field.h"
#include "shell/menu_panel.h"
#include "shell/pages/macro_rows.h"
#include "shell/skin_palette.h"
#include "shell/skin_widgets.h"

namespace vrdk::shell {

void MacroPage::ApplyLanguage() {
  EnsureLibrary();
  new_button_->setText(Text("Str432"));
  SetRecordingLook(Recording());
  const std::pair<const char*, const char*> captions[] = {
      {"lbl_DelayTime", "Str417"},      {"IB_RecDelay", "Str414"},
      {"IB_DelayTime", "Str415"},       {"IB_NoDelay", "Str416"},
      {"lbl_DelayUnit", "Str418"},      {"IB_InsertRecDelay", "Str414"},
      {"IB_InsertDelayTime", "Str415"}, {"IB_InsertNoDelay", "Str416"},
      {"lbl_InsertDelay", "Str417"},    {"lbl_InsertDelayUnit", "Str418"},
      {"lbl_XAxis", "Str454"},          {"lbl_YAxis", "Str455"},
      {"lbl_Repeat", "Str458"},         {"Btn_OK", "Str420"},
      {"Btn_Cancel", "Str422"}};
  for (const auto& [name, key] : captions) {
    if (auto* label = findChild<QLabel*>(QLatin1String(name))) {
      label->setText(Text(key));
      if (qobject_cast<SkinLabel*>(label) != nullptr &&
          QLatin1String(name).startsWith(QLatin1String("IB_"))) {
        label->adjustSize();
      }
    }
  }
  const int current = insert_list_->currentIndex();
  insert_list_->clear();
  for (const macros::InsertChoice& choice : macros::kInsertChoices) {
    insert_list_->addItem(Text(choice.text_key));
  }
  insert_list_->setCurrentIndex(std::max(0, current));
  // Sized and placed after their captions.
  Restyle();
  for (MenuPanel* panel : {pc_panel_, device_panel_, content_panel_}) panel->Restyle(services_);
  SelectDelayMode(delay_mode_, false);
  SelectDelayMode(insert_mode_, true);
  if (inserting_) ShowInsertControls();
  // What assistive tools call the lists and boxes: their captions.
  const int language = services_.GetSession().CurrentLanguage();
  const auto own = [language](OwnText text) {
    return QString::fromStdString(OwnTextFor(text, language));
  };
  pc_names_->setAccessibleName(own(OwnText::kNameLibraryMacros));
  device_names_->setAccessibleName(own(OwnText::kNameMouseMacros));
  lines_list_->setAccessibleName(own(OwnText::kNameMacroEvents));
  insert_list_->setAccessibleName(Text("Str409"));  // "Insert"
  const std::pair<QWidget*, const char*> captioned[] = {{delay_edit_, "IB_DelayTime"},
                                                        {insert_delay_, "IB_InsertDelayTime"},
                                                        {x_edit_, "lbl_XAxis"},
                                                        {y_edit_, "lbl_YAxis"},
                                                        {repeat_edit_, "lbl_Repeat"}};
  for (const auto& [field, caption] : captioned) {
    if (auto* label = findChild<QLabel*>(QLatin1String(caption))) {
      field->setAccessibleName(label->text().simplified());
    }
  }
}

void MacroPage::Restyle() {
  const SkinLayout& skin = services_.Skin();
  const TextStyle style = skin.Style("F");
  const QFont font = services_.TableFont(style.points);
  const SkinPalette palette = SkinPalette::Of(skin);
  const int height = std::max(16, skin.Number("MacroNameHeight"));
  const QString list_style =
      QStringLiteral(
          "QListWidget { background: %1; border: 1px solid %2; color: %3; outline: none; }"
          "QListWidget::item:selected { background: %4; color: %5; }"
          "QListWidget:disabled { color: %6; }"
          "QScrollBar:vertical { background: %1; width: 10px; margin: 0; }"
          "QScrollBar::handle:vertical { background: %2; min-height: 24px; border-radius: 4px; }"
          "QScrollBar::add-line, QScrollBar::sub-line { height: 0; }")
          .arg(CssColour(skin.Colour("F_LBack")), CssColour(skin.Colour("F_LBorder")),
               CssColour(skin.Colour("F_Font")), CssColour(skin.Colour("G_SP")),
               CssColour(skin.Colour("G_SF")), Css(palette.disabled));
  for (QListWidget* list : {pc_names_, device_names_, lines_list_}) {
    list->setFont(font);
    list->setStyleSheet(list_style);
    auto* rows = static_cast<MacroRowDelegate*>(list->itemDelegate());
    rows->SetHeight(height);
    rows->SetColours(ToQColor(skin.Colour("F_Font")), palette.disabled, palette.chosen_text,
                     palette.chosen);
    list->doItemsLayout();
  }
  const QString field_style =
      QStringLiteral(
          "QLineEdit { background: %1; color: %2; border: 1px solid %3; padding: 1px 4px; }"
          "QLineEdit:read-only { color: %4; }"
          "QLineEdit:focus { border-color: %5; }")
          .arg(CssColour(skin.Colour("F_Back")), CssColour(skin.Colour("F_Font")),
               CssColour(skin.Colour("F_LBorder")), Css(palette.disabled),
               Css(palette.accent_light));
  for (QLineEdit* edit : {delay_edit_, insert_delay_, x_edit_, y_edit_, repeat_edit_}) {
    edit->setFont(font);
    edit->setStyleSheet(field_style);
  }
  insert_list_->setFont(font);
  insert_list_->setStyleSheet(
      QStringLiteral(
          "QComboBox { background: %1; color: %2; border: 1px solid %3; padding: 2px 8px; }"
          "QComboBox QAbstractItemView { background: %1; color: %2;"
          "  selection-background-color: %4; }")
          .arg(CssColour(skin.Colour("F_Back")), CssColour(skin.Colour("F_Font")),
               CssColour(skin.Colour("F_LBorder")), CssColour(skin.Colour("G_SP"))));
  const QString label_style =
      QStringLiteral("color: %1; background: transparent;").arg(CssColour(style.colour));
  for (const char* name : {"lbl_DelayUnit", "lbl_InsertDelay", "lbl_InsertDelayUnit", "lbl_XAxis",
                           "lbl_YAxis", "lbl_Repeat"}) {
    if (auto* label = findChild<QLabel*>(QLatin1String(name))) {
      label->setFont(font);
      label->setStyleSheet(label_style);
    }
  }
  // The captions beside the insert panel's fields, the Y field under the X
  // field, and the two groups around their controls.
  const auto beside = [this](const char* caption, QWidget* field, bool left) {
    auto* label = findChild<QLabel*>(QLatin1String(caption));
    label->adjustSize();
    const int x = left ? field->x() - label->width() - 10 : field->geometry().right() + 8;
    label->move(x, field->y() + (field->height() - label->height()) / 2);
  };
  y_edit_->move(x_edit_->x(), x_edit_->y() + 32);
  beside("lbl_DelayUnit", delay_edit_, false);
  beside("lbl_InsertDelay", insert_delay_, true);
  beside("lbl_InsertDelayUnit", insert_delay_, false);
  beside("lbl_XAxis", x_edit_, true);
  beside("lbl_YAxis", y_edit_, true);
  beside("lbl_Repeat", repeat_edit_, true);
  if (auto* title = findChild<QLabel*>(QStringLiteral("lbl_DelayTime"))) {
    QFont bold = font;
    bold.setBold(true);
    title->setFont(bold);
    title->adjustSize();
  }
  for (auto [group, controls] :
       {std::pair{delay_group_, &delay_controls_}, std::pair{insert_group_, &insert_controls_}}) {
    QRect area;
    for (QWidget* widget : *controls) area |= widget->geometry();
    group->setGeometry(area);
    group->stackUnder(controls->front());
  }
}

}  // namespace vrdk::shell
