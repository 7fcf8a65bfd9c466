// Operations that replace the mouse's whole memory and restart it: the three
// factory resets behind the confirm buttons, restore defaults, and loading a
// profile file; and saving the whole memory to a profile file.
//
// A profile file is the raw configuration image with no header of its own:
// 2048 bytes for "I2C", 65536 bytes (the 32 pages in order) for "Flash". Its
// memory type marker (the Fire section's byte 11) must match the mouse.
#pragma once

#include <string>

#include "files/atomic_file.h"
#include "session/session.h"

namespace vrdk {

struct Outcome {
  enum class Kind {
    kDone,
    kNoMouse,    // the mouse is not open ("Str022")
    kFileError,  // the file could not be read or written
    kWrongKind,  // the file is not an image of this mouse's memory type
  };
  Kind kind = Kind::kDone;
  std::string detail;  // what went wrong, for the user
  bool ok() const { return kind == Kind::kDone; }
};

class ImageWrites {
 public:
  static constexpr std::string_view kNoMouseMessage = "Str022";
  static constexpr std::string_view kWrongFileMessage = "Loading .bin is error!";

  explicit ImageWrites(Session& session) : session_(session) {}

  // The confirm buttons Btn_Confirm1_ .. Btn_Confirm3_ (n = 1, 2, 3): with no
  // mouse only the message "Str022"; otherwise DefaultParameterConfirm n.
  Outcome ConfirmClick(int n);
  // Restores default image n and writes it whole: n = 1 takes default image 1
  // for an "I2C" mouse whose patch fits it (874 bytes or less) and image 2
  // otherwise; n = 2 and 3 take images 2 and 3.
  void DefaultParameterConfirm(int n);
  // Spreads the working image (just loaded from a file) into DataBuf, writes
  // it whole, and restarts the mouse.
  void MemoToDataBuf_OnClick();
  // Restore defaults (TLDefaultParameter): every section from its defaults,
  // no macros, the patch kept; written whole, then the mouse restarts.
  void TLDefaultParameter();

  // Reads the whole mouse again and saves its raw image to path.
  Outcome SaveProfileFile(const std::string& path, files::FailAt fail_at = files::FailAt::kNever);
  // Loads a profile file into the mouse: the marker is checked, then the file
  // is spread into DataBuf, written whole, and the mouse restarted and read.
  Outcome LoadProfileFile(const std::string& path);

 private:
  void BeginWholeWrite();
  void EndWholeWrite();

  Session& session_;
};

}  // namespace vrdk
