// The window over a simulated "I2C" mouse on a counting clock, with dialogs
// that answer as the test says; widgets are found by their names.
#pragma once

#include <gtest/gtest.h>
#include <QLabel>
#include <QTest>

#include "app/install.h"
#include "shell/dialogs.h"
#include "shell/main_window.h"
#include "support/session_rig.h"

namespace vrdk::shell {

using vrdk::testing::DefaultsFor;
using vrdk::testing::MouseFor;
using vrdk::testing::PumpingClock;
using vrdk::testing::TranscriptLines;

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
  std::optional<QString> Password(QWidget*, const QFont&) override {
    ++password_asked;
    return password_answer;
  }
  void OpenWebAddress(const QString& address) override { opened.append(address); }

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
};

// The window over a simulated mouse on a counting clock.
class WindowRig {
 public:
  explicit WindowRig(TForm1::Options options = {}, BrandOptions brand = LoadBrandOptions().options)
      : mouse_(clock, MouseFor(MemoryType::kI2C)),
        backend_(&mouse_),
        dialogs(new AnsweringDialogs),
        window(std::unique_ptr<ShellDialogs>(dialogs), std::move(options)),
        session(backend_, clock, window, DefaultsFor(MemoryType::kI2C)) {
    InstallEditors(session);
    session.SetBrandOptions(brand);
    window.SetSession(session);
    window.FormCreate();
    window.DevTimer().stop();
    window.show();
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
  bool Shown(const QString& name) { return Find(name)->isVisibleTo(&window); }
  int CountSent(const std::string& prefix) const {
    int count = 0;
    for (const auto& line : TranscriptLines(mouse_)) count += line.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
  }
  // The picture a label shows is the named one.
  bool ShowsPicture(const QString& image, const QString& picture) {
    return Find<QLabel>(image)->pixmap().cacheKey() == window.GetPictures().Get(picture).cacheKey();
  }
  SimulatedMouse& Mouse() { return mouse_; }
  SimulatedBackend& Bus() { return backend_; }

  PumpingClock clock;

 private:
  SimulatedMouse mouse_;
  SimulatedBackend backend_;

 public:
  AnsweringDialogs* dialogs;  // owned by the window
  TForm1 window;
  Session session;
};

}  // namespace vrdk::shell
