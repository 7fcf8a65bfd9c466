// Session: the one owner of the program's state — DataBuf and the side
// buffers, the working images, the DeviceLink, the connection state and the
// working state of every control the logic reads — and the connection logic
// that keeps it in step with the mouse. The window, the command-line tool and
// the tests are faces over it; editors are small classes that operate on it.
//
// Threads: every method runs on the thread that owns the Session. The input
// listener reads input reports on a thread of its own and hands each one to
// the owner thread through SessionEvents::PostToOwnerThread.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "hid/device_link.h"
#include "image/config_buffers.h"
#include "image/image_split.h"
#include "keys/key_context.h"
#include "session/checked_link.h"
#include "session/default_images.h"
#include "session/page_state.h"
#include "session/session_events.h"
#include "session/write_journal.h"
#include "tables/brand_options.h"
#include "tables/language_table.h"
#include "tables/own_texts.h"

namespace vrdk {

struct DeviceIds {
  std::uint16_t vendor_id = 0;
  std::uint16_t product_id = 0;
  friend bool operator==(const DeviceIds&, const DeviceIds&) = default;
};

// Connection state, as the main window holds it.
struct Connection {
  DeviceIds target;                                 // TargetVendorId, TargetProductId
  std::array<DeviceIds, 2> search_list{};           // entry 1 empty unless set
  MemoryType image_memory_type = MemoryType::kI2C;  // ImageMemoryType
  std::optional<MemoryType> device_memory_type;     // DeviceMemoryType; empty while none
  std::array<std::uint8_t, 2> expected_customer_codes{0xFF, 0xFF};  // ExpectedCustomerCodes
  std::array<int, 2> reserved_customer_codes{0, 0};                 // ReservedCustomerCodes
  // edt_VendorID_Rd, edt_ProductID_Rd: the codes of the last identified mouse.
  std::optional<std::array<std::uint8_t, 2>> read_customer_codes;
  // The Fire section as last read from the mouse during identification.
  std::array<std::uint8_t, image::kFireSize> device_fire_section{};
  int last_interface_count = 0;   // LastInterfaceCount
  bool ticked = false;            // DevTimer has looked at the bus since start-up
  bool timer_busy = false;        // TimerBusy
  bool loading = false;           // Loading
  bool dev_timer_enabled = true;  // DevTimer runs
  ConnectionState state = ConnectionState::kNoDevice;
  // The last whole read ended because the mouse left the bus during it.
  bool lost_during_read = false;
  // The last read of the mouse lost answers even when tried again: nothing
  // was taken from it, and the next DevTimer tick reads it again.
  bool read_failed = false;
  int read_failures = 0;  // reads failed in a row; the user is told at the first
  // The next DevTimer tick searches and reads even when the interface count
  // did not change (after a failed read, or a write the mouse did not take).
  bool search_again = false;
  // The last search found the mouse on an interface the user may not open
  // (on Linux a hidraw node without the udev rule).
  std::optional<RefusedInterface> access_denied;
};

// Why an operation that talks to the mouse would not start.
enum class Refusal {
  kNone,
  kBusy,         // another transfer is running; this one came in while it let the window breathe
  kLoading,      // DataBuf is being filled: nothing may be sent meanwhile
  kNoMouse,      // no mouse is open
  kNotAccepted,  // a mouse is open but was not identified and read as this build's
};
// "another transfer is running", "no mouse is connected", ... for messages.
const char* RefusalText(Refusal refusal);

// How a whole read of the mouse ended.
enum class ReadResult {
  kComplete,  // every report arrived
  kFailed,    // answers were lost even when read again: nothing was taken, no-device state
  kLost,      // the mouse left the bus; the no-device state is shown
  kRefused,   // the read did not start
};

// Where the macro storage read from the mouse goes on (the device macro list
// is rebuilt from it); the macro editors plug in here.
class MacroStorageObserver {
 public:
  virtual ~MacroStorageObserver() = default;
  virtual void MacroStorageLoaded(MemoryType type, const image::ConfigBuffers& buffers) = 0;
  virtual void MacroListsCleared() = 0;
};

// One write of a change: a range of persistent memory, or of the live
// settings (1 to 3 bytes go as one write, 4 as one quad, more as a run of
// three-byte writes).
struct WriteTarget {
  bool live = false;
  int address = 0;
  std::span<const std::uint8_t> bytes;
};

// The change the Session is making now (see Session::Change).
struct OpenChange {
  int depth = 0;
  // Writes asked for while the change is open, not sent yet: they go
  // together, recorded whole first, when the change is flushed.
  struct Queued {
    bool live;
    int address;
    std::vector<std::uint8_t> bytes;
  };
  std::vector<Queued> queued;
  bool flushed = false;  // a flush has written (a later one is journalled too)
  JournalRecord record;
  bool saved = false;  // the record is in the journal
  bool failed = false;
};

class Session : private TransferGate {
 public:
  static constexpr auto kDevTimerInterval = Milliseconds(3500);
  static constexpr int kSettleSteps = 21;   // 2.1 s in steps of 100 ms
  static constexpr int kRestartSteps = 51;  // 5.1 s in steps of 100 ms
  static constexpr auto kStep = Milliseconds(100);
  static constexpr auto kBeforeRestart = Milliseconds(500);
  static constexpr auto kAfterRelease = Milliseconds(200);

