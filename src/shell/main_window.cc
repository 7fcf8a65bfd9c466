#include "shell/main_window.h"

#include <QTabBar>

#include <QAbstractButton>
#include <QApplication>
#include <QBitmap>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTabWidget>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>
#include <iostream>

#include "shell/accessibility.h"
#include "shell/layout_report.h"
#include "shell/loading_window.h"
#include "shell/pages/dpi_page.h"
#include "shell/pages/engineer_page.h"
#include "shell/pages/key_page.h"
#include "shell/pages/light_page.h"
#include "shell/pages/macro_page.h"
#include "shell/pages/update_page.h"
#include "shell/skin_palette.h"
#include "shell/skin_widgets.h"

namespace vrdk::shell {
namespace {

constexpr int kPageCopies = 5;
constexpr int kLabelRunMs = RollingCaption::kIntervalMs;
constexpr int kDevTimerMs = static_cast<int>(Session::kDevTimerInterval.count());

// The buttons every page 1..5 carries: their stem, picture family and caption.
struct FrameButton {
  const char* stem;
  const char* family;
  const char* caption;  // language key; empty: a picture without text
};
constexpr FrameButton kFrameButtons[] = {
    {"Main", "SetS", "Str004"},
    {"Switch", "SetS", "Str005"},
    {"Fixed", "SetS", "Str006"},
    {"Adv", "SetS", "Str007"},
    {"Breath", "SetS", "Str008"},
    {"Macro", "SetS", "Str014"},
    {"Update", "SetS", "Str015"},
    {"Engineer", "SetS", ""},
    {"Save", "SetS", "Str009"},
    {"Load", "SetS", "Str010"},
    {"Lang1", "SetS", "Str011"},
    {"Lang2", "SetS", "Str012"},
    {"Lang3", "SetS", "Str013"},
    {"Confirm1", "BtnS", "Str001"},
    {"Confirm2", "BtnS", "Str002"},
    {"Confirm3", "BtnS", "Str016"},
    {"Web", "WebS", ""},
    {"Exit", "ExitS", ""},
    {"Mini", "MiniS", ""},
};

const FrameButton* FindFrameButton(const QString& stem) {
  for (const auto& button : kFrameButtons) {
    if (stem == QLatin1String(button.stem)) return &button;
  }
  return nullptr;
}

bool IsNavigationStem(const QString& stem) {
  for (int page = 1; page <= 8; ++page) {
    if (stem == QLatin1String(settings::NavigationStem(static_cast<settings::NavPage>(page)))) {
      return true;
    }
  }
  return false;
}

// The free fonts that stand in for the ones the language tables name.
const QString kChineseTableFont = QStringLiteral("Microsoft JhengHei");

void SubstituteFonts() {
  QFont::insertSubstitution(QStringLiteral("Calibri"), QStringLiteral("Carlito"));
  QFont::insertSubstitutions(kChineseTableFont,
                             {QStringLiteral("Noto Sans CJK TC"), QStringLiteral("Noto Sans TC")});
  QFont::insertSubstitution(QStringLiteral("Arial Narrow"),
                            QStringLiteral("Liberation Sans Narrow"));
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
}

}  // namespace

TForm1::TForm1(std::unique_ptr<ShellDialogs> dialogs, Options options, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      dialogs_(std::move(dialogs)),
      options_(std::move(options)) {
  SubstituteFonts();
  InstallAccessibility();
  if (!options_.pictures_root.isEmpty()) pictures_.SetRoot(options_.pictures_root);
  setObjectName(QStringLiteral("TForm1"));
  setAttribute(Qt::WA_TranslucentBackground);
  setWindowIcon(QIcon(pictures_.Get(QStringLiteral("AppIcon"))));
  dev_timer_.setInterval(kDevTimerMs);
  dev_timer_.setObjectName(QStringLiteral("DevTimer"));
  connect(&dev_timer_, &QTimer::timeout, this, [this] {
    // The first look at the bus comes at once (see FormCreate), the others
    // every 3.5 s.
    dev_timer_.setInterval(kDevTimerMs);
    DevTimerTimer();
  });
  label_run_.setInterval(kLabelRunMs);
  label_run_.setObjectName(QStringLiteral("LabelRun"));
  connect(&label_run_, &QTimer::timeout, this, &TForm1::LabelRunTimer);
  loading_ = new FormLoadingUI(pictures_.Get(QStringLiteral("WaitGif")), this);
  BuildPages();
  qApp->installEventFilter(this);
  // Scripts see every pop-up panel and dialog as it opens and closes.
  if (!options_.layout_report.isEmpty()) {
    qApp->installEventFilter(new LayoutReportWatch(
        [this] {
          if (created_) WriteLayoutReport();
        },
        this));
  }
}

TForm1::~TForm1() {
  qApp->removeEventFilter(this);
  // The window's members (its pictures, its pages' services) go before its
  // parts: nothing a part does while the window is taken apart may reach
  // them, so no part signals and the focus does not move on to another.
  for (QWidget* part : findChildren<QWidget*>()) part->blockSignals(true);
  if (QWidget* focused = focusWidget()) focused->clearFocus();
}

void TForm1::BuildPages() {
  pages_ = {new KeyPage(*this, this),   new DpiPage(*this, this),    new LightPage(*this, this),
            new MacroPage(*this, this), new UpdatePage(*this, this), new EngineerPage(*this, this)};
  for (Page* page : pages_) {
    if (page->Group() > kPageCopies) continue;
    connect(page->Base(), &PictureLabel::Pressed, this, &TForm1::Img_BaseMouseDown);
    bases_.append(page->Base());
    BuildFrame(page, page->Group());
  }
  // The engineer page's own Main Control, save and load buttons.
  for (const char* stem : {"Main", "Save", "Load"}) {
    if (auto* button = findChild<QAbstractButton*>(QStringLiteral("Btn_%1_6").arg(stem))) {
      connect(button, &QAbstractButton::clicked, this, [this, stem = QString(stem)] {
        if (stem == QLatin1String("Main")) Btn_Main_0Click();
        if (stem == QLatin1String("Save")) Btn_Save_0Click();
        if (stem == QLatin1String("Load")) Btn_Load_0Click();
      });
    }
  }
  if (auto* close = findChild<QAbstractButton*>(QStringLiteral("Btn_Close"))) {
    connect(close, &QAbstractButton::clicked, this, &TForm1::Btn_Close_0Click);
  }
  hint_ = new QLabel(this);
  hint_->setObjectName(QStringLiteral("lbl_Content"));
  hint_->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TForm1::BuildFrame(QWidget* page, int copy) {
  // The cover lies over the page's own controls and under the frame.
  auto* cover = new QLabel(page);
  cover->setObjectName(QStringLiteral("Disable_All_%1").arg(copy));
  auto* veil = new QLabel(cover);
  veil->setObjectName(QStringLiteral("lbl_CoverText_%1").arg(copy));
  veil->setAlignment(Qt::AlignCenter);
  veil->setWordWrap(true);
  covers_.append(cover);
  for (const auto& button : kFrameButtons) AddButton(page, QLatin1String(button.stem), copy);
}

void TForm1::AddButton(QWidget* page, const QString& stem, int copy) {
  const QString suffix = QStringLiteral("_%1").arg(copy);
  ButtonCopy button;
  button.image = new PictureLabel(QStringLiteral("Img_") + stem + suffix, page);
  button.label = new SkinLabel(QStringLiteral("Btn_") + stem + suffix, page);
  if (stem == QLatin1String("Engineer")) {
    // Created hidden; shown while the engineer page is unlocked.
    button.image->hide();
    button.label->hide();
  }
  if (IsNavigationStem(stem)) button.label->SetRole(ControlRole::kPageTab);
  if (stem.startsWith(QLatin1String("Lang"))) button.label->SetRole(ControlRole::kRadioButton);
  buttons_[stem].append(button);
  WireButton(stem, button.label);
}

void TForm1::WireButton(const QString& stem, SkinLabel* label) {
  const ButtonCopy copy = buttons_[stem].back();
  const FrameButton& family = *FindFrameButton(stem);
  WireHoverPictures(*label, *copy.image, pictures_, QLatin1String(family.family),
                    [this, stem] { return QStringLiteral("_0%1").arg(RestingState(stem)); });
  connect(label, &SkinLabel::Entered, this, [this, label] { StartRolling(label); });
  connect(label, &SkinLabel::Left, this, [this, label] { StopRolling(label); });
  static const QHash<QString, void (TForm1::*)()> kHandlers = {
      {QStringLiteral("Main"), &TForm1::Btn_Main_0Click},
      {QStringLiteral("Switch"), &TForm1::Btn_Switch_0Click},
      {QStringLiteral("Fixed"), &TForm1::Btn_Fixed_0Click},
      {QStringLiteral("Adv"), &TForm1::Btn_Adv_0Click},
      {QStringLiteral("Breath"), &TForm1::Btn_Breath_0Click},
      {QStringLiteral("Macro"), &TForm1::Btn_Macro_0Click},
      {QStringLiteral("Update"), &TForm1::Btn_Update_0Click},
      {QStringLiteral("Engineer"), &TForm1::Btn_Engineer_0Click},
      {QStringLiteral("Save"), &TForm1::Btn_Save_0Click},
      {QStringLiteral("Load"), &TForm1::Btn_Load_0Click},
      {QStringLiteral("Lang1"), &TForm1::Btn_Lang1_0Click},
      {QStringLiteral("Lang2"), &TForm1::Btn_Lang2_0Click},
      {QStringLiteral("Lang3"), &TForm1::Btn_Lang3_0Click},
      {QStringLiteral("Confirm1"), &TForm1::Btn_Confirm1_1Click},
      {QStringLiteral("Confirm2"), &TForm1::Btn_Reset_0Click},
      {QStringLiteral("Confirm3"), &TForm1::Btn_Confirm3_1Click},
      {QStringLiteral("Web"), &TForm1::Btn_Web_0Click},
      {QStringLiteral("Exit"), &TForm1::Btn_Close_0Click},
      {QStringLiteral("Mini"), &TForm1::Btn_Minimize_0Click},
  };
  connect(label, &SkinLabel::Clicked, this, kHandlers.value(stem));
}

void TForm1::FormCreate() {
  window_size_ = pictures_.Size(QStringLiteral("L1_BackGround"));
  for (Page* page : pages_) {
    page->resize(page->Group() == 7 ? QSize(kEngineerWidth, kEngineerHeight) : window_size_);
  }
  for (QLabel* cover : covers_) cover->resize(window_size_);
  setFixedSize(window_size_);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
  }
  ShowPageCovers(true);
  // The no-device state: defaults shown, the first page, the covers.
  session_->StartUp();
  created_ = true;
  // Input is held at the window, before any widget sees it (see eventFilter).
  create();
  if (QWindow* window = windowHandle()) window->installEventFilter(this);
  // The engineer page's tabs place their controls anew: scripts see them.
  if (auto* tabs = findChild<QTabWidget*>(QStringLiteral("Pg_Parameter"))) {
    connect(tabs, &QTabWidget::currentChanged, this, [this] { WriteLayoutReport(); });
  }
  engineer_wanted_ = options_.engineer;
  SwitchLanguage(1);
  ShowSkinErrors();
  session_->StartInputListener();
  // A mouse that is already attached is looked for as soon as the event loop
  // runs, not at the first 3.5 s tick.
  dev_timer_.start(0);
  update();
}

void TForm1::ShowSkinErrors() {
  const QStringList errors = SkinErrors();
  if (errors.isEmpty()) return;
  for (const QString& error : errors) std::cerr << "vrdk-mouse: " << error.toStdString() << '\n';
  ShowMessageText(errors.join(QLatin1Char('\n')));
}

QStringList TForm1::SkinErrors() const {
  QStringList errors = skin_errors_;
  for (const QString& error : pictures_.Errors()) {
    if (!errors.contains(error)) errors.append(error);
  }
  return errors;
}

// --- SessionEvents ---------------------------------------------------------------------

void TForm1::ShowMessage(std::string_view language_key) {
  const auto text = session_ != nullptr ? session_->Language().Find(language_key) : std::nullopt;
  ShowMessageText(text && !text->empty() ? FromUtf8(*text) : FromUtf8(language_key));
}

void TForm1::ShowText(std::string_view text) { ShowMessageText(FromUtf8(text)); }

void TForm1::ShowMessageText(const QString& text) { dialogs_->Message(this, text, TableFont(11)); }

void TForm1::ShowLoading(int /*done*/, int /*total*/) { loading_->ShowOver(*this); }

void TForm1::HideLoading() { loading_->hide(); }

void TForm1::ShowPageCovers(bool shown) {
  // A search that found the mouse out of reach says so on the covers.
  if (shown && session_ != nullptr) UpdateCoverText();
  for (QLabel* cover : covers_) cover->setVisible(shown);
}

void TForm1::RefreshPages() {
  for (Page* page : pages_) page->ShowState();
  UpdateCoverText();
  SyncShownPage();
  OpenEngineerPageIfWanted();
}

void TForm1::ConnectionChanged(ConnectionState /*state*/) {
  UpdateCoverText();
  SyncShownPage();
  OpenEngineerPageIfWanted();
  // Scripts that drive the window learn from the report when the mouse is in.
  if (created_) WriteLayoutReport();
}

void TForm1::ButtonTestsChanged(const ButtonTests& tests) {
  for (Page* page : pages_) page->ShowButtonTests(tests);
}

void TForm1::BusyChanged(bool busy) {
  // Scripts that drive the window learn from the report when it holds input.
  if (created_) WriteLayoutReport();
  if (busy) {
    QApplication::setOverrideCursor(Qt::BusyCursor);
  } else {
    QApplication::restoreOverrideCursor();
    // After the handler that ran the transfer has finished.
    if (!held_input_.empty()) {
      QMetaObject::invokeMethod(this, &TForm1::ReplayHeldInput, Qt::QueuedConnection);
    }
    // A change the mouse did not take whole: read it again now, so that no
    // page goes on showing what the mouse does not hold. (A failed read
    // waits for the next tick instead.)
    const Connection& conn = session_->Conn();
    if (conn.search_again && !conn.read_failed) {
      QMetaObject::invokeMethod(this, &TForm1::DevTimerTimer, Qt::QueuedConnection);
    }
  }
}

void TForm1::PostToOwnerThread(std::function<void()> task) {
  QMetaObject::invokeMethod(
      this, [task = std::move(task)] { task(); }, Qt::QueuedConnection);
}

// --- ShellServices ---------------------------------------------------------------------

QFont TForm1::TableFont(int points) const {
  const QString family = session_ != nullptr
                             ? QString::fromStdString(session_->Language().FontName())
                             : QStringLiteral("Calibri");
  QFont font(family);
  // Chinese text in a Latin table font (a macro's name, a file name) is
  // drawn in the Chinese table's font, not in a fallback of the system's.
  if (family != kChineseTableFont) font.setFamilies({family, kChineseTableFont});
  font.setPointSize(points > 0 ? points : 9);
  return font;
}

QString TForm1::AskOpenFile(const QString& filter) { return dialogs_->OpenFileName(this, filter); }

QString TForm1::AskSaveFile(const QString& filter) { return dialogs_->SaveFileName(this, filter); }

void TForm1::HideAllMenu() {
  for (Page* page : pages_) page->HideMenus();
}

void TForm1::StartRolling(QLabel* label) {
  if (label->text().isEmpty()) return;
  rolling_.Start(label->objectName().toStdString(), label->text().toStdString());
  rolling_label_ = label;
  label_run_.start();
}

void TForm1::StopRolling(QLabel* label) {
  label_run_.stop();
  if (rolling_label_ == label && rolling_.Running()) {
    label->setText(FromUtf8(rolling_.Original()));
    rolling_.Stop();
  }
}

Page* TForm1::PageOfGroup(int group) const {
  for (Page* page : pages_) {
    if (page->Group() == group) return page;
  }
  return nullptr;
}

QString TForm1::ShownPageName() const { return QStringLiteral("gbPage%1").arg(shown_group_); }

// --- Pages, pictures and captions ---------------------------------------------------------

void TForm1::SyncShownPage() {
  if (!created_) return;
  const int group = settings::GroupToShow(session_->Pages());
  // A frame button with the keyboard focus keeps it on the page shown next:
  // its copy there takes it.
  // Another control keeps it for when its page is shown again (the pages
  // give way to the main page while the mouse is read again).
  QString focused_stem;
  if (QWidget* focused = QApplication::focusWidget();
      focused != nullptr && group != shown_group_ && shown_group_ != 0 &&
      PageOfGroup(shown_group_)->isAncestorOf(focused)) {
    const auto* label = qobject_cast<const ControlLabel*>(focused);
    const QString name = focused->objectName();
    const qsizetype cut = name.lastIndexOf(QLatin1Char('_'));
    if (label != nullptr && label->KeyboardFocus() && name.startsWith(QLatin1String("Btn_")) &&
        cut > 0) {
      focused_stem = name.left(cut);
    } else if (label == nullptr || label->KeyboardFocus()) {
      page_focus_[shown_group_] = focused;
    }
  }
  for (Page* page : pages_) page->setVisible(page->Group() == group);
  const QSize wanted = group == 7 ? QSize(kEngineerWidth, kEngineerHeight) : window_size_;
  if (size() != wanted) setFixedSize(wanted);
  // The shape also for desktops without a compositor, where transparent
  // pixels would show black (the offscreen platform has no masks).
  if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
    if (group == 7) {
      clearMask();
    } else if (!bases_.isEmpty()) {
      setMask(bases_.front()->pixmap().mask());
    }
  }
  ShowNavigationStates();
  if (group != shown_group_) {
    shown_group_ = group;
    OrderTabs(*PageOfGroup(group));
    if (!focused_stem.isEmpty()) {
      if (auto* copy = PageOfGroup(group)->findChild<QWidget*>(focused_stem +
                                                               QStringLiteral("_%1").arg(group))) {
        if (copy->isVisibleTo(this)) copy->setFocus(Qt::OtherFocusReason);
      }
    } else if (QPointer<QWidget> kept = page_focus_.take(group);
               kept && kept->isVisibleTo(this) && kept->isEnabled()) {
      kept->setFocus(Qt::OtherFocusReason);
    }
    PageOfGroup(group)->Shown();
    WriteLayoutReport();
    emit LayoutChanged();
  }
}

void TForm1::OrderTabs(Page& page) {
  // The navigation bar first, top down; then the page as it is read: rows
  // from the top (controls whose middles lie within a few pixels share a
  // row), each from the left. Open menus are walked with the arrow keys.
  constexpr int kRowSlack = 10;
  struct Stop {
    QWidget* widget;
    QPoint at;
  };
  QList<Stop> navigation;
  QList<Stop> rest;
  for (QWidget* widget : page.findChildren<QWidget*>()) {
    // Not the parts of a list's pop-up, which is a window of its own.
    if (!(widget->focusPolicy() & Qt::TabFocus) || widget->window() != this) continue;
    // Only the page's own controls, which carry their names: not the parts
    // Qt builds inside its widgets (a tab widget's bar and its scroll
    // buttons). Linked into the page's order, those left the focus chain
    // pointing at freed widgets when the page was torn down.
    const QString own = widget->objectName();
    if (own.isEmpty() || own.startsWith(QLatin1String("qt_")) ||
        qobject_cast<QTabBar*>(widget->parentWidget()) != nullptr) {
      continue;
    }
    const QWidget* holder = widget->parentWidget();
    bool in_menu = false;
    for (; holder != nullptr && holder != &page; holder = holder->parentWidget()) {
      if (holder->objectName().startsWith(QLatin1String("Pnl_")) ||
          holder->objectName() == QLatin1String("LB_Name")) {
        in_menu = true;
      }
    }
    if (in_menu || widget->objectName() == QLatin1String("LB_Name")) continue;
    const Stop stop{widget, widget->mapTo(&page, widget->rect().center())};
    const QString name = widget->objectName();
    const qsizetype cut = name.lastIndexOf(QLatin1Char('_'));
    const QString stem =
        name.startsWith(QLatin1String("Btn_")) && cut > 4 ? name.mid(4, cut - 4) : QString();
    const bool bar = !stem.isEmpty() &&
                     (IsNavigationStem(stem) || stem == QLatin1String("Save") ||
                      stem == QLatin1String("Load") || stem.startsWith(QLatin1String("Lang")));
    (bar ? navigation : rest).append(stop);
  }
  std::stable_sort(navigation.begin(), navigation.end(),
                   [](const Stop& a, const Stop& b) { return a.at.y() < b.at.y(); });
  std::stable_sort(rest.begin(), rest.end(),
                   [](const Stop& a, const Stop& b) { return a.at.y() < b.at.y(); });
  // Rows, then each row from the left.
  for (qsizetype first = 0; first < rest.size();) {
    qsizetype end = first + 1;
    while (end < rest.size() && rest[end].at.y() - rest[first].at.y() <= kRowSlack) ++end;
    std::stable_sort(rest.begin() + first, rest.begin() + end,
                     [](const Stop& a, const Stop& b) { return a.at.x() < b.at.x(); });
    first = end;
  }
  const QList<Stop> order = navigation + rest;
  for (qsizetype i = 1; i < order.size(); ++i) {
    QWidget::setTabOrder(order[i - 1].widget, order[i].widget);
  }
}

void TForm1::RefreshAPPage() {
  shown_group_ = 0;  // shown anew, as after a page change
  SyncShownPage();
}

int TForm1::RestingState(const QString& stem) const {
  if (session_ == nullptr) return 1;
  if (IsNavigationStem(stem)) {
    const auto current = settings::CurrentPage(session_->Pages());
    return stem == QLatin1String(settings::NavigationStem(current)) ? 3 : 1;
  }
  if (stem == QStringLiteral("Lang%1").arg(session_->CurrentLanguage())) return 3;
  return 1;
}

void TForm1::SetButtonState(const QString& stem, int state) {
  const FrameButton* family = FindFrameButton(stem);
  if (family == nullptr) return;
  const QPixmap& picture =
      pictures_.Get(QLatin1String(family->family) + QStringLiteral("_0%1").arg(state));
  for (const ButtonCopy& copy : buttons_.value(stem)) copy.image->SetPicture(picture);
}

void TForm1::ShowNavigationStates() {
  for (const auto& button : kFrameButtons) {
    const QString stem = QLatin1String(button.stem);
    const int state = RestingState(stem);
    SetButtonState(stem, state);
    // The current page and language are the chosen tab and option.
    for (const ButtonCopy& copy : buttons_.value(stem)) copy.label->SetChecked(state == 3);
  }
  // The way back to the engineer page, for as long as the code has unlocked it.
  const PageState& pages = session_->Pages();
  const bool engineer = pages.engineer.unlocked && !pages.no_device_shown;
  for (const ButtonCopy& copy : buttons_.value(QStringLiteral("Engineer"))) {
    copy.image->setVisible(engineer);
    copy.label->setVisible(engineer);
  }
}

void TForm1::UpdateCoverText() {
  QString text = FromUtf8(session_->Language().Text("Str022"));
  const Connection& conn = session_->Conn();
  if (conn.access_denied) {
    text = QStringLiteral(
               "Found the mouse at %1, but this user may not open it (%2).\n\nInstall the udev "
               "rule packaging/70-vrdk-mouse.rules as the README says (\"Using the mouse "
               "without root\"), then unplug and replug the mouse.")
               .arg(QString::fromStdString(conn.access_denied->path),
                    QString::fromStdString(conn.access_denied->reason));
  } else if (conn.state == ConnectionState::kOpening || conn.state == ConnectionState::kReading) {
    text = FromUtf8(session_->Language().Text("Str100"));
  } else if (conn.state == ConnectionState::kRejected) {
    // The message told why once; the veil keeps telling while it is attached.
    text = FromUtf8(session_->Language().Text("Str107"));
  } else if (conn.read_failed) {
    // Answers were lost even when read again: the next tick reads again.
    text = FromUtf8(session_->Own(OwnText::kReadFailedCover)) + QStringLiteral("…");
  }
  for (QLabel* cover : covers_) {
    if (auto* veil = cover->findChild<QLabel*>()) {
      veil->setText(text);
      veil->setFont(TableFont(14));
    }
  }
  if (created_) WriteLayoutReport();
}

void TForm1::ApplySkin() {
  const int language = session_->CurrentLanguage();
  skin_ = LoadSkin(language, session_->Brand(), pictures_.Sizes());
  for (const auto& error : skin_.errors) {
    const QString message = QString::fromStdString(error.Message());
    if (!skin_errors_.contains(message)) skin_errors_.append(message);
  }
  const QPixmap background = pictures_.Background(language);
  for (PictureLabel* base : bases_) base->SetPicture(background);
  ApplyPlacement();
  pictures_.KeepLanguage(language);
  ApplyTextStyles();
  ApplyCaptions();
  ShowNavigationStates();
  // The covers veil the page area; the hint line lies under it.
  const QRect area = PageOfGroup(1)->PagePicture()->geometry();
  const SkinPalette palette = SkinPalette::Of(skin_);
  ControlLabel::SetFocusColour(palette.accent_light);
  QColor shade = palette.field;
  shade.setAlpha(190);
  const QString veil_style = QStringLiteral("background: %1; color: %2; padding: 40px;")
                                 .arg(Css(shade), Css(palette.text));
  for (QLabel* cover : covers_) {
    if (auto* veil = cover->findChild<QLabel*>()) {
      veil->setGeometry(area);
      veil->setStyleSheet(veil_style);
    }
  }
  hint_->setStyleSheet(HintStyle(palette));
  hint_->setGeometry(area.x(), area.bottom() + 2, area.width(), height() - area.bottom() - 4);
  hint_->setFont(TableFont(9));
  hint_->raise();
  UpdateCoverText();
  for (Page* page : pages_) page->ApplyLanguage();
  if (shown_group_ != 0) OrderTabs(*PageOfGroup(shown_group_));
}

void TForm1::ApplyPlacement() {
  // The widgets by name, in one walk of the tree (a control's name may be
  // carried by several).
  QHash<QString, QList<QWidget*>> named;
  for (QWidget* widget : findChildren<QWidget*>()) {
    if (!widget->objectName().isEmpty()) named[widget->objectName()].append(widget);
  }
  for (const SkinControl& control : skin_.controls) {
    const auto found = named.constFind(QString::fromStdString(control.name));
    if (found == named.constEnd()) continue;
    for (QWidget* widget : *found) {
      if (control.sized) {
        widget->setGeometry(control.rect.x, control.rect.y, control.rect.width,
                            control.rect.height);
      } else {
        widget->move(control.rect.x, control.rect.y);
      }
      if (control.visible) widget->setVisible(*control.visible);
      auto* picture = qobject_cast<PictureLabel*>(widget);
      if (picture != nullptr && !control.picture.empty()) {
        picture->SetPicture(pictures_, QString::fromStdString(control.picture));
      }
    }
  }
}

void TForm1::ApplyTextStyles() {
  const Page* engineer = PageOfGroup(7);  // styled by its own sheet, not by the skin
  for (QLabel* label : findChildren<QLabel*>()) {
    const std::string group = TextGroupOf(label->objectName().toStdString());
    if (group.empty() || (engineer != nullptr && engineer->isAncestorOf(label))) continue;
    const TextStyle style = skin_.Style(group);
    label->setFont(TableFont(style.points));
    const QString sheet = QStringLiteral("color: rgb(%1, %2, %3); background: transparent;")
                              .arg(style.colour.red)
                              .arg(style.colour.green)
                              .arg(style.colour.blue);
    // A sheet is parsed at every set: one that stays is left alone.
    if (label->styleSheet() != sheet) label->setStyleSheet(sheet);
  }
}

void TForm1::ApplyCaptions() {
  for (const auto& button : kFrameButtons) {
    const QString stem = QLatin1String(button.stem);
    const QString caption =
        *button.caption != '\0'
            ? FromUtf8(session_->Language().Text(button.caption))
            : (stem == QLatin1String("Engineer") ? FromUtf8(session_->Own(OwnText::kEngineerPage))
                                                 : QString());
    // A button with no caption is named for what it does.
    QString name;
    if (stem == QLatin1String("Web")) name = FromUtf8(session_->Own(OwnText::kNameWebSite));
    if (stem == QLatin1String("Exit")) name = FromUtf8(session_->Own(OwnText::kNameClose));
    if (stem == QLatin1String("Mini")) name = FromUtf8(session_->Own(OwnText::kNameMinimise));
    for (const ButtonCopy& copy : buttons_.value(stem)) {
      copy.label->setText(caption);
      copy.label->setAccessibleName(name);
    }
  }
  setWindowTitle(FromUtf8(session_->Language().Title()));
}

// --- Input while busy, hints, closing ---------------------------------------------------------

bool TForm1::IsHeldInput(const QEvent& event) {
  switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
      return true;
    default:
      return false;
  }
}

