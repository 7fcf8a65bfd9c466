#include "shell/screenshots.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QSet>
#include <QTabWidget>
#include <iostream>

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>

#include "engineering/engineer_page.h"
#include "macros/editors/device_macros.h"
#include "shell/dialogs.h"
#include "shell/main_window.h"
#include "shell/pages/key_page.h"
#include "shell/pages/macro_page.h"
#include "shell/skin_palette.h"
#include "shell/skin_widgets.h"
#include "tables/own_texts.h"

namespace vrdk::shell {
namespace {

constexpr int kSampleStep = 8;
constexpr int kFewestColours = 24;  // a page with its pictures and captions has far more

using settings::NavPage;

struct Shot {
  NavPage page;
  const char* name;
};
constexpr Shot kShots[] = {
    {NavPage::kMain, "main"},         {NavPage::kSwitch, "switch"},
    {NavPage::kAdvanced, "advanced"}, {NavPage::kBreathingLight, "light"},
    {NavPage::kMacro, "macro"},       {NavPage::kUpdate, "update"},
    {NavPage::kEngineer, "engineer"},
};

void Settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

// The window as shown, with the key-combination dialog drawn where it lies
// over it (it is a window of its own).
QImage Picture(TForm1& window) {
  QImage image = window.grab().toImage();
  auto* page = qobject_cast<KeyPage*>(window.PageOfGroup(1));
  if (page != nullptr && page->CombinationDialog() != nullptr &&
      page->CombinationDialog()->isVisible()) {
    TForm2* dialog = page->CombinationDialog();
    QPainter painter(&image);
    painter.drawPixmap(dialog->pos() - window.pos(), dialog->grab());
  }
  return image;
}

bool Save(TForm1& window, const QString& folder, const QString& name, QWidget* over = nullptr) {
  Settle();
  QImage image = Picture(window);
  if (over != nullptr) {
    // A dialog of its own, drawn where it would open: over the window's middle.
    over->adjustSize();
    const QPixmap drawn = over->grab();
    QPainter painter(&image);
    painter.drawPixmap((image.width() - drawn.width()) / 2, (image.height() - drawn.height()) / 2,
                       drawn);
  }
  const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
  const int colours = SampledColours(image);
  if (!image.save(path)) {
    std::cerr << "vrdk-mouse: cannot write " << path.toStdString() << '\n';
    return false;
  }
  std::cout << path.toStdString() << ": " << image.width() << " x " << image.height() << ", "
            << colours << " colours sampled\n";
  if (colours < kFewestColours) {
    std::cerr << "vrdk-mouse: " << path.toStdString() << " rendered blank\n";
    return false;
  }
  return true;
}

// The macro page with something to show: a library of three macros, two of
// them in the mouse, then a recording under way and the insert panel.
void FillMacroLibrary(TForm1& window) {
  auto* page = qobject_cast<MacroPage*>(window.PageOfGroup(4));
  macros::MacroLibrary& library = page->Library();
  if (library.Count() > 0) return;
  const std::pair<std::u16string, macros::MacroText> macros[] = {
      {u"Reload", {"10", "1 R CODE:8215", "0 40", "2 R CODE:0215", "0 120"}},
      {u"Burst",
       {"0130", "7 FD05", "1 LeftKey CODE:00A1", "0 30", "2 LeftKey CODE:0021", "0 30", "8 FC"}},
      {u"Combo A", {"00"}}};
  for (const auto& [name, lines] : macros) {
    library.New(name);
    library.SetLines(*library.Find(name), lines);
  }
  if (macros::DeviceMacros* store = macros::FindDeviceMacros(window.GetSession())) {
    store->Add(library.Records()[0]);
    store->Add(library.Records()[1]);
  }
  page->ShowState();
}

bool MacroShots(TForm1& window, const QString& folder, int language) {
  auto* page = qobject_cast<MacroPage*>(window.PageOfGroup(4));
  auto* library = page->findChild<QListWidget*>(QStringLiteral("LB_PCMacroName"));
  library->setCurrentRow(2);
  static std::uint32_t now = 0;
  now = 5000;
  page->SetTick([] { return now; });
  page->Btn_StartClick();
  const auto key = [&window](QEvent::Type type, Qt::Key which, std::uint32_t at) {
    now = at;
    QKeyEvent event(type, which, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &event);
  };
  key(QEvent::KeyPress, Qt::Key_Control, 5000);
  key(QEvent::KeyPress, Qt::Key_C, 5085);
  key(QEvent::KeyRelease, Qt::Key_C, 5160);
  key(QEvent::KeyRelease, Qt::Key_Control, 5210);
  key(QEvent::KeyPress, Qt::Key_V, 5600);
  key(QEvent::KeyRelease, Qt::Key_V, 5655);
  bool ok = Save(window, folder, QStringLiteral("macro-recording-lang%1").arg(language));
  page->Btn_StartClick();
  auto* lines = page->findChild<QListWidget*>(QStringLiteral("LB_macro"));
  lines->setCurrentRow(3);
  page->Btn_InsertClick();
  page->findChild<QComboBox*>(QStringLiteral("CB_Insert"))->setCurrentIndex(5);
  page->findChild<QLineEdit*>(QStringLiteral("edt_XAxisValue"))->setText(QStringLiteral("-10"));
  page->findChild<QLineEdit*>(QStringLiteral("edt_YAxisValue"))->setText(QStringLiteral("5"));
  ok = Save(window, folder, QStringLiteral("macro-inserting-lang%1").arg(language)) && ok;
  page->Btn_CancelClick();
  page->SetTick(macros::SystemTick);
  return ok;
}

// The engineer page's tabs, revealed as the access code does, then hidden
// again.
bool SaveEngineerTabs(TForm1& window, const QString& folder, int language) {
  Session& session = window.GetSession();
  settings::Navigation(session).Go(NavPage::kEngineer);
  engineering::EngineerAccess(session).EnterCode("TarvondQXKPW");
  window.RefreshAPPage();
  window.RefreshPages();
  auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("Pg_Parameter"));
  bool ok = tabs != nullptr;
  constexpr std::pair<int, const char*> kTabs[] = {
      {0, "engineer-chip"}, {1, "engineer-gun"}, {2, "engineer-keys"}};
  for (const auto& [index, name] : kTabs) {
    if (tabs == nullptr) break;
    tabs->setCurrentIndex(index);
    ok = Save(window, folder, QStringLiteral("%1-lang%2").arg(QLatin1String(name)).arg(language)) &&
         ok;
  }
  session.Pages().engineer = EngineerState{};
  window.RefreshPages();
  return ok;
}

// The light page as a mouse of each other LED type shows it.
bool OtherLedTypes(TForm1& window, const QString& folder, int language) {
  PageState& pages = window.GetSession().Pages();
  const image::LedType was = pages.led_type;
  bool ok = true;
  for (const auto& [type, name] : {std::pair{image::LedType::kSync, "sync"},
                                   {image::LedType::kNT, "nt"},
                                   {image::LedType::kMCULED, "strip"}}) {
    if (type == was) continue;
    pages.led_type = type;
    window.RefreshPages();
    ok = Save(window, folder,
              QStringLiteral("light-%1-lang%2").arg(QLatin1String(name)).arg(language)) &&
         ok;
  }
  pages.led_type = was;
  window.RefreshPages();
  return ok;
}

// The message dialog and a question, in the window's language and font.
bool SaveDialogs(TForm1& window, const QString& folder, int language) {
  Session& session = window.GetSession();
  const QFont font = window.TableFont(11);
  const QString sheet = DialogSheet(SkinPalette::Of(window.Skin()));
  MessageDialog message(&window, QString::fromStdString(session.Own(OwnText::kSaveReadLost)), font,
                        QString::fromStdString(OwnTextFor(OwnText::kDialogOk, language)), sheet);
  bool ok = Save(window, folder, QStringLiteral("message-lang%1").arg(language), &message);
  QuestionDialog question(&window, QString::fromStdString(session.Own(OwnText::kResetQuestion)),
                          font, QString::fromStdString(OwnTextFor(OwnText::kDialogYes, language)),
                          QString::fromStdString(OwnTextFor(OwnText::kDialogNo, language)), sheet);
  ok = Save(window, folder, QStringLiteral("question-lang%1").arg(language), &question) && ok;
  return ok;
}

}  // namespace

