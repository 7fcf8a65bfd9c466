// TForm1: the program's one window. A borderless window shaped by its
// background picture (clMaroon is transparent), whose pages are drawn from
// pictures: every visible button is a transparent label (Btn_...) lying on a
// picture (Img_...) that changes on hover and selection.
//
// The window holds no logic of its own: it shows the Session's state and
// hands every user action to the core (navigation, languages, confirm, save
// and load), the way vrdkctl does. While the Session is busy with a transfer
// (which lets the window breathe between chunks) the window holds the user's
// keys and clicks and gives them to their widgets, in order, once the
// transfer is over: nothing is lost, and nothing starts a second transfer.
#pragma once

#include <QEvent>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>

#include "session/session.h"
#include "settings/navigation.h"
#include "shell/dialogs.h"
#include "shell/page.h"
#include "shell/pictures.h"
#include "tables/rolling_caption.h"

class QLabel;

namespace vrdk::shell {

class FormLoadingUI;
class PictureLabel;
class SkinLabel;

class TForm1 : public QWidget, public SessionEvents, public ShellServices {
  Q_OBJECT
 public:
  static constexpr int kEngineerWidth = 1256;
  static constexpr int kEngineerHeight = 680;

  struct Options {
    QString layout_report;  // --layout-report=FILE; empty: none
    QString pictures_root;  // where the pictures are; empty: the built-in ones
    bool engineer = false;  // --engineer: the engineer page once the mouse is read
  };

  // The Session must have been built with this window as its SessionEvents
  // (see SetSession); the window shows it from FormCreate on.
  TForm1(std::unique_ptr<ShellDialogs> dialogs, Options options, QWidget* parent = nullptr);
  ~TForm1() override;

  void SetSession(Session& session) { session_ = &session; }
  // The system's pointer settings the advanced page shows; the caller keeps
  // it alive and shows it again after every read (settings::InstallPointerPage).
  void SetPointerPlatform(settings::PointerPlatform* platform) { pointer_ = platform; }
  // Start-up, in its order: pictures and skin, the no-device state, the first
  // language, the input listener, DevTimer.
  void FormCreate();

  // --- SessionEvents -----------------------------------------------------------------
  void ShowMessage(std::string_view language_key) override;
  void ShowText(std::string_view text) override;
  void CloseMenus() override { HideAllMenu(); }
  void ShowLoading(int done, int total) override;
  void HideLoading() override;
  void ShowPageCovers(bool shown) override;
  void RefreshPages() override;
  void ConnectionChanged(ConnectionState state) override;
  void ButtonTestsChanged(const ButtonTests& tests) override;
  void BusyChanged(bool busy) override;
  void PostToOwnerThread(std::function<void()> task) override;

  // --- ShellServices -----------------------------------------------------------------
  Session& GetSession() override { return *session_; }
  Pictures& GetPictures() override { return pictures_; }
  const SkinLayout& Skin() const override { return skin_; }
  const LanguageTable& Language() const override { return session_->Language(); }
  QFont TableFont(int points) const override;
  void ShowMessageKey(std::string_view key) override { ShowMessage(key); }
  void ShowMessageText(const QString& text) override;
  QString AskOpenFile(const QString& filter) override;
  QString AskSaveFile(const QString& filter) override;
  ShellDialogs& Dialogs() override { return *dialogs_; }
  void HideAllMenu() override;
  void StartRolling(QLabel* label) override;
  void StopRolling(QLabel* label) override;
  QWidget* Window() override { return this; }
  settings::PointerPlatform* PointerSettingsPlatform() override { return pointer_; }

  // --- The handlers --------------------------------------------------------------------
  void Btn_Main_0Click() { Navigate(settings::NavPage::kMain); }
  void Btn_Switch_0Click() { Navigate(settings::NavPage::kSwitch); }
  void Btn_Fixed_0Click() { Navigate(settings::NavPage::kFixed); }
  void Btn_Adv_0Click() { Navigate(settings::NavPage::kAdvanced); }
  void Btn_Breath_0Click() { Navigate(settings::NavPage::kBreathingLight); }
  void Btn_Macro_0Click() { Navigate(settings::NavPage::kMacro); }
  void Btn_Update_0Click() { Navigate(settings::NavPage::kUpdate); }
  void Btn_Engineer_0Click() { Navigate(settings::NavPage::kEngineer); }
  void Btn_Save_0Click();
  void Btn_Load_0Click();
  void Btn_Lang1_0Click() { SwitchLanguage(1); }
  void Btn_Lang2_0Click() { SwitchLanguage(2); }
  void Btn_Lang3_0Click() { SwitchLanguage(3); }
  void Btn_Confirm1_1Click() { Confirm(1); }
  void Btn_Reset_0Click() { Confirm(2); }
  void Btn_Confirm3_1Click() { Confirm(3); }
  void Btn_Web_0Click();
  void Btn_Minimize_0Click();
  void Btn_Close_0Click();
  void Img_BaseMouseDown();
  void DevTimerTimer();
  void LabelRunTimer();
  // RefreshAPPage: shows the page of the selected radio button again.
  void RefreshAPPage();
  // ApplySkin: the language's pictures, placement, text styles and captions.
  void ApplySkin();