bool TForm1::InMenu(const QObject* watched) {
  const auto* label = qobject_cast<const ControlLabel*>(watched);
  if (label != nullptr && label->Role() == ControlRole::kMenuItem) return true;
  for (; watched != nullptr; watched = watched->parent()) {
    if (watched->objectName() == QLatin1String("LB_Name")) return true;
  }
  return false;
}

bool TForm1::IsOwnInput(QObject* watched, QEvent* event) const {
  if (!IsHeldInput(*event) && event->type() != QEvent::ShortcutOverride) return false;
  const auto* widget = qobject_cast<const QWidget*>(watched);
  return widget != nullptr && widget->window() == this;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  // Scripts click where the report says: it is first written once the
  // window is on the screen and takes input, not when it is only shown.
  if (!exposed_ && watched == windowHandle() && event->type() == QEvent::Expose &&
      windowHandle()->isExposed()) {
    exposed_ = true;
    QTimer::singleShot(0, this, [this] { WriteLayoutReport(); });
  }
  if (event->type() == QEvent::ToolTip) {
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (widget != nullptr && widget->window() == this) {
      hint_->setText(widget->toolTip());  // ShowHint
      return true;
    }
  }
  // A transfer lets the window breathe; what the user does meanwhile is held
  // as the window system brought it, before any widget saw it (so no focus
  // moves), and given to the window again once the transfer is over. Input
  // that comes while held input waits for its turn queues behind it, so the
  // order stays.
  // Input given to a widget straight, not through the window (as tests and
  // accessibility tools may), is held at that widget.
  const bool held_here =
      watched == windowHandle() ? IsHeldInput(*event) : IsOwnInput(watched, event) && !replaying_;
  if (session_ != nullptr && held_here &&
      (session_->Busy() || (!replaying_ && !held_input_.empty()))) {
    held_input_.push_back(Hold(watched, *event));
    return true;
  }
  // Esc closes the key menus, as a click beside them does; inside a menu
  // walked with the keyboard it is the menu's own (back out of a submenu).
  if (event->type() == QEvent::KeyPress && IsOwnInput(watched, event) &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && !InMenu(watched)) {
    HideAllMenu();
  }
  return QWidget::eventFilter(watched, event);
}

