// A page of the window (gbPage1 .. gbPage5, gbPage7) and what a page may ask
// of the window. Each page is its own class (shell/pages/); the window
// creates them, places their named controls by the skin, and tells them when
// to show the Session's state again.
//
// A page's own controls are children of the page, created in its constructor:
// the window then lays the page cover Disable_All_n and the navigation bar
// over them. Controls a page opens later (menus) raise themselves.
#pragma once

#include <QFont>
#include <QLabel>
#include <QString>
#include <QWidget>
#include <string_view>

#include "session/session.h"
#include "tables/language_table.h"
#include "tables/skin_layout.h"

namespace vrdk::settings {
class PointerPlatform;
}  // namespace vrdk::settings

namespace vrdk::shell {

class Pictures;
class ShellDialogs;
class PictureLabel;

// The window's services for its pages.
class ShellServices {
 public:
  virtual ~ShellServices() = default;
  virtual Session& GetSession() = 0;
  virtual Pictures& GetPictures() = 0;
  virtual const SkinLayout& Skin() const = 0;
  virtual const LanguageTable& Language() const = 0;
  // The language table's font ("FontName") at a size in points.
  virtual QFont TableFont(int points) const = 0;
  // The message dialog with the text of a language key ("Str022"), or a text.
  virtual void ShowMessageKey(std::string_view key) = 0;
  virtual void ShowMessageText(const QString& text) = 0;
  // The system's file dialogs; empty on cancel.
  virtual QString AskOpenFile(const QString& filter) = 0;
  virtual QString AskSaveFile(const QString& filter) = 0;
  // The dialogs (message, files, password), for what the calls above do not cover.
  virtual ShellDialogs& Dialogs() = 0;
  // HideAllMenu: closes every page's pop-up menus.
  virtual void HideAllMenu() = 0;
  // The rolling caption of a hovered label (while the brand rolls captions):
  // started on mouse enter, stopped with its caption given back on leave or
  // when the label is clicked.
  virtual void StartRolling(QLabel* label) = 0;
  virtual void StopRolling(QLabel* label) = 0;
  // The window as the parent of dialogs.
  virtual QWidget* Window() = 0;
  // Where the system's pointer settings are read and applied; nullptr when
  // the window has none.
  virtual settings::PointerPlatform* PointerSettingsPlatform() = 0;
};

class EditField;
class NumberField;

class Page : public QWidget {
  Q_OBJECT
 public:
  // group: 1..5 or 7 (gbPage7 is the engineer page).
  Page(int group, ShellServices& services, QWidget* parent);

  int Group() const { return group_; }

  // Show the Session's state again (DataBuf or the working state changed).
  virtual void ShowState() {}
  // The language changed: captions again. The skin is applied already.
  virtual void ApplyLanguage() {}
  // The page became the one shown.
  virtual void Shown() {}
  // Close the page's pop-up menus.
  virtual void HideMenus() {}
  // The button-test check boxes changed (the mouse's DPI or profile button).
  virtual void ShowButtonTests(const ButtonTests& /*tests*/) {}

  // The window background Img_Base_n and the page picture Img_Pn (the page
  // background of the language); pages 1..5 only.
  PictureLabel* Base() const { return base_; }
  PictureLabel* PagePicture() const { return picture_; }

 protected:
  ShellServices& services_;
  // Shows a value the mouse holds in a box; one the user is typing in keeps
  // what was typed until DataBuf is filled anew.
  void ShowField(EditField* field, const QString& text);
  void ShowField(NumberField* field, long value);

 private:
  int group_;
  PictureLabel* base_ = nullptr;
  PictureLabel* picture_ = nullptr;
};

}  // namespace vrdk::shell
