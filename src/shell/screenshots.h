// vrdk-mouse --screenshots=DIR: renders every page of the window in every
// language into DIR (no-device state first, then each page against the
// mouse) and fails when a picture comes out blank.
#pragma once

#include <QImage>
#include <QString>

#include "shell/dialogs.h"

namespace vrdk::shell {

class TForm1;

// Dialogs that answer nobody: messages go to standard error.
class ConsoleDialogs : public ShellDialogs {
 public:
  void Message(QWidget* parent, const QString& text, const QFont& font) override;
  QString SaveFileName(QWidget*, const QString&) override { return {}; }
  QString OpenFileName(QWidget*, const QString&) override { return {}; }
  bool ConfirmReplace(QWidget*, const QString&) override { return false; }
  bool Confirm(QWidget*, const QString&, const QFont&) override { return false; }
  std::optional<QString> Password(QWidget*, const QFont&) override { return std::nullopt; }
  void OpenWebAddress(const QString&) override {}
  std::optional<QColor> Colour(QWidget*, const QColor&, const QString&) override {
    return std::nullopt;
  }
};

// How many distinct colours a coarse sample of the picture holds; a page
// that rendered blank has one or two.
int SampledColours(const QImage& image);

// Runs the window (FormCreate done by the caller, the Session's mouse
// reachable) through its pages; 0 when every picture was written and none is blank.
int RenderScreenshots(TForm1& window, const QString& folder);

}  // namespace vrdk::shell
