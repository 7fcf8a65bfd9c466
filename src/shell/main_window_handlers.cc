// TForm1's handlers: navigation, languages, the confirm buttons, profile
// files, the web link, minimise and close, dragging, the timers.

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QWindow>

#include "session/image_writes.h"
#include "shell/layout_report.h"
#include "shell/main_window.h"
#include "shell/pages/engineer_page.h"
#include "shell/skin_palette.h"
#include "shell/skin_widgets.h"

namespace vrdk::shell {
namespace {

const QString kSaveFilter = QStringLiteral("SaveFile(*.bin)");
const QString kLoadFilter = QStringLiteral("LoadFile(*.bin)");
constexpr std::string_view kNoMouseMessage = "Str022";

}  // namespace

bool TForm1::ProfileFilesAllowed() {
  // No dialog opens without a mouse to save from or load into.
  const Refusal refusal = session_->CheckAccess();
  if (refusal == Refusal::kNoMouse || refusal == Refusal::kNotAccepted) {
    ShowMessage(kNoMouseMessage);
    return false;
  }
  return refusal == Refusal::kNone;
}

void TForm1::Navigate(settings::NavPage page) {
  if (settings::Navigation(*session_).Go(page) == settings::Navigation::Result::kShown) {
    SyncShownPage();
  }
}

void TForm1::OpenEngineerPageIfWanted() {
  if (!engineer_wanted_ || !session_->Link().IsOpen() || session_->Pages().no_device_shown) return;
  engineer_wanted_ = false;
  // After the read that called here has ended: the code is asked in a dialog.
  QMetaObject::invokeMethod(
      this,
      [this] {
        Btn_Engineer_0Click();
        if (auto* page = qobject_cast<EngineerPage*>(PageOfGroup(7))) page->AskAccessCode();
      },
      Qt::QueuedConnection);
}

void TForm1::SwitchLanguage(int language) {
  settings::SwitchLanguage(*session_, language);
  ApplySkin();
  dialogs_->SetLanguage(session_->CurrentLanguage(), TableFont(11),
                        DialogSheet(SkinPalette::Of(skin_)));
  // The first label of its own button becomes the rolling text, not rolling.
  if (const auto copies = buttons_.value(QStringLiteral("Lang%1").arg(language));
      !copies.isEmpty()) {
    rolling_.Start(copies.front().label->objectName().toStdString(),
                   copies.front().label->text().toStdString());
    rolling_.Stop();
  }
  for (Page* page : pages_) page->ShowState();
  RefreshAPPage();
}

// Outcomes the core did not show already become a message.
static void ShowUnshown(TForm1& window, const Result<void>& outcome) {
  if (outcome.ok() || outcome.error().shown || outcome.message().empty()) return;
  if (outcome.Is(ErrorKind::kRefused) || outcome.Is(ErrorKind::kNoMouse)) return;
  window.ShowText(outcome.message());
}

void TForm1::Confirm(int n) {
  SetButtonState(QStringLiteral("Confirm%1").arg(n), 3);
  // The whole configuration, macros included, is replaced: asked first, as
  // long as there is a mouse that may take it (else the refusal is told).
  if (session_->CheckAccess() == Refusal::kNone &&
      !dialogs_->Confirm(this, FromUtf8(session_->Own(OwnText::kResetQuestion)), TableFont(11))) {
    return;
  }
  ShowUnshown(*this, ImageWrites(*session_).ConfirmClick(n));
}

void TForm1::Btn_Save_0Click() {
  SetButtonState(QStringLiteral("Save"), 3);
  if (!ProfileFilesAllowed()) return;
  const QString chosen = dialogs_->SaveFileName(this, kSaveFilter);
  if (chosen.isEmpty()) return;
  // ".bin" is always appended; the question is about the file really written.
  const QString path = chosen + QStringLiteral(".bin");
  if (QFileInfo::exists(path) && !dialogs_->ConfirmReplace(this, path)) return;
  const Result<void> outcome = ImageWrites(*session_).SaveProfileFile(path.toStdString());
  if (outcome.ok()) {
    ShowMessageText(FromUtf8(session_->Own(OwnText::kProfileSaved, {path.toStdString()})));
    return;
  }
  ShowUnshown(*this, outcome);
}

void TForm1::Btn_Load_0Click() {
  SetButtonState(QStringLiteral("Load"), 3);
  if (!ProfileFilesAllowed()) return;
  const QString path = dialogs_->OpenFileName(this, kLoadFilter);
  if (path.isEmpty()) return;
  Result<void> outcome = ImageWrites(*session_).LoadProfileFile(path.toStdString());
  // A sound file that would leave a mouse this program no longer finds or
  // accepts is loaded only when the user says so, told why.
  if (outcome.Is(ErrorKind::kNeedsForce)) {
    const QString question = FromUtf8(outcome.message()) + QStringLiteral("\n\n") +
                             FromUtf8(session_->Own(OwnText::kFileLoadAnyway));
    if (!dialogs_->Confirm(this, question, TableFont(9))) return;
    outcome = ImageWrites(*session_).LoadProfileFile(path.toStdString(), true);
  }
  ShowUnshown(*this, outcome);
}

void TForm1::Btn_Web_0Click() {
  SetButtonState(QStringLiteral("Web"), 3);
  const BrandOptions& brand = session_->Brand();
  if (brand.web_enabled && !brand.web_address.empty()) {
    dialogs_->OpenWebAddress(QString::fromStdString(brand.web_address));
  }
}

void TForm1::Btn_Minimize_0Click() { showMinimized(); }

void TForm1::Btn_Close_0Click() { close(); }

void TForm1::Img_BaseMouseDown() {
  HideAllMenu();
  // The desktop moves the borderless window (on X11 and on Wayland alike).
  if (QWindow* window = windowHandle()) window->startSystemMove();
}

void TForm1::DevTimerTimer() {
  if (session_->Conn().dev_timer_enabled && !session_->Busy()) session_->DevTimerTimer();
}

void TForm1::LabelRunTimer() {
  if (!session_->Brand().rolling_captions || !rolling_.Running() || rolling_label_.isNull()) {
    return;
  }
  rolling_label_->setText(QString::fromStdString(rolling_.Tick()));
}

bool TForm1::WriteLayoutReport(QString* error) {
  if (options_.layout_report.isEmpty() || !exposed_) return true;
  LayoutReportState state{ShownPageName(), session_->CurrentLanguage(), session_->Busy(), {}, {}};
  if (const QWidget* focused = QApplication::focusWidget(); focused != nullptr) {
    state.focus = focused->objectName();
  }
  for (const QLabel* cover : covers_) {
    const auto* veil = cover->findChild<QLabel*>();
    if (cover->isVisibleTo(this) && veil != nullptr) state.veil = veil->text();
  }
  QString failure;
  const bool written = shell::WriteLayoutReport(*this, state, options_.layout_report, &failure);
  if (!written) {
    if (error != nullptr) *error = failure;
    qWarning("vrdk-mouse: %s", qPrintable(failure));
  }
  return written;
}

}  // namespace vrdk::shell
