// The window over a simulated mouse, for the window's tests: dialogs that
// answer as a test says, the system pointer settings in memory, widgets
// found by their names, the transcript.
#pragma once

#include <gtest/gtest.h>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <functional>
#include <memory>
#include <optional>

#include "app/install.h"
#include "settings/pages.h"
#include "settings/pointer_platform.h"
#include "shell/dialogs.h"
#include "shell/main_window.h"
#include "shell/skin_widgets.h"
#include "support/session_rig.h"

namespace vrdk::shell {

using vrdk::testing::DefaultsFor;
using vrdk::testing::MouseFor;
using vrdk::testing::PumpingClock;

// The mouse's transcript without the read-back after each write: what a
// change of the window sent.
inline std::vector<std::string> TranscriptLines(const SimulatedMouse& mouse) {
  return vrdk::testing::WithoutReadBacks(vrdk::testing::TranscriptLines(mouse));
}

// Dialogs that answer as the test says and remember what they were asked.
class AnsweringDialogs : public ShellDialogs {
 public:
  void Message(QWidget*, const QString& text, const QFont& font) override {
    messages.append(text);
    fonts.append(font.family());
  }
  QString SaveFileName(QWidget*, const QString& filter) override {
    filters.append(filter);
    return save_answer;
  }
  QString OpenFileName(QWidget*, const QString& filter) override {
    filters.append(filter);
    return open_answer;
  }
  bool ConfirmReplace(QWidget*, const QString& path) override {
    replace_asked.append(path);
    return replace_answer;
  }
  bool Confirm(QWidget*, const QString& question, const QFont&) override {
    questions.append(question);
    return confirm_answer;
  }
  std::optional<QString> Password(QWidget*, const QFont&) override {
    ++password_asked;
    return password_answer;
  }
  void OpenWebAddress(const QString& address) override { opened.append(address); }
  std::optional<QColor> Colour(QWidget*, const QColor& initial, const QString& title) override {
    colour_asked.append(initial);
    colour_titles.append(title);
    return colour_answer;
  }
  // The window's own small dialogs: the test fills them in `on_run`, whose
  // answer says whether they were confirmed; without it they are cancelled.
  bool Run(QDialog& dialog) override {
    run.append(dialog.objectName());
    return on_run ? on_run(dialog) : false;
  }

  QStringList messages;
  QStringList fonts;
  QStringList filters;
  QString save_answer;
  QString open_answer;
  QStringList replace_asked;
  bool replace_answer = false;
  int password_asked = 0;
  std::optional<QString> password_answer;
  QStringList opened;
  QStringList questions;
  bool confirm_answer = false;
  QList<QColor> colour_asked;
  QStringList colour_titles;
  std::optional<QColor> colour_answer;
  QStringList run;
  std::function<bool(QDialog&)> on_run;
};

// The window over a simulated mouse on a counting clock.
class WindowRig {
 public:
  explicit WindowRig(TForm1::Options options = {}, BrandOptions brand = LoadBrandOptions().options,
                     MemoryType type = MemoryType::kI2C)
      : mouse_(clock, MouseFor(type)),
        backend_(&mouse_),
        dialogs(new AnsweringDialogs),
        window(std::unique_ptr<ShellDialogs>(dialogs), std::move(options)),
        session(backend_, clock, window, DefaultsFor(type)) {
    InstallEditors(session);
    settings::InstallPointerPage(session, pointer);
    window.SetPointerPlatform(pointer.get());
    session.SetBrandOptions(brand);
    window.SetSession(session);
    window.FormCreate();
    window.DevTimer().stop();
    window.show();
    // On the screen, as a user meets it (the layout report waits for it).
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    Settle();
  }
  ~WindowRig() { session.StopInputListener(); }

  // The first DevTimer tick finds and reads the mouse.
  void Connect() {
    window.DevTimerTimer();
    mouse_.ClearTranscript();
  }

  template <typename T = QWidget>
  T* Find(const QString& name) {
    T* widget = window.findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
  }
  void Click(const QString& name) { QTest::mouseClick(Find(name), Qt::LeftButton); }
  // Lets the window run what it queued (values typed into a box go to the
  // mouse once the handler that took the key is over).
  static void Settle() {
    for (int i = 0; i < 4; ++i) QCoreApplication::processEvents();
  }
  // Selects all of a box's text and types over it, as a user does.
  void TypeInto(const QString& name, const QString& text) {
    auto* edit = Find<QLineEdit>(name);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    Settle();
  }
  // Enter in a box: the user is done with it.
  void Enter(const QString& name) {
    QTest::keyClick(Find<QLineEdit>(name), Qt::Key_Return);
    Settle();
  }
  bool Shown(const QString& name) { return Find(name)->isVisibleTo(&window); }
  // The reports sent to the mouse, in order.
  std::vector<std::string> Sent() const {
    std::vector<std::string> sent;
    for (const auto& line : TranscriptLines(mouse_)) {
      if (line.rfind("> ", 0) == 0) sent.push_back(line);
    }
    return sent;
  }
  int CountSent(const std::string& prefix) const {
    int count = 0;
    for (const auto& line : TranscriptLines(mouse_)) count += line.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
  }
  // The picture a label shows is the named one.
  bool ShowsPicture(const QString& image, const QString& picture) {
    auto* label = Find<QLabel>(image);
    auto* lazy = qobject_cast<PictureLabel*>(label);
    const QPixmap shown = lazy != nullptr ? lazy->Picture() : label->pixmap();
    return shown.cacheKey() == window.GetPictures().Get(picture).cacheKey();
  }
  SimulatedMouse& Mouse() { return mouse_; }
  SimulatedBackend& Bus() { return backend_; }

  PumpingClock clock;
  // The system pointer settings, in memory: what the page read and applied.
  std::shared_ptr<settings::MemoryPointerPlatform> pointer =
      std::make_shared<settings::MemoryPointerPlatform>();

 private:
  SimulatedMouse mouse_;
  SimulatedBackend backend_;

 public:
  AnsweringDialogs* dialogs;  // owned by the window
  TForm1 window;
  Session session;
};

}  // namespace vrdk::shell