void ConsoleDialogs::Message(QWidget*, const QString& text, const QFont&) {
  std::cerr << "vrdk-mouse: message: " << text.toStdString() << '\n';
}

int SampledColours(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); y += kSampleStep) {
    for (int x = 0; x < image.width(); x += kSampleStep) colours.insert(image.pixel(x, y));
  }
  return static_cast<int>(colours.size());
}

void Hover(QWidget* widget) {
  if (widget == nullptr) return;
  QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
  QCoreApplication::sendEvent(widget, &enter);
}

// The keyboard's focus mark: on a key of the main page, on a DPI row of the
// advanced page, and on an entry of a key menu opened from the keyboard.
bool SaveFocus(TForm1& window, const QString& folder, int language) {
  bool ok = true;
  const auto focus = [&window](const char* name) {
    QWidget* widget = window.findChild<QWidget*>(QLatin1String(name));
    if (widget != nullptr) widget->setFocus(Qt::TabFocusReason);
    return widget != nullptr;
  };
  // The keyboard's focus shows in the active window only.
  window.activateWindow();
  settings::Navigation(window.GetSession()).Go(NavPage::kMain);
  window.RefreshAPPage();
  ok = focus("Key3") && ok;
  ok = Save(window, folder, QStringLiteral("focus-key-lang%1").arg(language)) && ok;
  if (auto* key = window.findChild<SkinLabel*>(QStringLiteral("Key3"))) key->Activate();
  Settle();
  ok = Save(window, folder, QStringLiteral("focus-menu-lang%1").arg(language)) && ok;
  window.HideAllMenu();
  settings::Navigation(window.GetSession()).Go(NavPage::kAdvanced);
  window.RefreshAPPage();
  ok = focus("slider_DPI2") && ok;
  ok = Save(window, folder, QStringLiteral("focus-dpi-lang%1").arg(language)) && ok;
  window.setFocus(Qt::OtherFocusReason);
  return ok;
}