  // --- For the pages, the tests and the screenshots ---------------------------------
  Page* PageOfGroup(int group) const;
  FormLoadingUI* LoadingWindow() const { return loading_; }
  QTimer& DevTimer() { return dev_timer_; }
  // The named problems of the skin tables and pictures since start.
  QStringList SkinErrors() const;
  // gbPage1 .. gbPage7: the page shown.
  QString ShownPageName() const;
  // Writes the --layout-report file now; false when it could not be written.
  bool WriteLayoutReport(QString* error = nullptr);

 signals:
  // After start-up, a page change or a language switch.
  void LayoutChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // Input held while a transfer ran, given to its widgets in order.
  void ReplayHeldInput();
  static bool IsHeldInput(const QEvent& event);
  void paintEvent(QPaintEvent* event) override;

 private:
  // One copy of a button: its picture and its label.
  struct ButtonCopy {
    PictureLabel* image = nullptr;
    SkinLabel* label = nullptr;
  };

  void BuildPages();
  void BuildFrame(QWidget* page, int copy);
  void AddButton(QWidget* page, const QString& stem, int copy);
  void WireButton(const QString& stem, SkinLabel* label);
  void Navigate(settings::NavPage page);
  void SwitchLanguage(int language);
  void Confirm(int n);
  // Whether the save and load buttons may open their dialogs now; "Str022"
  // when there is no accepted mouse.
  bool ProfileFilesAllowed();
  // Shows the page the Session's page state names: the group box, the
  // window's size, the navigation pictures and the page backgrounds.
  void SyncShownPage();
  void ShowNavigationStates();
  // Picture state 1 normal, 2 hover, 3 selected/pressed on every copy.
  void SetButtonState(const QString& stem, int state);
  int RestingState(const QString& stem) const;
  // A menu entry or the macro list of the key menus.
  static bool InMenu(const QObject* watched);
  // The control that had the keyboard focus when its page gave way.
  QHash<int, QPointer<QWidget>> page_focus_;
  // The keyboard's order through a page's controls.
  void OrderTabs(Page& page);
  void ApplyPlacement();
  void ApplyTextStyles();
  void ApplyCaptions();
  void UpdateCoverText();
  void ShowSkinErrors();
  bool IsOwnInput(QObject* watched, QEvent* event) const;
  // --engineer: once the mouse is read, the engineer page and its access code.
  void OpenEngineerPageIfWanted();

  Session* session_ = nullptr;
  settings::PointerPlatform* pointer_ = nullptr;
  std::unique_ptr<ShellDialogs> dialogs_;
  Options options_;
  Pictures pictures_;
  SkinLayout skin_;
  QStringList skin_errors_;
  QSize window_size_;
  QHash<QString, QList<ButtonCopy>> buttons_;  // by stem: "Main", "Confirm1", "Lang2", ...
  QList<Page*> pages_;                         // gbPage1 .. gbPage5, gbPage7
  QList<QLabel*> covers_;                      // Disable_All_1 .. Disable_All_5
  QList<PictureLabel*> bases_;                 // Img_Base_1 .. Img_Base_5
  QLabel* hint_ = nullptr;                     // lbl_Content
  FormLoadingUI* loading_ = nullptr;
  QTimer dev_timer_;
  QTimer label_run_;
  RollingCaption rolling_;
  QPointer<QLabel> rolling_label_;
  // Keys and clicks that came while a transfer ran. A mouse or wheel event
  // is kept as its values and made anew when it is given again: Qt shares a
  // pointer event's point with the events it makes later on that device,
  // and those move it.
  struct HeldInput {
    QPointer<QObject> target;
    QEvent::Type type = QEvent::None;
    QPointF position;  // a mouse event's, in the target's coordinates
    std::function<std::unique_ptr<QEvent>()> make;
  };
  static HeldInput Hold(QObject* target, const QEvent& event);
  std::deque<HeldInput> held_input_;
  bool replaying_ = false;
  int shown_group_ = 0;
  bool exposed_ = false;  // on the screen: the layout report may be written
  bool created_ = false;
  bool engineer_wanted_ = false;
};

}  // namespace vrdk::shell