TForm1::HeldInput TForm1::Hold(QObject* target, const QEvent& event) {
  HeldInput held{QPointer<QObject>(target), event.type(), {}, {}};
  if (const auto* mouse = dynamic_cast<const QMouseEvent*>(&event)) {
    held.position = mouse->position();
    held.make = [type = mouse->type(), position = mouse->position(), scene = mouse->scenePosition(),
                 global = mouse->globalPosition(), button = mouse->button(),
                 buttons = mouse->buttons(), modifiers = mouse->modifiers(),
                 device = mouse->pointingDevice(), stamp = mouse->timestamp()] {
      auto made = std::make_unique<QMouseEvent>(type, position, scene, global, button, buttons,
                                                modifiers, device);
      made->setTimestamp(stamp);
      return std::unique_ptr<QEvent>(std::move(made));
    };
  } else if (const auto* wheel = dynamic_cast<const QWheelEvent*>(&event)) {
    held.make = [position = wheel->position(), global = wheel->globalPosition(),
                 pixels = wheel->pixelDelta(), angle = wheel->angleDelta(),
                 buttons = wheel->buttons(), modifiers = wheel->modifiers(), phase = wheel->phase(),
                 inverted = wheel->inverted(), source = wheel->source(),
                 device = wheel->pointingDevice(), stamp = wheel->timestamp()] {
      auto made = std::make_unique<QWheelEvent>(position, global, pixels, angle, buttons, modifiers,
                                                phase, inverted, source, device);
      made->setTimestamp(stamp);
      return std::unique_ptr<QEvent>(std::move(made));
    };
  } else {
    held.make = [copy = std::shared_ptr<QEvent>(event.clone())] {
      return std::unique_ptr<QEvent>(copy->clone());
    };
  }
  return held;
}