  Session(HidBackend& backend, Clock& clock, SessionEvents& events, DefaultImageSet defaults);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // --- Start-up and the input listener ---------------------------------------
  // Takes the target ids and memory type from default image 1, fills DataBuf
  // from it (the no-device state) and sets the search list.
  void StartUp();
  void SetReservedCustomerCodes(int vendor_code, int product_code);
  // The brand's options from [org]; also sets the reserved customer codes.
  void SetBrandOptions(const BrandOptions& options);
  // Whether a mouse with these factory codes is accepted: the default
  // image's pair or the brand's reserved pair.
  bool CustomerCodesAccepted(std::uint8_t vendor_code, std::uint8_t product_code) const;
  void StartInputListener();
  void StopInputListener();

  // --- The connection ------------------------------------------------------------
  void DevTimerTimer();
  void StartDevTimer();
  void StopDevTimer();
  void ReFindDev();
  void ReadDevInfo();
  ReadResult Btn_Read();
  void InitNoDevice();
  void RefreshErrorAP();
  void DeviceLost();
  void RestartDevice();
  bool RefreshProfileParameter();
  // After a DPI button on the mouse: reads the current level back from its
  // memory and takes it as the current level.
  void RefreshCurrentDPIStatus();
  // One input report, on the owner thread.
  void HandleInputReport(std::array<std::uint8_t, 4> report);

  // --- Transfers and the write guard --------------------------------------------
  // What keeps an operation that talks to the mouse (a write, a save, a raw
  // command) from starting now: a transfer running, Loading, no mouse, or a
  // mouse that was not accepted (memory type, customer codes). kNone: go on.
  Refusal CheckAccess() const;
  // A transfer or a multi-step operation of the core is running (the window
  // may show it, and should not take input meanwhile).
  bool Busy() const { return transfer_depth_ > 0; }
  // Runs task now when no transfer is running, else once the running one is
  // over. Owner thread only.
  void RunWhenIdle(std::function<void()> task);
  // Holds the transfer guard for one operation of several transfers, so that
  // nothing else starts between them. False when refused (see Refusal::kBusy).
  class Operation {
   public:
    explicit Operation(Session& session) : session_(session), open_(session.BeginTransfer()) {}
    ~Operation() {
      if (open_) session_.EndTransfer();
    }
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;
    explicit operator bool() const { return open_; }

   private:
    Session& session_;
    bool open_;
  };

  // Fills DataBuf from the working image of the build's memory type exactly as
  // a read does (checks included) and returns the repaired sections.
  image::RepairedSections FillFromWorkingImage();
  // DataBufToUI: rebuilds the code display strings and the state shown from
  // DataBuf (the page fillers run in the order added), then refreshes every page.
  void DataBufToUI();
  // Editors that keep working state of their own add how they show DataBuf.
  void AddPageFiller(std::function<void()> fill) { page_fillers_.push_back(std::move(fill)); }
  // What follows every whole read of the mouse, once the main page is shown
  // (the fire-macro file is loaded again), in the order added.
  void AddReadFollower(std::function<void()> follow) {
    read_followers_.push_back(std::move(follow));
  }

  // --- Whole transfers, the write journal and what the mouse holds ------------
  // Transfers that are whole or fail: retried, and writes read back.
  CheckedLink& Checked() { return checked_; }
  // Where write records are kept; none by default (nothing is recorded).
  void SetJournal(WriteJournal journal) { journal_ = std::move(journal); }
  const WriteJournal& Journal() const { return journal_; }
  // The mouse's persistent memory as last read whole, with every write
  // verified since; empty while it is not known.
  std::vector<std::uint8_t>& DeviceMemory() { return device_memory_; }
  // A change the mouse did not take whole: the face is told (message) and
  // the run remembers it. message says what the mouse holds now. The next
  // DevTimer tick reads the mouse again.
  void ReportTrouble(const std::string& message);
  const std::vector<std::string>& Troubles() const { return troubles_; }

