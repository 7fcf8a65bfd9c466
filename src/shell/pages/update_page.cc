#include "shell/pages/update_page.h"

#include <QFontMetrics>
#include <QLabel>

#include "engineering/patch_code.h"
#include "shell/pages/outcome_message.h"
#include "shell/pictures.h"
#include "shell/skin_palette.h"
#include "shell/skin_widgets.h"

namespace vrdk::shell {
namespace {

const QString kLoadFilter = QStringLiteral("LoadFile(*.bin)");
constexpr std::string_view kWrongFileKey = "Str102";  // "Bin file type error"
constexpr int kPathWidth = 540;

}  // namespace

UpdatePage::UpdatePage(ShellServices& services, QWidget* parent) : Page(5, services, parent) {
  path_caption_ = new QLabel(this);
  path_caption_->setObjectName(QStringLiteral("lbl_BINPath"));
  field_ = new QLabel(this);
  field_->setObjectName(QStringLiteral("Frame_LoadBIN"));
  loaded_ = new QLabel(this);
  loaded_->setObjectName(QStringLiteral("lbl_LoadBIN"));
  load_ = AddButton(QStringLiteral("LoadBIN"));
  program_ = AddButton(QStringLiteral("Program"));
  connect(load_, &SkinLabel::Clicked, this, &UpdatePage::Btn_LoadBINClick);
  connect(program_, &SkinLabel::Clicked, this, &UpdatePage::Btn_ProgramClick);
}

SkinLabel* UpdatePage::AddButton(const QString& stem) {
  auto* picture = new PictureLabel(QStringLiteral("Img_") + stem, this);
  auto* label = new SkinLabel(QStringLiteral("Btn_") + stem, this);
  label->setAlignment(Qt::AlignCenter);
  WireHoverPictures(*label, *picture, services_.GetPictures(), QStringLiteral("KeyS"));
  return label;
}

void UpdatePage::ApplyLanguage() {
  const SkinPalette palette = SkinPalette::Of(services_.Skin());
  QColor shade = palette.field;
  shade.setAlpha(150);
  field_->setStyleSheet(
      QStringLiteral("background: %1; border: 1px solid %2;").arg(Css(shade), Css(palette.border)));
  const LanguageTable& language = services_.Language();
  path_caption_->setText(QString::fromStdString(language.Text("Str442")));
  path_caption_->adjustSize();
  load_->setText(QString::fromStdString(language.Text("Str440")));
  program_->setText(QString::fromStdString(language.Text("Str441")));
  ShowState();
}

void UpdatePage::ShowState() {
  const QString path = QString::fromStdString(services_.GetSession().Pages().loaded_patch_file);
  loaded_->setToolTip(path);
  loaded_->setText(loaded_->fontMetrics().elidedText(path, Qt::ElideMiddle, kPathWidth));
  loaded_->resize(kPathWidth, loaded_->sizeHint().height());
  field_->setGeometry(loaded_->x() - 8, loaded_->y() - 5, kPathWidth + 16, loaded_->height() + 10);
}

void UpdatePage::Btn_LoadBINClick() {
  const QString path = services_.AskOpenFile(kLoadFilter);
  if (path.isEmpty()) return;
  const Result<void> outcome =
      engineering::PatchProgrammer(services_.GetSession()).LoadBin(path.toStdString());
  ShowState();
  if (outcome.ok()) return;
  // The file is named with what is wrong with it; nothing was taken from it.
  services_.ShowMessageText(QString::fromStdString(services_.Language().Text(kWrongFileKey) +
                                                   "\n\n" + outcome.message()));
}

void UpdatePage::Btn_ProgramClick() {
  Session& session = services_.GetSession();
  // Without a mouse or a loaded file the button does nothing.
  if (!session.Link().IsOpen() || session.Pages().loaded_patch_file.empty()) return;
  const std::string file = session.Pages().loaded_patch_file;
  const Result<void> outcome = engineering::PatchProgrammer(session).Program();
  ShowPatchOutcome(services_, outcome, file);
}

}  // namespace vrdk::shell
