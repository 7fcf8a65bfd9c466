#include "shell/pages/light_page.h"

#include <QComboBox>
#include <QLabel>
#include <QPainter>

#include "image/fields.h"
#include "settings/led_editor.h"
#include "shell/dialogs.h"
#include "shell/edit_field.h"
#include "shell/pages/page_captions.h"
#include "shell/pages/page_controls.h"
#include "shell/pictures.h"
#include "shell/skin_palette.h"
#include "shell/skin_widgets.h"

namespace vrdk::shell {
namespace {

using settings::LedEditor;

constexpr int kEffectRows = LedState::kEffects;
constexpr int kColours = settings::kEffectColours;
constexpr int kStripSteps = settings::kMcuLedSteps;
constexpr int kStripSliderMaximum = 700;
constexpr int kStripRuler = 248;  // 8 steps of 31 pixels
constexpr int kFieldHeight = 24;
constexpr int kCaptionGap = 8;
constexpr int kUserColourKey = 523;
constexpr int kColourDialogTitleKey = 522;
constexpr int kProfileNameKey = 4;  // Str004 .. Str006: the three mode pages

const QString& kOn = kCheckOn;
const QString& kOff = kCheckOff;

QColor EffectColour(const image::DataBuf& data, int colour) {
  return ToQColor(image::EffectColour(data, colour));
}

QIcon ColourIcon(const QColor& colour, const QColor& border) {
  QPixmap icon(14, 14);
  icon.fill(Qt::transparent);
  QPainter painter(&icon);
  painter.setPen(border);
  painter.setBrush(colour);
  painter.drawRoundedRect(QRectF(0.5, 0.5, 13, 13), 2, 2);
  return QIcon(icon);
}

QPair<QLabel*, QWidget*> Captioned(QLabel* caption, QWidget* control) { return {caption, control}; }

void SelectQuietly(QComboBox* list, int item) {
  if (item >= 0 && item < list->count() && list->currentIndex() != item) {
    list->setCurrentIndex(item);
  }
}

}  // namespace

LightPage::LightPage(ShellServices& services, QWidget* parent) : Page(3, services, parent) {
  BuildEffects();
  BuildTimes();
  BuildColours();
  BuildStrip();
}

QString LightPage::Text(int key) const {
  return QString::fromStdString(services_.Language().Text(key));
}

QComboBox* LightPage::AddList(const QString& name) {
  auto* list = new QComboBox(this);
  list->setObjectName(name);
  list->setCursor(Qt::PointingHandCursor);
  return list;
}

QLabel* LightPage::AddCaption(const QString& name) {
  auto* caption = new QLabel(this);
  caption->setObjectName(name);
  caption->setAttribute(Qt::WA_TransparentForMouseEvents);
  return caption;
}

// --- Building ------------------------------------------------------------------------------

void LightPage::BuildEffects() {
  type_ = AddList(QStringLiteral("cb_LEDMode_3"));
  connect(type_, &QComboBox::activated, this, &LightPage::ChangeType);
  left_captions_.append(Captioned(AddCaption(QStringLiteral("lbl_Caption_LEDMode")), type_));
  for (int n = 1; n <= kEffectRows; ++n) {
    Effect effect;
    effect.enable_picture = new PictureLabel(Numbered("Img_Mode%1_3", n - 1), this);
    effect.enable = new SkinLabel(Numbered("cb_Mode%1_3", n - 1), this);
    effect.enable->SetRole(ControlRole::kCheckBox);
    effect.radio = new PictureLabel(Numbered("Img_LED%1", n), this);
    effect.name = new SkinLabel(Numbered("lbl_LED%1", n), this);
    effect.name->SetRole(ControlRole::kRadioButton);
    effect.name->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(effect.enable, &SkinLabel::Clicked, this, [this, n] {
      const bool enabled = services_.GetSession().Pages().led.effect_enabled[n - 1];
      LedEditor(services_.GetSession()).SetEffectEnabled(n - 1, !enabled);
      ShowState();
    });
    connect(effect.name, &SkinLabel::Clicked, this, [this, n] {
      LedEditor(services_.GetSession()).SetShownEffect(n - 1);
      ShowState();
    });
    effects_.append(effect);
  }
}

void LightPage::BuildTimes() {
  for (int k = 1; k <= settings::kStepTimeSegments; ++k) {
    auto* segment = new PictureLabel(Numbered("Img_Fall%1", k), this);
    segment->setCursor(Qt::PointingHandCursor);
    connect(segment, &PictureLabel::Pressed, this, [this, k] {
      LedEditor(services_.GetSession()).SetStepTime(5 * k);
      ShowState();
    });
    fall_.append(segment);
  }
  step_time_ = new NumberField(QStringLiteral("edt_StepTime_3"),
                               {0, settings::kStepTimeMaximum, 10, 3, false, {}}, this);
  step_time_->SetSender([this](const QString& text, bool) {
    LedEditor(services_.GetSession()).SetStepTime(text.toInt());
    ShowState();
  });
  left_captions_.append(
      Captioned(AddCaption(QStringLiteral("lbl_Caption_StepTime")), fall_.front()));
  const char* names[] = {"edt_Lower_3", "edt_Upper_3", "edt_LowerTime_3", "edt_UpperTime_3"};
  for (int field = 0; field < 4; ++field) {
    auto* edit = new NumberField(
        QLatin1String(names[field]),
        {0, settings::kBreathLimits[static_cast<std::size_t>(field)], 10, 5, false, {}}, this);
    edit->SetSender([this, field](const QString& text, bool) {
      LedEditor(services_.GetSession()).SetBreathValue(field, text.toInt());
    });
    breath_.append(edit);
    left_captions_.append(Captioned(AddCaption(Numbered("lbl_Caption_Breath%1", field + 1)), edit));
  }
  flash_picture_ = new PictureLabel(QStringLiteral("Img_BtnEFT_3"), this);
  flash_ = new SkinLabel(QStringLiteral("cb_BtnEFT_3"), this);
  flash_->SetRole(ControlRole::kCheckBox);
  flash_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  connect(flash_, &SkinLabel::Clicked, this, [this] {
    LedEditor(services_.GetSession())
        .SetButtonFlash(services_.GetSession().Pages().button_effect_item == 1 ? 0 : 1);
    ShowState();
  });
}

void LightPage::BuildColours() {
  for (int n = 1; n <= kColours; ++n) {
    colour_frames_.append(new PictureLabel(Numbered("Img_Col%1", n), this));
    swatches_.append(new ColourSwatch(Numbered("cs_Col%1", n), this));
    auto* label = new SkinLabel(Numbered("lbl_Col%1", n), this);
    connect(label, &SkinLabel::Clicked, this, [this, n] { ChooseColour(n); });
    colour_labels_.append(label);
  }
  top_captions_.append(
      Captioned(AddCaption(QStringLiteral("lbl_Caption_Colours")), colour_frames_.front()));
  for (int n = 1; n <= 3; ++n) {
    auto* name = new QLabel(this);
    name->setObjectName(Numbered("lbl_Profile%1Color_3", n));
    profile_names_.append(name);
    QComboBox* list = AddList(Numbered("cb_Profile%1Color_3", n));
    connect(list, &QComboBox::activated, this, [this, n](int item) {
      LedEditor(services_.GetSession()).SetProfileColour(n, item);
      ShowState();
    });
    profile_colours_.append(list);
  }
  top_captions_.append(
      Captioned(AddCaption(QStringLiteral("lbl_Caption_ProfileColours")), profile_names_.front()));
}

void LightPage::BuildStrip() {
  for (int k = 1; k <= kStripSteps; ++k) {
    auto* step = new PictureLabel(Numbered("Img_MCULEDStep_%1", k), this);
    connect(step, &PictureLabel::Pressed, this, [this, k] {
      LedEditor(services_.GetSession()).SetMcuLedStep(k - 1);
      ShowState();
    });
    strip_steps_.append(step);
    auto* number = new QLabel(QString::number(k), this);
    number->setObjectName(Numbered("lbl_MCULEDStep_%1", k));
    number->setAttribute(Qt::WA_TransparentForMouseEvents);
    strip_numbers_.append(number);
  }
  // The slider's value runs against the steps (700 is step 0): it is read
  // from the row's far end, so a press on a step chooses that step.
  strip_slider_ =
      new StepSlider(QStringLiteral("slider_MCULEDStep"), kStripSliderMaximum, kStripRuler, this);
  strip_slider_->SetMirrored(true);
  strip_slider_->SetSteps(kStripSteps);
  connect(strip_slider_, &StepSlider::StepChosen, this, [this](int k) {
    LedEditor(services_.GetSession()).SetMcuLedStep(k - 1);
    ShowState();
  });
  connect(strip_slider_, &StepSlider::Released, this, [this](int x) {
    LedEditor(services_.GetSession())
        .SetMcuLedStep(settings::kMcuLedSteps - 1 - settings::McuLedSliderStep(x));
    ShowState();
  });
  scan_ = AddList(QStringLiteral("cb_MCULEDCtrl_3"));
  strip_count_ = AddList(QStringLiteral("cb_MCULEDNum_3"));
  nt_count_ = AddList(QStringLiteral("cb_LEDNum_3"));
  for (int count = 4; count <= 13; ++count) strip_count_->addItem(QString::number(count));
  for (int count = 1; count <= 8; ++count) nt_count_->addItem(QString::number(count));
  connect(scan_, &QComboBox::activated, this, [this](int item) {
    const LedState& led = services_.GetSession().Pages().led;
    StripChanged(led.mcu_step_item, item, led.mcu_count_item);
  });
  connect(strip_count_, &QComboBox::activated, this, [this](int item) {
    const LedState& led = services_.GetSession().Pages().led;
    StripChanged(led.mcu_step_item, led.mcu_ctrl_item, item);
  });
  connect(nt_count_, &QComboBox::activated, this, [this](int item) {
    Session& session = services_.GetSession();
    if (!LedEditor(session).SetNtLedCountIndex(item) && item < LedEditor::kFirstNtCountItem) {
      services_.ShowMessageText(QString::fromStdString(session.Own(OwnText::kNtOneLed)));
    }
    ShowState();
  });
  top_captions_.append(
      Captioned(AddCaption(QStringLiteral("lbl_Caption_Strip")), strip_steps_.front()));
  top_captions_.append(Captioned(AddCaption(QStringLiteral("lbl_Caption_Scan")), scan_));
  top_captions_.append(
      Captioned(AddCaption(QStringLiteral("lbl_Caption_StripCount")), strip_count_));
  top_captions_.append(Captioned(AddCaption(QStringLiteral("lbl_Caption_LEDNum")), nt_count_));
  for (const char* name : {"lbl_SyncColourNote_3", "lbl_SyncProfileNote_3", "lbl_StripUnused_3"}) {
    QLabel* note = AddCaption(QLatin1String(name));
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    panel_notes_.append(note);
  }
  strip_note_ = AddCaption(QStringLiteral("lbl_StripNote_3"));
  strip_note_->setWordWrap(true);
  strip_note_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

// --- The language -----------------------------------------------------------------------------

void LightPage::ApplyLanguage() {
  const int language = services_.GetSession().CurrentLanguage();
  const SkinLayout& skin = services_.Skin();
  const QString field = FieldStyle(skin, "D");
  const QFont font = services_.TableFont(skin.Style("E").points);
  FillLists();
  for (QComboBox* list : {type_, scan_, strip_count_, nt_count_}) {
    list->setStyleSheet(ListStyle(skin, "D"));
    list->setFont(font);
  }
  for (QComboBox* list : profile_colours_) {
    list->setStyleSheet(ListStyle(skin, "D"));
    list->setFont(font);
    list->resize(132, kFieldHeight);
  }
  type_->resize(150, kFieldHeight);
  scan_->resize(140, kFieldHeight);
  strip_count_->resize(70, kFieldHeight);
  nt_count_->resize(70, kFieldHeight);
  step_time_->resize(52, kFieldHeight);
  for (NumberField* edit : breath_) edit->resize(70, kFieldHeight);
  for (NumberField* edit : breath_ + QList<NumberField*>{step_time_}) {
    edit->setStyleSheet(field);
    edit->setFont(font);
  }
  const Caption left[] = {Caption::kLedType, Caption::kStepTime,  Caption::kLower,
                          Caption::kUpper,   Caption::kLowerTime, Caption::kUpperTime};
  for (int i = 0; i < left_captions_.size(); ++i) {
    left_captions_[i].first->setText(PageCaption(left[i], language));
    left_captions_[i].second->setAccessibleName(left_captions_[i].first->text());
  }
  step_time_->setAccessibleName(PageCaption(Caption::kStepTime, language));
  const Caption top[] = {Caption::kColours, Caption::kProfileColours, Caption::kStrip,
                         Caption::kScan,    Caption::kLedCount,       Caption::kLedCount};
  for (int i = 0; i < top_captions_.size(); ++i) {
    top_captions_[i].first->setText(PageCaption(top[i], language));
  }
  strip_slider_->setAccessibleName(PageCaption(Caption::kStrip, language));
  for (int n = 0; n < colour_labels_.size(); ++n) {
    colour_labels_[n]->setAccessibleName(QString::fromStdString(
        OwnTextFor(OwnText::kNameEffectColour, language, {std::to_string(n + 1)})));
  }
  for (int n = 0; n < 3; ++n) profile_names_[n]->setText(Text(kProfileNameKey + n));
  for (Effect& effect : effects_) {
    effect.enable->setToolTip(PageCaption(Caption::kEffectEnableHint, language));
  }
  flash_->setText(Text(263));
  strip_slider_->SetThumb(services_.GetPictures().Get(QStringLiteral("Slider_Thumb")));
  PlaceCaptions();
}

void LightPage::FillLists() {
  const int language = services_.GetSession().CurrentLanguage();
  type_->clear();
  for (Caption type :
       {Caption::kTypeRgb, Caption::kTypeSync, Caption::kTypeNt, Caption::kTypeMcuLed}) {
    type_->addItem(PageCaption(type, language));
  }
  scan_->clear();
  scan_->addItems({PageCaption(Caption::kScanMultiPoint, language),
                   PageCaption(Caption::kScanBrightened, language)});
}

void LightPage::PlaceCaptions() {
  const SkinLayout& skin = services_.Skin();
  const QString style = TextColourStyle(skin.Style("E").colour);
  const QString dim = TextColourStyle(skin.Colour("D_notSelected"));
  const QFont font = services_.TableFont(skin.Style("E").points);
  for (auto& [caption, control] : left_captions_) {
    caption->setFont(font);
    caption->setStyleSheet(style);
    caption->adjustSize();
    // Right-aligned against its control, within the control's box.
    const int width = std::max(caption->width(), 96);
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    caption->setGeometry(control->x() - kCaptionGap - width,
                         control->geometry().center().y() - caption->height() / 2, width,
                         caption->height());
  }
  for (auto& [caption, control] : top_captions_) {
    caption->setFont(font);
    caption->setStyleSheet(dim);
    caption->adjustSize();
    caption->move(control->x(), control->y() - caption->height() - 3);
  }
  for (int n = 0; n < 3; ++n) {
    QLabel* name = profile_names_[n];
    name->adjustSize();
    name->move(name->x(), profile_colours_[n]->geometry().center().y() - name->height() / 2);
  }
  for (Effect& effect : effects_) effect.name->resize(170, effect.radio->height());
  flash_->adjustSize();
  for (int k = 0; k < kStripSteps; ++k) {
    QLabel* number = strip_numbers_[k];
    number->resize(strip_steps_.front()->width(), number->sizeHint().height());
    number->setAlignment(Qt::AlignCenter);
  }
  // The note takes the row: from the first step to the end of the LED count.
  strip_note_->setFont(font);
  strip_note_->setStyleSheet(style);
  strip_note_->setText(
      QString::fromStdString(services_.GetSession().Own(OwnText::kStripNotOnFlash)));
  const QRect first = strip_steps_.front()->geometry();
  const int right = std::max(strip_count_->geometry().right(), scan_->geometry().right());
  strip_note_->setGeometry(first.x(), first.y(), right - first.x(),
                           strip_note_->heightForWidth(right - first.x()));
  // The notes take the colour row, the profile rows and the strip's row.
  const QRect places[] = {colour_frames_.front()->geometry() | colour_frames_.back()->geometry(),
                          profile_names_.front()->geometry() | profile_colours_.back()->geometry(),
                          QRect(first.topLeft(), QPoint(right, first.bottom()))};
  constexpr OwnText kNotes[] = {OwnText::kSyncNoColours, OwnText::kSyncNoProfileColours,
                                OwnText::kStripPanelUnused};
  for (int n = 0; n < panel_notes_.size(); ++n) {
    QLabel* note = panel_notes_[n];
    note->setFont(font);
    note->setStyleSheet(style);
    note->setText(QString::fromStdString(services_.GetSession().Own(kNotes[n])));
    const QRect& place = places[n];
    note->setGeometry(place.x(), place.y(), place.width(), note->heightForWidth(place.width()));
  }
}

// --- Showing ---------------------------------------------------------------------------------

void LightPage::ShowState() {
  ShowEffects();
  ShowTimes();
  ShowColours();
  ShowStrip();
}

void LightPage::ShowEffects() {
  Session& session = services_.GetSession();
  const PageState& pages = session.Pages();
  const LedState& led = pages.led;
  if (const auto item = settings::LedTypeItem(pages.led_type)) SelectQuietly(type_, *item);
  const auto kinds = settings::Effects(pages.led_type);
  const SkinLayout& skin = services_.Skin();
  for (int n = 0; n < kEffectRows; ++n) {
    Effect& effect = effects_[n];
    const bool exists = static_cast<std::size_t>(n) < kinds.size();
    const bool enabled = exists && led.effect_enabled[static_cast<std::size_t>(n)];
    for (QWidget* widget : std::initializer_list<QWidget*>{effect.enable_picture, effect.enable,
                                                           effect.radio, effect.name}) {
      widget->setVisible(exists);
    }
    if (!exists) continue;
    effect.enable_picture->SetPicture(services_.GetPictures().Get(enabled ? kOn : kOff));
    const std::size_t at = static_cast<std::size_t>(n);
    const std::string name =
        at < led.effect_list.size() ? led.effect_list[at] : std::string(settings::kDisabledEffect);
    effect.name->setText(EffectCaption(name, session.CurrentLanguage()));
    effect.enable->setAccessibleName(effect.name->text());
    effect.enable->SetChecked(enabled);
    // A disabled effect is never marked as the one in use ("------" in red
    // when every effect is off).
    const bool chosen = enabled && n == led.effect_item;
    effect.radio->SetPicture(services_.GetPictures().Get(chosen ? kRadioOn : kRadioOff));
    effect.radio->setEnabled(enabled);
    effect.name->SetChecked(chosen);
    effect.name->setEnabled(enabled);
    effect.name->setStyleSheet(TextColourStyle(
        chosen ? skin.Colour("D_Selected")
               : (enabled ? skin.Style("E").colour : skin.Colour("D_notSelected"))));
  }
}

void LightPage::ShowTimes() {
  Session& session = services_.GetSession();
  const PageState& pages = session.Pages();
  const LedState& led = pages.led;
  LightRow(services_.GetPictures(), fall_,
           settings::LitSteps(session.Brand().step_style, settings::kStepTimeSegments,
                              settings::StepTimeBand(led.step_time)),
           QStringLiteral("Bar1_E"), QStringLiteral("Bar1_D"));
  const bool timed = settings::StepTimeApplies(pages.led_type, led.effect_item);
  for (PictureLabel* segment : fall_) segment->setEnabled(timed);
  ShowField(step_time_, led.step_time);
  for (int field = 0; field < 4; ++field) {
    ShowField(breath_[field], led.breath[static_cast<std::size_t>(field)]);
  }
  const bool flash = session.Brand().button_effect;
  flash_picture_->setVisible(flash);
  flash_->setVisible(flash);
  flash_picture_->SetPicture(
      services_.GetPictures().Get(pages.button_effect_item == 1 ? kOn : kOff));
  flash_->SetChecked(pages.button_effect_item == 1);
}

void LightPage::ShowColours() {
  Session& session = services_.GetSession();
  // Sync LEDs take no colours.
  const bool shown = session.Pages().led_type != image::LedType::kSync;
  for (int n = 0; n < kColours; ++n) {
    const QColor colour = EffectColour(session.Data(), n);
    swatches_[n]->SetColour(colour);
    for (QWidget* widget :
         std::initializer_list<QWidget*>{colour_frames_[n], swatches_[n], colour_labels_[n]}) {
      widget->setVisible(shown);
    }
  }
  top_captions_[0].first->setVisible(shown);
  top_captions_[1].first->setVisible(shown);
  panel_notes_[0]->setVisible(!shown);
  panel_notes_[1]->setVisible(!shown);
  QList<QRgb> colours;
  for (int colour = 0; colour < kColours; ++colour) {
    colours.append(EffectColour(session.Data(), colour).rgb());
  }
  const QString user_colour = Text(kUserColourKey);
  const QColor border = SkinPalette::Of(services_.Skin()).border;
  for (int n = 0; n < 3; ++n) {
    QComboBox* list = profile_colours_[n];
    // Items 0 .. 9 are the ten colours, item 10 the user's own colour; the
    // list is built again only when they changed (an open list stays open).
    if (colours != listed_colours_ || list->itemText(kColours) != user_colour) {
      list->clear();
      for (int colour = 0; colour < kColours; ++colour) {
        list->addItem(ColourIcon(QColor(colours[colour]), border), QString::number(colour + 1));
      }
      list->addItem(user_colour);
    }
    SelectQuietly(list, session.Keys().profile_colour_items[static_cast<std::size_t>(n)]);
    list->setVisible(shown);
    profile_names_[n]->setVisible(shown);
  }
  listed_colours_ = colours;
}

void LightPage::ShowStrip() {
  Session& session = services_.GetSession();
  const PageState& pages = session.Pages();
  const LedState& led = pages.led;
  // A "Flash" mouse keeps no strip settings: the row gives way to a note.
  const bool stored = LedEditor(session).StripStored();
  const bool strip = pages.led_type == image::LedType::kMCULED && stored;
  const bool nt = pages.led_type == image::LedType::kNT;
  strip_note_->setVisible(pages.led_type == image::LedType::kMCULED && !stored);
  LightRow(services_.GetPictures(), strip_steps_,
           settings::LitSteps(session.Brand().step_style, kStripSteps, led.mcu_step_item + 1),
           QStringLiteral("Bar1_E"), QStringLiteral("Bar1_D"));
  strip_slider_->setValue(kStripSliderMaximum - 100 * led.mcu_step_item);
  SelectQuietly(scan_, led.mcu_ctrl_item);
  SelectQuietly(strip_count_, led.mcu_count_item);
  SelectQuietly(nt_count_, led.led_count_item);
  for (QWidget* widget : std::initializer_list<QWidget*>{strip_slider_, scan_, strip_count_}) {
    widget->setVisible(strip);
  }
  for (PictureLabel* step : strip_steps_) step->setVisible(strip);
  for (QLabel* number : strip_numbers_) number->setVisible(strip);
  for (int i = 2; i <= 4; ++i) top_captions_[i].first->setVisible(strip);
  top_captions_[2].first->setVisible(strip || strip_note_->isVisibleTo(this));
  nt_count_->setVisible(nt);
  top_captions_[5].first->setVisible(nt);
  panel_notes_[2]->setVisible(!strip && !nt && !strip_note_->isVisibleTo(this));
}

// --- Handlers
// --------------------------------------------------------------------------------------

void LightPage::ChangeType(int item) {
  Session& session = services_.GetSession();
  const auto current = settings::LedTypeItem(session.Pages().led_type);
  if (current && *current == item) return;
  // Nothing to ask while the change could not be made (Loading, a transfer).
  if (session.CheckAccess() != Refusal::kNone) {
    ShowState();
    return;
  }
  const QString question = PageCaption(Caption::kTypeChangeQuestion, session.CurrentLanguage());
  if (!services_.Dialogs().Confirm(services_.Window(), question, services_.TableFont(11))) {
    ShowState();
    return;
  }
  // The mouse takes the type's factory image and restarts; the window waits,
  // covered, until it is read again.
  LedEditor(session).SetLedType(settings::LedTypeOfItem(item));
  ShowState();
}

void LightPage::ChooseColour(int colour) {
  Session& session = services_.GetSession();
  if (session.Conn().loading) return;
  const auto chosen = services_.Dialogs().Colour(
      services_.Window(), EffectColour(session.Data(), colour - 1), Text(kColourDialogTitleKey));
  if (!chosen) return;
  LedEditor(session).SetColour(colour, static_cast<std::uint8_t>(chosen->red()),
                               static_cast<std::uint8_t>(chosen->green()),
                               static_cast<std::uint8_t>(chosen->blue()));
  ShowState();
}

void LightPage::StripChanged(int step, int control, int count) {
  LedEditor(services_.GetSession()).SetMcuLed(step, control, count);
  ShowState();
}

}  // namespace vrdk::shell