// The key menus open on the Switch Control page: the media menu beside a
// key of the left column, the profile list beside one at the right edge,
// and the key-combination dialog with Ctrl + A + B typed.
bool SaveMenus(TForm1& window, const QString& folder, int language) {
  auto* page = qobject_cast<KeyPage*>(window.PageOfGroup(1));
  if (page == nullptr) return false;
  settings::Navigation(window.GetSession()).Go(NavPage::kSwitch);
  window.RefreshAPPage();
  const auto find = [&window](const char* name) {
    return window.findChild<QWidget*>(QLatin1String(name));
  };
  bool ok = true;
  page->ShowPnlMain_OnClick(3);
  Hover(find("Key_Media"));
  Hover(find("Key_PlayPause"));
  ok = Save(window, folder, QStringLiteral("menu-media-lang%1").arg(language)) && ok;
  page->ShowPnlMain_OnClick(4);
  Hover(find("Key_Special"));
  Hover(find("Key_ProfileKey"));
  ok = Save(window, folder, QStringLiteral("menu-functions-lang%1").arg(language)) && ok;
  page->ShowPnlMain_OnClick(5);
  page->Key_AssemblyClick();
  if (TForm2* dialog = page->CombinationDialog()) {
    dialog->findChild<QCheckBox*>(QStringLiteral("CB_Ctrl"))->setChecked(true);
    QWidget* edit = dialog->findChild<QWidget*>(QStringLiteral("Edt_Assembly"));
    for (const auto& [key, text] : {std::pair{Qt::Key_A, "a"}, std::pair{Qt::Key_B, "b"}}) {
      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QLatin1String(text));
      QCoreApplication::sendEvent(edit, &press);
    }
    ok = Save(window, folder, QStringLiteral("combination-lang%1").arg(language)) && ok;
    dialog->IB_CloseClick();
  } else {
    std::cerr << "vrdk-mouse: the key-combination dialog did not open\n";
    ok = false;
  }
  window.HideAllMenu();
  return ok;
}

int RenderScreenshots(TForm1& window, const QString& folder) {
  QDir().mkpath(folder);
  bool ok = true;
  Session& session = window.GetSession();
  session.StopDevTimer();
  window.DevTimer().stop();
  const auto choose = [&window](int language) {
    if (language == 1) window.Btn_Lang1_0Click();
    if (language == 2) window.Btn_Lang2_0Click();
    if (language == 3) window.Btn_Lang3_0Click();
  };
  for (int language = 1; language <= 3; ++language) {
    choose(language);
    ok = Save(window, folder, QStringLiteral("no-device-lang%1").arg(language)) && ok;
  }
  session.ReFindDev();
  if (session.Conn().state != ConnectionState::kConnected) {
    std::cerr << "vrdk-mouse: the mouse was not found for the screenshots\n";
    return 1;
  }
  for (int language = 1; language <= 3; ++language) {
    choose(language);
    for (const Shot& shot : kShots) {
      settings::Navigation(session).Go(shot.page);
      window.RefreshAPPage();
      if (shot.page == NavPage::kMacro) FillMacroLibrary(window);
      ok = Save(window, folder,
                QStringLiteral("%1-lang%2").arg(QLatin1String(shot.name)).arg(language)) &&
           ok;
      if (shot.page == NavPage::kMacro) ok = MacroShots(window, folder, language) && ok;
      if (shot.page == NavPage::kBreathingLight) ok = OtherLedTypes(window, folder, language) && ok;
    }
    ok = SaveMenus(window, folder, language) && ok;
    ok = SaveFocus(window, folder, language) && ok;
    ok = SaveEngineerTabs(window, folder, language) && ok;
    settings::Navigation(session).Go(NavPage::kMain);
    window.RefreshAPPage();
    ok = SaveDialogs(window, folder, language) && ok;
  }
  return ok ? 0 : 1;
}

}  // namespace vrdk::shell
