#include "shell/pages/dpi_page.h"

#include <QFontMetrics>
#include <QLabel>
#include <QTimer>

#include "image/fields.h"
#include "keys/editors/fire_aim.h"
#include "settings/dpi_editor.h"
#include "settings/led_editor.h"
#include "settings/pointer_settings.h"
#include "shell/dialogs.h"
#include "shell/edit_field.h"
#include "shell/pages/page_captions.h"
#include "shell/pages/page_controls.h"
#include "shell/pictures.h"
#include "shell/skin_widgets.h"
#include "tables/own_texts.h"

namespace vrdk::shell {
namespace {

constexpr int kLevels = DpiState::kLevels;
constexpr int kSteps = DpiState::kValues;
constexpr int kDpiSliderMaximum = 1100;
constexpr int kDpiRuler = 240;  // 12 steps of 20 pixels
constexpr int kPointerSliderMaximum = 1000;
constexpr int kPointerRuler = 286;  // 11 steps of 26 pixels
constexpr int kFireCountDigits = 2;
constexpr int kFireIntervalDigits = 4;
constexpr int kFieldHeight = 24;
constexpr int kFireNameBase = 231;
constexpr int kRepRates = 4;

const QString& kOn = kCheckOn;
const QString& kOff = kCheckOff;

// The step (1..12) under a level's slider while it is dragged: the slider's
// values run 0..kDpiSliderMaximum, the steps standing on them evenly.
int DraggedStep(int value) { return value * (kSteps - 1) / kDpiSliderMaximum + 1; }

QColor LevelColour(const image::DataBuf& data, int level) {
  return ToQColor(image::LevelColour(data, level));
}

}  // namespace

DpiPage::DpiPage(ShellServices& services, QWidget* parent) : Page(2, services, parent) {
  BuildLevels();
  BuildPollingAndAim();
  BuildFire();
  BuildPointer();
}

QString DpiPage::Text(int key) const {
  return QString::fromStdString(services_.Language().Text(key));
}

QString DpiPage::DpiText(int step) const {
  return QString::fromStdString(services_.Language().DpiText(step));
}

bool DpiPage::Loading() const { return services_.GetSession().Conn().loading; }

// --- Building ------------------------------------------------------------------------------

void DpiPage::BuildLevels() {
  for (int n = 1; n <= kLevels; ++n) {
    Level level;
    level.frame = new PictureLabel(Numbered("Img_DPI%1Col", n), this);
    level.swatch = new ColourSwatch(Numbered("cs_DPI%1Col", n), this);
    level.colour = new SkinLabel(Numbered("lbl_DPI%1Col", n), this);
    level.check = new PictureLabel(Numbered("Img_DPI%1", n), this);
    level.check->SetRole(ControlRole::kRadioButton);  // the current level
    level.name = new SkinLabel(Numbered("lbl_DPI%1", n), this);
    level.name->SetRole(ControlRole::kCheckBox);  // the level is in use
    level.value = new QLabel(this);
    level.value->setObjectName(Numbered("lbl_DPI%1Value", n));
    for (int k = 1; k <= kSteps; ++k) {
      auto* step = new PictureLabel(QStringLiteral("Img_DPI%1_%2").arg(n).arg(k), this);
      connect(step, &PictureLabel::Pressed, this, [this, n, k] {
        settings::DpiEditor(services_.GetSession()).SetLevelValue(n, k - 1);
        ShowState();
      });
      level.steps.append(step);
    }
    level.slider = new StepSlider(Numbered("slider_DPI%1", n), kDpiSliderMaximum, kDpiRuler, this);
    level.slider->SetSteps(kSteps);
    connect(level.slider, &StepSlider::StepChosen, this, [this, n](int k) {
      settings::DpiEditor(services_.GetSession()).SetLevelValue(n, k - 1);
      ShowState();
    });
    connect(level.colour, &SkinLabel::Clicked, this, [this, n] { ChooseLevelColour(n); });
    connect(level.check, &PictureLabel::Pressed, this, [this, n] {
      if (n > services_.GetSession().Pages().dpi.count) return;
      settings::DpiEditor(services_.GetSession()).SetCurrentLevel(n - 1);
      ShowState();
    });
    connect(level.name, &SkinLabel::Clicked, this, [this, n] {
      settings::DpiEditor(services_.GetSession()).AddOrRemoveLevel(n);
      ShowState();
    });
    QLabel* value = level.value;
    connect(level.slider, &StepSlider::Moved, this,
            [this, value](int position) { value->setText(DpiText(DraggedStep(position))); });
    connect(level.slider, &StepSlider::Released, this, [this, n](int x) {
      settings::DpiEditor(services_.GetSession()).SetLevelValue(n, settings::SliderStep(x));
      ShowState();
    });
    levels_.append(level);
  }
}

void DpiPage::BuildPollingAndAim() {
  for (int n = 1; n <= kRepRates; ++n) {
    rate_pictures_.append(new PictureLabel(Numbered("Img_Rep%1", n), this));
    auto* label = new SkinLabel(Numbered("lbl_Rep%1", n), this);
    label->SetRole(ControlRole::kRadioButton);
    label->setText(QStringLiteral("%1Hz").arg(image::kPollingRates[n - 1]));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(label, &SkinLabel::Clicked, this, [this, n] {
      settings::DpiEditor(services_.GetSession())
          .SetPollingRate(image::kPollingRates[static_cast<std::size_t>(n - 1)]);
      ShowState();
    });
    rate_labels_.append(label);
  }
  rate_title_ = new QLabel(this);
  rate_title_->setObjectName(QStringLiteral("lbl_RepTitle"));
  aim_name_ = new QLabel(this);
  aim_name_->setObjectName(QStringLiteral("lbl_AIMDPI"));
  aim_value_ = new QLabel(this);
  aim_value_->setObjectName(QStringLiteral("lbl_AIMDPIValue"));
  aim_value_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  for (int k = 1; k <= kSteps; ++k) {
    auto* step = new PictureLabel(Numbered("Img_AIMDPI_%1", k), this);
    step->setCursor(Qt::PointingHandCursor);
    connect(step, &PictureLabel::Pressed, this, [this, k] {
      keys::AimKey(services_.GetSession()).SetAimStep(k);
      ShowState();
    });
    aim_steps_.append(step);
  }
  // The AIM row has no thumb: a slider over it takes only the keyboard.
  aim_slider_ = new StepSlider(QStringLiteral("slider_AIMDPI"), kDpiSliderMaximum, kDpiRuler, this);
  aim_slider_->setAttribute(Qt::WA_TransparentForMouseEvents);
  aim_slider_->SetSteps(kSteps);
  connect(aim_slider_, &StepSlider::StepChosen, this, [this](int k) {
    keys::AimKey(services_.GetSession()).SetAimStep(k);
    ShowState();
  });
}

void DpiPage::BuildFire() {
  for (int i = 0; i < 3; ++i) {
    auto* header = new QLabel(this);
    header->setObjectName(Numbered("lbl_FireHeader%1", i + 1));
    fire_headers_.append(header);
  }
  for (int n = 1; n <= 3; ++n) {
    Fire fire;
    fire.name = new QLabel(this);
    fire.name->setObjectName(Numbered("lbl_Fire%1", n));
    // Shots 2..15 and 1..4094 ms as typed; left, corrected as the core says.
    fire.count =
        new NumberField(Numbered("Edt_Repeat%1", n),
                        {2, keys::FireKeys::kMaxCount, 10, kFireCountDigits, false,
                         [](std::optional<long> typed) -> std::optional<long> {
                           return keys::MainPageFireCount(
                               typed ? std::optional(static_cast<int>(*typed)) : std::nullopt);
                         }},
                        this);
    fire.interval =
        new NumberField(Numbered("Edt_DelayTime%1", n),
                        {1, keys::FireKeys::kMaxInterval, 10, kFireIntervalDigits, false,
                         [](std::optional<long> typed) -> std::optional<long> {
                           return keys::FireInterval(typed ? std::optional(static_cast<int>(*typed))
                                                           : std::nullopt);
                         }},
                        this);
    fire.check = new PictureLabel(Numbered("Img_Fire%1Continue", n), this);
    fire.keep = new SkinLabel(Numbered("lbl_Fire%1Continue", n), this);
    fire.keep->SetRole(ControlRole::kCheckBox);
    fire.count->SetSender(
        [this, n](const QString& text, bool) { SendFirePreset(n, text.toInt(), std::nullopt); });
    fire.interval->SetSender(
        [this, n](const QString& text, bool) { SendFirePreset(n, std::nullopt, text.toInt()); });
    connect(fire.keep, &SkinLabel::Clicked, this, [this, n] {
      if (Loading()) return;
      const auto& preset = services_.GetSession().Keys().fire[static_cast<std::size_t>(n - 1)];
      keys::FireKeys(services_.GetSession()).SetKeepFiring(n, !preset.keep_firing);
      ShowState();
    });
    fire_.append(fire);
  }
}

void DpiPage::BuildPointer() {
  BuildPointerRow(0, QStringLiteral("Spd"), QStringLiteral("slider_Spd"));
  BuildPointerRow(1, QStringLiteral("DbSpd"), QStringLiteral("slider_DbSpd"));
  BuildPointerRow(2, QStringLiteral("ScrSpd"), QStringLiteral("slider_SrcSpd"));
  precision_picture_ = new PictureLabel(QStringLiteral("Img_IsControl"), this);
  precision_label_ = new SkinLabel(QStringLiteral("lbl_IsControl"), this);
  screen_picture_ = new PictureLabel(QStringLiteral("Img_IsScreen"), this);
  screen_label_ = new SkinLabel(QStringLiteral("lbl_IsScreen"), this);
  for (SkinLabel* label : {precision_label_, screen_label_}) {
    label->SetRole(ControlRole::kCheckBox);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  }
  connect(precision_label_, &SkinLabel::Clicked, this, [this] { PointerSwitch(false); });
  connect(screen_label_, &SkinLabel::Clicked, this, [this] { PointerSwitch(true); });
  // While the system does not take a pointer change, a note says so beside
  // the rows.
  pointer_note_ = new QLabel(this);
  pointer_note_->setObjectName(QStringLiteral("lbl_PointerNote"));
  pointer_note_->setWordWrap(true);
  pointer_note_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  pointer_note_->hide();
}

void DpiPage::BuildPointerRow(int row, const QString& stem, const QString& slider_name) {
  PointerRow pointer;
  for (int step = 1; step <= settings::kPointerSteps; ++step) {
    auto* picture = new PictureLabel(QStringLiteral("Img_%1%2").arg(stem).arg(step), this);
    connect(picture, &PictureLabel::Pressed, this, [this, row, step] { PointerStep(row, step); });
    pointer.steps.append(picture);
    auto* number = new QLabel(QString::number(step), this);
    number->setObjectName(QStringLiteral("lbl_%1%2").arg(stem).arg(step));
    number->setAttribute(Qt::WA_TransparentForMouseEvents);
    pointer.numbers.append(number);
  }
  pointer.slider = new StepSlider(slider_name, kPointerSliderMaximum, kPointerRuler, this);
  pointer.slider->SetSteps(settings::kPointerSteps);
  connect(pointer.slider, &StepSlider::StepChosen, this,
          [this, row](int step) { PointerStep(row, step); });
  connect(pointer.slider, &StepSlider::Released, this,
          [this, row](int x) { PointerSliderReleased(row, x); });
  pointer.title = new QLabel(this);
  pointer.title->setObjectName(QStringLiteral("lbl_%1Title").arg(stem));
  pointer_rows_.append(pointer);
}

// --- Captions and the language ------------------------------------------------------------------

void DpiPage::ApplyLanguage() {
  const int language = services_.GetSession().CurrentLanguage();
  const SkinLayout& skin = services_.Skin();
  const QString field = FieldStyle(skin, "D");
  const QFont font = services_.TableFont(skin.Style("D").points);
  for (int n = 0; n < 3; ++n) {
    Fire& fire = fire_[n];
    fire.name->setText(Text(kFireNameBase + n));
    fire.name->adjustSize();
    // Each box named by its row and column.
    const Caption columns[] = {Caption::kFireShots, Caption::kFireInterval, Caption::kFireHold};
    QWidget* boxes[] = {fire.count, fire.interval, fire.keep};
    for (int column = 0; column < 3; ++column) {
      boxes[column]->setAccessibleName(
          QStringLiteral("%1: %2").arg(fire.name->text(), PageCaption(columns[column], language)));
    }
    fire.count->resize(34, kFieldHeight);
    fire.interval->resize(48, kFieldHeight);
    for (NumberField* edit : {fire.count, fire.interval}) {
      edit->setStyleSheet(field);
      edit->setFont(font);
    }
  }
  const Caption headers[] = {Caption::kFireShots, Caption::kFireInterval, Caption::kFireHold};
  for (int i = 0; i < 3; ++i) fire_headers_[i]->setText(PageCaption(headers[i], language));
  const Caption titles[] = {Caption::kPointerSpeed, Caption::kDoubleClick, Caption::kWheel};
  for (int row = 0; row < pointer_rows_.size(); ++row) {
    pointer_rows_[row].title->setText(PageCaption(titles[row], language));
    for (QLabel* number : pointer_rows_[row].numbers) number->setAlignment(Qt::AlignCenter);
  }
  precision_label_->setText(PageCaption(Caption::kPrecision, language));
  screen_label_->setText(PageCaption(Caption::kWholeScreen, language));
  aim_name_->setText(Text(260));
  rate_title_->setText(Text(264));
  for (PointerRow& row : pointer_rows_) row.slider->setAccessibleName(row.title->text());
  aim_slider_->setAccessibleName(aim_name_->text());
  for (Level& level : levels_) {
    level.slider->SetThumb(services_.GetPictures().Get("Slider_Thumb"));
    level.name->setToolTip(PageCaption(Caption::kLevelNameHint, language));
    level.colour->setToolTip(PageCaption(Caption::kLevelColourHint, language));
  }
  for (PointerRow& row : pointer_rows_) {
    row.slider->SetThumb(services_.GetPictures().Get("Slider_Thumb"));
  }
  PlaceCaptions();
}

void DpiPage::PlaceCaptions() {
  const SkinLayout& skin = services_.Skin();
  const QString style = TextColourStyle(skin.Style("D").colour);
  const QString dim = TextColourStyle(skin.Colour("D_notSelected"));
  const QFont font = services_.TableFont(skin.Style("D").points);
  const QFont small = services_.TableFont(std::max(skin.Style("D").points - 1, 7));
  // The header line over the fire rows: shots, interval and hold, each
  // centred over its column.
  const QWidget* columns[] = {fire_[0].count, fire_[0].interval, fire_[0].check};
  for (int i = 0; i < 3; ++i) {
    QLabel* header = fire_headers_[i];
    header->setFont(small);
    header->setStyleSheet(dim);
    header->adjustSize();
    const QRect column = columns[i]->geometry();
    header->move(std::min(column.center().x() - header->width() / 2, width() - header->width()),
                 fire_[0].count->y() - header->height() - 3);
  }
  for (PointerRow& row : pointer_rows_) {
    row.title->setFont(font);
    row.title->setStyleSheet(style);
    row.title->adjustSize();
    const QRect first = row.steps.front()->geometry();
    row.title->move(first.x(), first.y() - row.title->height() - 2);
    for (QLabel* number : row.numbers) {
      number->setFont(small);
      number->resize(row.steps.front()->width() + 6, number->sizeHint().height());
      const int i = static_cast<int>(row.numbers.indexOf(number));
      number->move(row.steps[i]->geometry().center().x() - number->width() / 2, number->y());
    }
  }
  for (SkinLabel* label : {precision_label_, screen_label_}) label->adjustSize();
  {
    // Two short lines inside the pointer panel, under its switches; the
    // whole reason is its hint.
    const QRect switches = precision_picture_->geometry().united(screen_label_->geometry());
    const int right = pointer_rows_.front().steps.back()->geometry().right();
    pointer_note_->setFont(small);
    pointer_note_->setStyleSheet(TextColourStyle(skin.Colour("D_Selected")));
    pointer_note_->setGeometry(switches.x(), switches.bottom() + 2, right - switches.x(),
                               2 * QFontMetrics(small).lineSpacing() + 2);
  }
  for (SkinLabel* label : rate_labels_) label->adjustSize();
  aim_name_->adjustSize();
  // The polling rate's title stands in its row, in line with the AIM title.
  rate_title_->setFont(font);
  rate_title_->setStyleSheet(style);
  rate_title_->adjustSize();
  rate_title_->move(aim_name_->x(),
                    rate_labels_.front()->geometry().center().y() - rate_title_->height() / 2);
  for (Level& level : levels_) {
    // Eight columns share the DPI panel: each is 60 pixels apart.
    level.name->resize(56, 18);
    level.name->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    level.value->resize(56, 18);
  }
  aim_value_->resize(90, aim_name_->height());
  aim_value_->move(aim_steps_.back()->geometry().right() - aim_value_->width(), aim_value_->y());
}

// --- Showing ---------------------------------------------------------------------------------

void DpiPage::ShowState() {
  ShowLevels();
  ShowPollingAndAim();
  ShowFire();
  ShowPointer();
}

void DpiPage::ShowLevels() {
  Session& session = services_.GetSession();
  const DpiState& dpi = session.Pages().dpi;
  const SkinLayout& skin = services_.Skin();
  const StepStyle style = session.Brand().step_style;
  // Sync LEDs show no colours: neither the effects' nor the levels'.
  const bool colours = session.Pages().led_type != image::LedType::kSync;
  for (int n = 0; n < kLevels; ++n) {
    Level& level = levels_[n];
    const bool enabled = n < dpi.count;
    const bool current = enabled && n == dpi.current;
    const int index = dpi.values[static_cast<std::size_t>(n)];
    level.name->setText(QStringLiteral("%1 %2").arg(Text(220)).arg(n + 1));
    level.name->SetChecked(enabled);
    level.check->SetChecked(current);
    const std::string caption = level.name->text().toStdString();
    level.check->setAccessibleName(FromUtf8(session.Own(OwnText::kNameCurrentLevel, {caption})));
    level.colour->setAccessibleName(FromUtf8(session.Own(OwnText::kNameColourOf, {caption})));
    level.slider->setAccessibleName(level.name->text());
    level.name->setStyleSheet(
        TextColourStyle(enabled ? skin.Style("D").colour : skin.Colour("D_notSelected")));
    level.value->setText(DpiText(index + 1));
    level.value->setStyleSheet(TextColourStyle(
        current ? skin.Colour("D_Selected")
                : (enabled ? skin.Style("D").colour : skin.Colour("D_notSelected"))));
    level.check->SetPicture(services_.GetPictures().Get(current ? kRadioOn : kRadioOff));
    // A level the mouse does not use shows no lit segments: it would look
    // in use.
    const auto lit = settings::LitSegments(style, index);
    std::vector<bool> shown(lit.begin(), lit.end());
    if (!enabled) shown.assign(shown.size(), false);
    LightRow(services_.GetPictures(), level.steps, shown, QStringLiteral("Bar2_E"),
             QStringLiteral("Bar2_D"));
    level.slider->setValue(index * 100);
    for (QWidget* widget : std::initializer_list<QWidget*>{
             level.check, level.value, level.slider, level.colour, level.swatch, level.frame}) {
      widget->setEnabled(enabled);
    }
    for (PictureLabel* step : level.steps) step->setEnabled(enabled);
    level.swatch->SetColour(LevelColour(session.Data(), n));
    for (QWidget* widget :
         std::initializer_list<QWidget*>{level.frame, level.swatch, level.colour}) {
      widget->setVisible(colours);
    }
  }
}

void DpiPage::ShowPollingAndAim() {
  Session& session = services_.GetSession();
  const int rate = image::PollingRateIndex(session.Data());
  for (int n = 0; n < kRepRates; ++n) {
    rate_pictures_[n]->SetPicture(services_.GetPictures().Get(n == rate ? kRadioOn : kRadioOff));
    rate_labels_[n]->SetChecked(n == rate);
  }
  const int step = std::clamp(session.Keys().aim_step, 1, kSteps);
  const auto lit = settings::LitSegments(session.Brand().step_style, step - 1);
  LightRow(services_.GetPictures(), aim_steps_, std::vector<bool>(lit.begin(), lit.end()),
           QStringLiteral("Bar2_E"), QStringLiteral("Bar2_D"));
  aim_value_->setText(DpiText(step));
  aim_slider_->setGeometry(aim_steps_.front()->geometry().united(aim_steps_.back()->geometry()));
  aim_slider_->setValue((step - 1) * kDpiSliderMaximum / (kSteps - 1));
  aim_value_->setStyleSheet(TextColourStyle(services_.Skin().Colour("D_Selected")));
}

void DpiPage::ShowFire() {
  const auto& presets = services_.GetSession().Keys().fire;
  for (int n = 0; n < 3; ++n) {
    const FirePreset& preset = presets[static_cast<std::size_t>(n)];
    Fire& fire = fire_[n];
    // A box being typed in keeps what the user typed, until a fill.
    ShowField(fire.count, preset.count);
    ShowField(fire.interval, preset.interval);
    fire.check->SetPicture(services_.GetPictures().Get(preset.keep_firing ? kOn : kOff));
    fire.keep->SetChecked(preset.keep_firing);
  }
}

void DpiPage::ShowPointer() {
  Session& session = services_.GetSession();
  const PointerState& pointer = session.Pages().pointer;
  const bool available = services_.PointerSettingsPlatform() != nullptr;
  const int steps[] = {pointer.speed_step, pointer.double_click_step, pointer.wheel_step};
  for (int row = 0; row < pointer_rows_.size(); ++row) {
    PointerRow& shown = pointer_rows_[row];
    // The pointer-speed row always shows the lever style.
    const StepStyle style = row == 0 ? StepStyle::kLever : session.Brand().step_style;
    LightRow(services_.GetPictures(), shown.steps,
             settings::LitSteps(style, settings::kPointerSteps, steps[row]),
             QStringLiteral("Bar1_E"), QStringLiteral("Bar1_D"));
    shown.slider->setValue((steps[row] - 1) * 100);
    const bool enabled = available && !(row == 2 && pointer.whole_screen);
    for (PictureLabel* picture : shown.steps) picture->setEnabled(enabled);
    for (QLabel* number : shown.numbers) number->setEnabled(enabled);
    shown.slider->setEnabled(enabled);
  }
  precision_picture_->SetPicture(services_.GetPictures().Get(pointer.acceleration ? kOn : kOff));
  screen_picture_->SetPicture(services_.GetPictures().Get(pointer.whole_screen ? kOn : kOff));
  precision_label_->SetChecked(pointer.acceleration);
  screen_label_->SetChecked(pointer.whole_screen);
  precision_label_->setEnabled(available);
  screen_label_->setEnabled(available);
  const int language = session.CurrentLanguage();
  // A change not taken is told first; a setting that could not be read
  // (a desktop tool that hung) after it.
  const auto unread = available ? services_.PointerSettingsPlatform()->ReadProblem() : std::nullopt;
  QString note;
  QString why;
  if (pointer_problem_) {
    note = QString::fromStdString(OwnTextFor(OwnText::kPointerNote, language));
    why = QString::fromStdString(settings::PointerApplyText(*pointer_problem_, language));
  } else if (unread) {
    note = QString::fromStdString(OwnTextFor(OwnText::kPointerUnreadNote, language));
    why = QString::fromStdString(settings::PointerReadText(*unread, language));
  }
  pointer_note_->setVisible(!note.isEmpty());
  pointer_note_->setText(note);
  pointer_note_->setToolTip(why);
  if (unread && unread != told_unread_) {
    told_unread_ = unread;
    // Said once the page has been drawn, not from inside the drawing.
    QTimer::singleShot(0, this, [this, text = settings::PointerReadText(*unread, language)] {
      services_.ShowMessageText(QString::fromStdString(text));
    });
  }
}

// --- Handlers
// --------------------------------------------------------------------------------------

void DpiPage::ChooseLevelColour(int level) {
  Session& session = services_.GetSession();
  if (Loading() || level > session.Pages().dpi.count) return;
  const auto chosen = services_.Dialogs().Colour(services_.Window(),
                                                 LevelColour(session.Data(), level - 1), Text(522));
  if (!chosen) return;
  settings::DpiEditor(session).SetColour(level, static_cast<std::uint8_t>(chosen->red()),
                                         static_cast<std::uint8_t>(chosen->green()),
                                         static_cast<std::uint8_t>(chosen->blue()));
  ShowState();
}

// While typing, a count of 1 (or 0) may stand: it may become 12 or 15. An
// empty box shows 2 and one above 15 shows 15 at once; leaving the box
// raises 0 and 1 to 2.
void DpiPage::SendFirePreset(int n, std::optional<int> count, std::optional<int> interval) {
  Session& session = services_.GetSession();
  const FirePreset& preset = session.Keys().fire[static_cast<std::size_t>(n - 1)];
  const int shots = count.value_or(preset.count);
  const int time = interval.value_or(preset.interval);
  if (Loading() || (shots == preset.count && time == preset.interval)) return;
  keys::FireKeys(session).SetPreset(n, shots, time);
  ShowState();
}

void DpiPage::PointerStep(int row, int step) {
  settings::PointerPlatform* platform = services_.PointerSettingsPlatform();
  if (platform == nullptr) return;
  settings::PointerSettings pointer(services_.GetSession(), *platform);
  const bool applied = row == 0   ? pointer.SetSpeedStep(step)
                       : row == 1 ? pointer.SetDoubleClickStep(step)
                                  : pointer.SetWheelStep(step);
  if (applied) ReportPointerApply(pointer.LastApply());
  ShowState();
}

void DpiPage::PointerSliderReleased(int row, int ruler_position) {
  PointerStep(row, settings::PointerSliderStep(ruler_position));
}

void DpiPage::PointerSwitch(bool whole_screen) {
  settings::PointerPlatform* platform = services_.PointerSettingsPlatform();
  if (platform == nullptr) return;
  settings::PointerSettings pointer(services_.GetSession(), *platform);
  const PointerState& state = services_.GetSession().Pages().pointer;
  if (whole_screen) {
    pointer.SetWholeScreen(!state.whole_screen);
  } else {
    pointer.SetAcceleration(!state.acceleration);
  }
  ReportPointerApply(pointer.LastApply());
  ShowState();
}

void DpiPage::ReportPointerApply(const settings::PointerApplyResult& result) {
  if (result.taken) {
    pointer_problem_.reset();
    return;
  }
  // Said in a message the first time; the note beside the rows says it
  // again for every change the system does not take.
  const bool told = pointer_problem_.has_value();
  pointer_problem_ = result;
  if (!told) {
    services_.ShowMessageText(QString::fromStdString(
        settings::PointerApplyText(result, services_.GetSession().CurrentLanguage())));
  }
}

}  // namespace vrdk::shell