  // A change: the writes that make up one edit. Writes asked for while a
  // Change is open are held and sent together when it is flushed: when the
  // outermost Change ends, before a restart, or when a road needs them done
  // (FlushChange). Before the first byte goes, a change that writes memory,
  // or more than one live write, is recorded whole in the write journal; the
  // record goes once every write was whole (a change ending in a restart:
  // once the restart was sent). A write the mouse does not take whole ends
  // the change: the user is told what the mouse holds, and the change's
  // later writes are not sent. A Change made while another is open joins it.
  class Change {
   public:
    Change(Session& session, WriteSubject subject);
    ~Change();
    Change(const Change&) = delete;
    Change& operator=(const Change&) = delete;
    // The change so far is whole.
    bool ok() const;

   private:
    Session& session_;
  };
  // Writes targets in order: within the open change, held until it is
  // flushed (true unless the change had failed); with none open, at once as
  // a change of its own about `subject`. False when a write was not whole or
  // the change had failed before; nothing is sent then.
  bool WriteTargets(std::span<const WriteTarget> targets,
                    WriteSubject subject = WriteSubject::kSettings);
  // Sends what the open change holds; false when the change is not whole.
  bool FlushChange();
  // One write outside the journal (the profile byte the reload puts back):
  // retried, read back, and what is known of the mouse follows it.
  WriteCheck WriteOne(const WriteTarget& target) { return WriteTarget1(target); }
  // What the open change needs after its writes, should the journal finish it.
  void SetAfterWrite(AfterWrite then, std::uint8_t profile_byte = 0);
  // Ends the open change as not taken: `what` says which step the mouse did
  // not take (the profile reload, the restart).
  void FailChange(OwnText what);
  // The program's own text in the current language.
  std::string Own(OwnText text, std::initializer_list<std::string_view> args = {}) const {
    return OwnTextFor(text, current_language_, args);
  }

  // --- State -----------------------------------------------------------------
  DeviceLink& Link() { return link_; }
  Clock& GetClock() { return clock_; }
  SessionEvents& Events() { return events_; }
  const DefaultImageSet& Defaults() const { return defaults_; }
  Connection& Conn() { return connection_; }
  const Connection& Conn() const { return connection_; }
  PageState& Pages() { return pages_; }
  const PageState& Pages() const { return pages_; }
  image::ConfigBuffers& Buffers() { return buffers_; }
  const image::ConfigBuffers& Buffers() const { return buffers_; }
  image::DataBuf& Data() { return buffers_.data_buf; }
  const image::DataBuf& Data() const { return buffers_.data_buf; }
  // The working image of the build's memory type (2048 or 65536 bytes).
  std::vector<std::uint8_t>& WorkingImage() { return working_image_; }
  const std::vector<std::uint8_t>& WorkingImage() const { return working_image_; }
  // The memory type the maps branch on: the mouse's, or the build's while none.
  MemoryType ActiveMemoryType() const;
  image::DefaultInputs DefaultsInputs() const;
  const BrandOptions& Brand() const { return brand_; }
  // The three language tables and the current language (1..3).
  const LanguageTables& Languages() const { return languages_; }
  const LanguageTable& Language() const { return languages_.Table(current_language_); }
  int CurrentLanguage() const { return current_language_; }
  void SetCurrentLanguage(int language);
  // The working state key codes are built from and named with.
  KeyCodeContext& Keys() { return keys_; }
  const KeyCodeContext& Keys() const { return keys_; }
  // NameForCode in the current language.
  std::string NameForCode(std::string_view code);
  void SetMacroStorageObserver(MacroStorageObserver* observer) { macro_observer_ = observer; }
  MacroStorageObserver* MacroObserver() { return macro_observer_; }
  // State an editor keeps for the whole run (the macro stores) lives as long
  // as the Session; it is destroyed before the rest of the Session.
  void KeepEditorState(std::shared_ptr<void> state) { editor_state_.push_back(std::move(state)); }