void TForm1::ReplayHeldInput() {
  while (!held_input_.empty() && session_ != nullptr && !session_->Busy()) {
    HeldInput input = std::move(held_input_.front());
    held_input_.pop_front();
    if (input.target.isNull()) continue;
    // A press given again is not the window system's own, so Qt moves no
    // focus for it: the widget it lands on takes the focus here, as it
    // would have then.
    if (input.target == windowHandle() && input.type == QEvent::MouseButtonPress) {
      for (QWidget* widget = childAt(input.position.toPoint()); widget != nullptr;
           widget = widget->parentWidget()) {
        if (widget->isEnabled() && (widget->focusPolicy() & Qt::ClickFocus) != 0) {
          widget->setFocus(Qt::MouseFocusReason);
          break;
        }
        if (widget == this) break;
      }
    }
    // Given as it came; a transfer it starts holds what comes meanwhile,
    // behind the input still waiting here.
    replaying_ = true;
    const std::unique_ptr<QEvent> event = input.make();
    QCoreApplication::sendEvent(input.target, event.get());
    replaying_ = false;
  }
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (session_ != nullptr && session_->Busy()) {
    // Closing in the middle of a transfer waits for its end.
    event->ignore();
    session_->RunWhenIdle(
        [this] { QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection); });
    return;
  }
  // FormCloseQuery: the handles go, and the run ends.
  dev_timer_.stop();
  label_run_.stop();
  if (session_ != nullptr) {
    session_->StopInputListener();
    session_->Link().InvalidateHandles();
  }
  loading_->hide();
  event->accept();
  QCoreApplication::quit();
}

void TForm1::paintEvent(QPaintEvent* event) { QWidget::paintEvent(event); }

}  // namespace vrdk::shell
