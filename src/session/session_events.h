// What the core asks of a face (the window, the command-line tool, a test).
// Every call comes on the thread that owns the Session, except
// PostToOwnerThread, which the input listener calls from its own thread.
#pragma once

#include <functional>
#include <string_view>

namespace vrdk {

enum class ConnectionState {
  kNoDevice,   // defaults shown under the page covers
  kOpening,    // the mouse was opened and is being identified
  kRejected,   // opened, but its memory type or customer codes are not accepted
  kReading,    // the whole memory is being read
  kConnected,  // DataBuf holds what the mouse holds
};

const char* ConnectionStateName(ConnectionState state);

// The button-test check boxes cb_CPITest, cb_CPIITest, cb_CPIDTest, cb_ProfileTest.
struct ButtonTests {
  bool dpi = false;
  bool dpi_up = false;
  bool dpi_down = false;
  bool profile = false;
  friend bool operator==(const ButtonTests&, const ButtonTests&) = default;
};

class SessionEvents {
 public:
  virtual ~SessionEvents() = default;

  // The modal message dialog with the text of this language key ("Str102");
  // returns when the user has acknowledged it.
  virtual void ShowMessage(std::string_view language_key) = 0;
  // The same dialog with a fixed text of the program ("Loading .bin is error!").
  virtual void ShowText(std::string_view text) = 0;
  // Closes the key-function pop-up menus (HideAllMenu).
  virtual void CloseMenus() {}
  // The loading window: shown (placed at the main window's left + 6, top + 6)
  // with how far the current transfer is, and hidden.
  virtual void ShowLoading(int done, int total) = 0;
  virtual void HideLoading() = 0;
  // The full-page covers Disable_All_1 .. Disable_All_5.
  virtual void ShowPageCovers(bool shown) = 0;
  // DataBuf or the state shown from it changed: show it on every page.
  virtual void RefreshPages() = 0;
  virtual void ConnectionChanged(ConnectionState state) = 0;
  virtual void ButtonTestsChanged(const ButtonTests& tests) = 0;
  // A transfer started (true) or the last one running ended (false); the
  // window may show it and take no input meanwhile.
  virtual void BusyChanged(bool /*busy*/) {}
  // Runs task on the thread that owns the Session (used by the input listener).
  virtual void PostToOwnerThread(std::function<void()> task) = 0;
};

// A face that shows nothing and runs what is posted to it at once: for the
// benchmarks, the fuzz targets and tools that need a Session but no face.
class SilentEvents : public SessionEvents {
 public:
  void ShowMessage(std::string_view) override {}
  void ShowText(std::string_view) override {}
  void ShowLoading(int, int) override {}
  void HideLoading() override {}
  void ShowPageCovers(bool) override {}
  void RefreshPages() override {}
  void ConnectionChanged(ConnectionState) override {}
  void ButtonTestsChanged(const ButtonTests&) override {}
  void PostToOwnerThread(std::function<void()> task) override { task(); }
};

}  // namespace vrdk