 private:
  // The clock the core waits with: it counts the message pumps it is inside,
  // so that a transfer asked for while the window breathes is refused.
  class PumpCountingClock : public Clock {
   public:
    PumpCountingClock(Clock& clock, int& depth) : clock_(clock), depth_(depth) {}
    void Sleep(Milliseconds duration) override { clock_.Sleep(duration); }
    void BusyWait(Microseconds duration) override { clock_.BusyWait(duration); }
    Microseconds Now() const override { return clock_.Now(); }
    void Elapse(Microseconds duration) override { clock_.Elapse(duration); }
    void ProcessMessages() override;

   private:
    Clock& clock_;
    int& depth_;
  };

  class LoadingAdapter : public LoadingWindow {
   public:
    explicit LoadingAdapter(Session& session) : session_(session) {}
    void ShowLoading(int done, int total) override;
    void HideLoading() override;
    // A transfer that is part `part` of `parts` equal parts of a longer job.
    void SetPart(int part, int parts);

   private:
    Session& session_;
    int part_ = 0;
    int parts_ = 1;
  };

  bool BeginTransfer() override;
  void EndTransfer() override;
  void SetState(ConnectionState state);
  void ShowMainPage();
  void NotifyInputHandleChanged();
  // The reads after an input report; released: the buttons just released.
  void ReadBackAfterInput(std::uint8_t released);
  void ListenForInput();
  bool OpenSearchEntry(const DeviceIds& ids);
  // Reads the whole memory into the working image with whole reads; a
  // checked section that fails its check is read once more on its own.
  bool ReadWholeMemory();
  void RereadFailedSections();
  // The live settings as the memory just read holds them.
  void TakeLiveFromMemory();
  // A read that lost answers: the mouse left (kLost) or is not taken (kFailed).
  ReadResult EndFailedRead();
  // The write journal's record of this mouse, judged against what was read.
  void FinishJournal();
  bool ApplyJournalRecord(const JournalRecord& record);
  // Writes one target whole, updating what is known of the mouse.
  WriteCheck WriteTarget1(const WriteTarget& target);
  // The old bytes of a target: from what is known of the mouse, else read.
  std::optional<std::vector<std::uint8_t>> OldBytes(const WriteTarget& target);
  // OldBytes after the change's earlier writes.
  std::optional<std::vector<std::uint8_t>> OldBytesInChange(const WriteTarget& target);
  bool JournalNeeded() const;
  bool WriteNow(std::span<const WriteTarget> targets);
  void EndChange();
  // The user's message for the open change, failed at range `failed` of its
  // record with `held` in it (nothing: not known).
  std::string HoldsMessage(std::size_t failed,
                           const std::optional<std::vector<std::uint8_t>>& held) const;
  void FailOpenChange(const std::string& message, bool something_changed);
  bool FinishPendingRecord();
  std::string WhatText(WriteSubject subject) const;

  HidBackend& backend_;
  int pump_depth_ = 0;      // message pumps of the core running now
  int transfer_depth_ = 0;  // transfers and operations running now
  std::vector<std::function<void()>> when_idle_;
  PumpCountingClock clock_;
  SessionEvents& events_;
  DefaultImageSet defaults_;
  LoadingAdapter loading_adapter_;
  DeviceLink link_;
  CheckedLink checked_;
  WriteJournal journal_;
  std::vector<std::uint8_t> device_memory_;
  std::vector<std::uint8_t> live_memory_;  // the live settings, as far as known (192 bytes or none)
  std::vector<std::string> troubles_;
  std::optional<OpenChange> change_;
  // The journal finished a write that needs the mouse restarted.
  bool restart_after_read_ = false;
  Connection connection_;
  PageState pages_;
  image::ConfigBuffers buffers_;
  std::vector<std::uint8_t> working_image_;
  MacroStorageObserver* macro_observer_ = nullptr;
  BrandOptions brand_;
  LanguageTables languages_;
  int current_language_ = 1;
  KeyCodeContext keys_;
  std::vector<std::function<void()>> page_fillers_;
  std::vector<std::function<void()>> read_followers_;

  // Button presses remembered until the release report.
  std::uint8_t pressed_ = 0;

  // Input listener.
  std::thread listener_;
  std::mutex listener_mutex_;
  std::condition_variable listener_wake_;
  std::uint64_t input_generation_ = 0;  // moves on whenever the input handle may change
  bool listener_stop_ = false;

  // Last, so that editor state goes first.
  std::vector<std::shared_ptr<void>> editor_state_;
};

}  // namespace vrdk
