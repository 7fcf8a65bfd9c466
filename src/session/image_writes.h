// Operations that replace the mouse's whole memory and restart it: the three
// factory resets behind the confirm buttons, restore defaults, and loading a
// profile file; and saving the whole memory to a profile file.
//
// A profile file is the raw configuration image with no header of its own:
// 2048 bytes for "I2C", 65536 bytes (the 32 pages in order) for "Flash". Its
// memory type marker (the Fire section's byte 11) must match the mouse.
#pragma once

#include <string>

#include "base/result.h"
#include "files/atomic_file.h"
#include "image/profile_file.h"
#include "session/session.h"

namespace vrdk {

// A refused operation as a result: kNoMouse for a missing or unaccepted
// mouse, kRefused for the others.
Result<void> RefusedOutcome(Refusal refusal);

class ImageWrites {
 public:
  static constexpr std::string_view kNoMouseMessage = "Str022";
  static constexpr std::string_view kWrongFileMessage = "Loading .bin is error!";

  explicit ImageWrites(Session& session) : session_(session) {}

  // Every operation here talks to the mouse only when Session::CheckAccess
  // lets it: never while Loading is set or another transfer runs, never to a
  // mouse that is not open or was not accepted. A refused one changes nothing.

  // The confirm buttons Btn_Confirm1_ .. Btn_Confirm3_ (n = 1, 2, 3): with no
  // mouse only the message "Str022"; otherwise DefaultParameterConfirm n.
  Result<void> ConfirmClick(int n);
  // Restores default image n and writes it whole: n = 1 takes default image 1
  // for an "I2C" mouse whose patch fits it (874 bytes or less) and image 2
  // otherwise; n = 2 and 3 take images 2 and 3.
  Result<void> DefaultParameterConfirm(int n);
  // Spreads the working image (just loaded from a file) into DataBuf, writes
  // it whole, and restarts the mouse.
  Result<void> WriteLoadedImage();
  // Restore defaults (TLDefaultParameter): every section from its defaults,
  // no macros, the patch kept; written whole, then the mouse restarts.
  Result<void> TLDefaultParameter();

  // Reads the whole mouse again and saves its raw image to path. Only a read
  // in which every report arrived is saved: otherwise the file is left as it
  // was and the outcome says why.
  Result<void> SaveProfileFile(const std::string& path,
                               files::FailAt fail_at = files::FailAt::kNever);
  // Loads a profile file into the mouse. The file is checked whole before
  // anything is sent (its size, marker, section checksums and patch header;
  // and, unless force is given, that the mouse keeps USB ids and customer
  // codes this program finds and accepts); then it is spread into DataBuf,
  // written whole, and the mouse restarted and read.
  Result<void> LoadProfileFile(const std::string& path, bool force = false);

 private:
  // The refusal as an outcome; with show_message the message "Str022" for a
  // missing or refused mouse, as the confirm, save and load buttons show it.
  Result<void> Refused(Refusal refusal, bool show_message);
  void BeginWholeWrite();
  // Restarts the mouse after a whole write; the outcome of the change.
  Result<void> EndWholeWrite(const Session::Change& change);
  Result<void> SpreadAndWriteLoadedImage();
  Result<void> WriteFailed() const;
  std::string ProblemText(const std::string& path, const image::ProfileFileProblem& problem,
                          MemoryType type) const;

  Session& session_;
};

}  // namespace vrdk
