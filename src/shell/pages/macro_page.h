// gbPage4: the macro page. Three lists side by side: the macro library on
// the computer (LB_PCMacroName, with its pop-up panel Pnl_PCMacro), the
// macros in the mouse (LB_MacroName, Pnl_DevMacro) and the event lines of
// the macro chosen in either (the owner-drawn LB_macro, Pnl_DevContent for a
// library macro's lines). Below them the record-new and record buttons
// (Btn_New, Btn_Start) and the delay group Gb_Delay (record delays, a fixed
// delay in Edt_Delay, no delays) or, while lines are inserted, the insert
// panel Gb_Insert over Img_InsertBase.
//
// A recording runs into the selected library macro: the keyboard and the
// mouse buttons are captured (see macro_capture.h), the core's recorder
// makes the lines within the macro's 256 bytes, and stopping stores them in
// the library file. Every change goes through the core (the macro library,
// the mouse's macro store), which refuses what the mouse could not read back.
//
// The page's parts sit in files of their own: macro_page.cc (the lists and
// what they show), macro_menus.cc (the three pop-up menus and their
// entries), macro_recorder_panel.cc (the recorder and the delay group),
// macro_insert_panel.cc (the insert panel), macro_page_look.cc (language
// and skin), with the row delegate in macro_rows.h and the picture buttons
// and number fields in macro_controls.h. The rules of editing lines are the
// core's (macros/line_editing.h).
#pragma once

#include <QList>
#include <functional>
#include <memory>
#include <optional>

#include "macros/editors/device_macros.h"
#include "macros/macro_library.h"
#include "macros/recording.h"
#include "shell/macro_capture.h"
#include "shell/page.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace vrdk::shell {

class MenuPanel;
class NumberField;
class PictureLabel;
class SkinLabel;

class MacroPage : public Page, private RecorderSink {
  Q_OBJECT
 public:
  using Tick = std::function<std::uint32_t()>;

  MacroPage(ShellServices& services, QWidget* parent);
  ~MacroPage() override;

  void ShowState() override;
  void ApplyLanguage() override;
  void Shown() override;
  void HideMenus() override;  // ClearMacro

  // The handlers, as the controls call them.
  void Btn_StartClick();
  void Btn_NewClick();
  void Btn_NewNameClick();
  void Btn_DelPCMacroClick();
  void Btn_ImportOneClick();
  void Btn_ImportClick();
  void Btn_ExportOneClick();
  void Btn_ExportClick();
  void Btn_AddMacroClick();
  void Btn_DelMacroClick();
  void Btn_SaveMacroClick();
  void Btn_DevExportClick();
  void Btn_DevImportClick();
  void Btn_EditClick();
  void Btn_DelClick();
  void Btn_InsertClick();
  void Btn_OKClick();
  void Btn_CancelClick();
  void Btn_InsertStartClick();

  bool Recording() const;
  bool Inserting() const { return inserting_; }
  macros::MacroLibrary& Library() { return library_; }
  // The clock of recorded delays (the system's tick counter unless a test
  // sets its own).
  void SetTick(Tick tick) { tick_ = std::move(tick); }

 protected:
  // Opens a list's pop-up panel at `at`; from the keyboard its first entry
  // takes the focus.
  void OpenPanel(QListWidget* list, QListWidgetItem* item, QPoint at, bool keyboard);
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Where the lines shown in LB_macro come from.
  enum class Source { kNone, kLibrary, kMouse };

  // RecorderSink: the capture's events, on the window's thread.
  void RecordKey(int virtual_key, macros::KeyEventType type) override;
  void RecordButton(macros::MouseNote note, bool over_record_button) override;

  void BuildLists();
  void BuildButtons();
  void BuildDelayGroup();
  void BuildInsertPanel();
  void BuildPanels();
  void EnsureLibrary();
  macros::DeviceMacros* Store() const;

  // LB_PCMacroNameClick / LB_MacroNameClick: the macro's lines in LB_macro.
  void ShowLibraryMacro();
  void ShowDeviceMacro();
  void ShowLines(const macros::MacroText& lines, Source source);
  void ClearEditor();
  void RefreshPCMacroName(std::optional<int> select);
  void RefreshMacroName(std::optional<int> select);
  // Lines the recorder added since the last call; stops a full recording.
  void TakeRecorderChanges();
  void StartCapture();
  void StopCapture();
  void SetRecordingLook(bool recording);
  // The edited lines stored into the selected library macro.
  bool StoreLines(const macros::MacroText& lines, std::optional<int> select_row);
  void CloseInsertPanel();
  void ShowInsertControls();
  void SelectDelayMode(macros::DelayMode mode, bool insert);
  macros::DelayMode Mode(bool insert) const { return insert ? insert_mode_ : delay_mode_; }
  int FixedDelay(bool insert) const;
  // The highlighted row of each list; nothing when none is highlighted.
  std::optional<int> SelectedLibraryMacro() const;
  std::optional<int> SelectedDeviceMacro() const;
  std::optional<int> SelectedLine() const;
  // A library or store failure: "Str106", "Str103" or the message.
  void ShowOutcome(const Result<void>& outcome);
  // The file dialogs of the imports and exports; empty on cancel. Exports
  // get ".bin" appended and ask before replacing a file.
  QString ImportFile();
  QString ExportFile();
  QString Text(const char* key) const;
  void Restyle();

  macros::MacroLibrary library_;
  bool library_loaded_ = false;
  std::unique_ptr<macros::MacroRecording> recording_;
  std::unique_ptr<RecorderCapture> capture_;
  Tick tick_ = macros::SystemTick;

  QListWidget* pc_names_ = nullptr;      // LB_PCMacroName
  QListWidget* device_names_ = nullptr;  // LB_MacroName
  QListWidget* lines_list_ = nullptr;    // LB_macro
  MenuPanel* pc_panel_ = nullptr;        // Pnl_PCMacro
  MenuPanel* device_panel_ = nullptr;    // Pnl_DevMacro
  MenuPanel* content_panel_ = nullptr;   // Pnl_DevContent
  SkinLabel* new_button_ = nullptr;      // Btn_New
  SkinLabel* start_button_ = nullptr;    // Btn_Start
  SkinLabel* insert_start_ = nullptr;    // Btn_InsertStart
  QWidget* delay_group_ = nullptr;       // Gb_Delay
  QWidget* insert_group_ = nullptr;      // Gb_Insert
  QList<QWidget*> delay_controls_;
  QList<QWidget*> insert_controls_;
  NumberField* delay_edit_ = nullptr;  // Edt_Delay
  NumberField* insert_delay_ = nullptr;
  NumberField* x_edit_ = nullptr;
  NumberField* y_edit_ = nullptr;
  NumberField* repeat_edit_ = nullptr;
  QComboBox* insert_list_ = nullptr;  // CB_Insert
  PictureLabel* insert_base_ = nullptr;

  Source source_ = Source::kNone;
  macros::MacroText shown_;  // the lines LB_macro shows, header first
  macros::DelayMode delay_mode_ = macros::DelayMode::kRecorded;
  macros::DelayMode insert_mode_ = macros::DelayMode::kRecorded;
  bool inserting_ = false;
  int insert_top_ = 0;  // LB_macro's scroll position when the panel opened
  int insert_row_ = -1;
};

}  // namespace vrdk::shell
