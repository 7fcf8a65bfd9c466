#include "shell/screenshots.h"

#include <QCoreApplication>
#include <QDir>
#include <QSet>
#include <QTabWidget>
#include <iostream>

#include "engineering/engineer_page.h"
#include "shell/main_window.h"

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

bool Save(TForm1& window, const QString& folder, const QString& name) {
  Settle();
  const QImage image = window.grab().toImage();
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

int RenderScreenshots(TForm1& window, const QString& folder) {
  QDir().mkpath(folder);
  bool ok = true;
  Session& session = window.GetSession();
  session.StopDevTimer();
  window.DevTimer().stop();
  void (TForm1::*languages[])() = {&TForm1::Btn_Lang1_0Click, &TForm1::Btn_Lang2_0Click,
                                   &TForm1::Btn_Lang3_0Click};
  for (int language = 1; language <= 3; ++language) {
    (window.*languages[language - 1])();
    ok = Save(window, folder, QStringLiteral("no-device-lang%1").arg(language)) && ok;
  }
  session.ReFindDev();
  if (session.Conn().state != ConnectionState::kConnected) {
    std::cerr << "vrdk-mouse: the mouse was not found for the screenshots\n";
    return 1;
  }
  for (int language = 1; language <= 3; ++language) {
    (window.*languages[language - 1])();
    for (const Shot& shot : kShots) {
      settings::Navigation(session).Go(shot.page);
      window.RefreshAPPage();
      ok = Save(window, folder,
                QStringLiteral("%1-lang%2").arg(QLatin1String(shot.name)).arg(language)) &&
           ok;
    }
    ok = SaveEngineerTabs(window, folder, language) && ok;
    settings::Navigation(session).Go(NavPage::kMain);
    window.RefreshAPPage();
  }
  return ok ? 0 : 1;
}

}  // namespace vrdk::shell
