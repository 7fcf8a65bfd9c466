#include "session/image_writes.h"

#include <algorithm>
#include <cstdio>

#include "image/image_assembly.h"
#include "image/profile_file.h"
#include "image/section_defaults.h"
#include "macros/macro_name.h"
#include "session/write_roads.h"
#include "tables/own_texts.h"

namespace vrdk {

Result<void> RefusedOutcome(Refusal refusal) {
  const bool no_mouse = refusal == Refusal::kNoMouse || refusal == Refusal::kNotAccepted;
  return Error{no_mouse ? ErrorKind::kNoMouse : ErrorKind::kRefused, RefusalText(refusal)};
}

Result<void> ImageWrites::Refused(Refusal refusal, bool show_message) {
  Result<void> outcome = RefusedOutcome(refusal);
  if (show_message && outcome.Is(ErrorKind::kNoMouse)) {
    session_.Events().ShowMessage(kNoMouseMessage);
    outcome.error().shown = true;
  }
  return outcome;
}

Result<void> ImageWrites::ConfirmClick(int n) {
  if (const Refusal refusal = session_.CheckAccess(); refusal != Refusal::kNone) {
    return Refused(refusal, true);
  }
  return DefaultParameterConfirm(n);
}

void ImageWrites::BeginWholeWrite() {
  session_.Conn().loading = true;
  session_.Events().CloseMenus();
  session_.StopDevTimer();
  session_.Events().ShowPageCovers(true);
  session_.Events().ShowLoading(0, 1);
}

Result<void> ImageWrites::WriteFailed() const {
  const auto& troubles = session_.Troubles();
  return Error{ErrorKind::kDeviceFailed, troubles.empty() ? std::string() : troubles.back(), true};
}

Result<void> ImageWrites::EndWholeWrite(const Session::Change& change) {
  session_.FlushChange();  // the writes go while the loading window shows
  session_.Events().HideLoading();
  session_.GetClock().ProcessMessages();
  session_.StartDevTimer();
  session_.Conn().loading = false;
  // Also after a write that was cut short: the fresh read shows what the
  // mouse holds, and the journal finishes the write when it comes back.
  session_.RestartDevice();
  return change.ok() ? Result<void>{} : WriteFailed();
}

Result<void> ImageWrites::DefaultParameterConfirm(int n) {
  if (const Refusal refusal = session_.CheckAccess(); refusal != Refusal::kNone) {
    return Refused(refusal, false);
  }
  const Session::Operation operation(session_);
  const Session::Change change(session_, WriteSubject::kWholeMemory);
  BeginWholeWrite();
  int source = std::clamp(n, 1, 3);
  if (n == 1 && session_.Conn().image_memory_type == MemoryType::kI2C &&
      !session_.Buffers().patch_fits_image1) {
    source = 2;
  }
  session_.WorkingImage() = session_.Defaults().WorkingImage(source);
  session_.FillFromWorkingImage();
  session_.Events().ShowLoading(0, 1);
  session_.DataBufToUI();
  WriteRoads(session_).WriteWorkingImage();
  return EndWholeWrite(change);
}

Result<void> ImageWrites::WriteLoadedImage() {
  if (const Refusal refusal = session_.CheckAccess(); refusal != Refusal::kNone) {
    return Refused(refusal, false);
  }
  return SpreadAndWriteLoadedImage();
}

Result<void> ImageWrites::SpreadAndWriteLoadedImage() {
  const Session::Operation operation(session_);
  const Session::Change change(session_, WriteSubject::kWholeMemory);
  session_.Events().CloseMenus();
  session_.StopDevTimer();
  session_.Events().ShowPageCovers(true);
  session_.FillFromWorkingImage();
  session_.DataBufToUI();
  session_.Events().ShowLoading(0, 1);
  session_.GetClock().ProcessMessages();
  WriteRoads(session_).WriteWorkingImage();
  session_.FlushChange();
  session_.Events().HideLoading();
  session_.GetClock().ProcessMessages();
  session_.StartDevTimer();
  session_.RestartDevice();
  return change.ok() ? Result<void>{} : WriteFailed();
}

Result<void> ImageWrites::TLDefaultParameter() {
  if (const Refusal refusal = session_.CheckAccess(); refusal != Refusal::kNone) {
    return Refused(refusal, false);
  }
  const Session::Operation operation(session_);
  const Session::Change change(session_, WriteSubject::kWholeMemory);
  BeginWholeWrite();
  image::ConfigBuffers& buffers = session_.Buffers();
  const image::DefaultInputs inputs = session_.DefaultsInputs();
  session_.Pages().code_texts = {};
  for (image::Section section : image::kCheckedSections) {
    image::FillSectionDefaults(buffers.data_buf, section, inputs);
  }
  image::FillFireDefaults(image::Fire(buffers.data_buf), inputs);
  session_.DataBufToUI();

  // No macros remain: an empty "I2C" area, or the default "Flash" names over
  // empty slots.
  buffers.macro_area.fill(0);
  buffers.macro_pages.fill(0);
  buffers.macro_names = macros::DefaultMacroNameTable();
  if (auto* observer = session_.MacroObserver()) {
    observer->MacroStorageLoaded(session_.Conn().image_memory_type, buffers);
  }
  image::AssembleImage(buffers, session_.Conn().image_memory_type, session_.WorkingImage());
  WriteRoads(session_).WriteWorkingImage();
  return EndWholeWrite(change);
}

Result<void> ImageWrites::SaveProfileFile(const std::string& path, files::FailAt fail_at) {
  if (const Refusal refusal = session_.CheckAccess(); refusal != Refusal::kNone) {
    return Refused(refusal, true);
  }
  // The file holds what the mouse holds: read it again, raw bytes and all.
  // What a read with lost reports or a lost mouse left in the working image
  // is not the mouse's, and must not replace a good file.
  const ReadResult read = session_.Btn_Read();
  switch (read) {
    case ReadResult::kComplete:
      break;
    case ReadResult::kFailed:  // the read said why; nothing more is saved
    case ReadResult::kLost: {
      const std::string said = session_.Own(read == ReadResult::kLost ? OwnText::kSaveReadLost
                                                                      : OwnText::kSaveReadDamaged);
      session_.Events().ShowText(said);
      return Error{ErrorKind::kDeviceFailed, said, true};
    }
    case ReadResult::kRefused:
      return Refused(Refusal::kBusy, false);
  }
  if (auto written = files::WriteFileAtomically(path, session_.WorkingImage(), fail_at);
      !written.ok()) {
    return Error{ErrorKind::kFileError, written.message()};
  }
  return {};
}

Result<void> ImageWrites::LoadProfileFile(const std::string& path, bool force) {
  if (const Refusal refusal = session_.CheckAccess(); refusal != Refusal::kNone) {
    return Refused(refusal, true);
  }
  const Session::Operation operation(session_);
  Connection& conn = session_.Conn();
  conn.loading = true;
  auto finish = [&](Result<void> outcome) {
    conn.loading = false;
    return outcome;
  };
  const MemoryType type = conn.image_memory_type;
  const std::size_t size = MemorySize(type);
  // One byte more than a profile file: a longer file is found out too.
  const auto file = files::ReadFilePrefix(path, size + 1);
  if (!file.ok()) return finish(Error{ErrorKind::kFileError, file.message()});
  const std::vector<std::uint8_t>& bytes = file.value();
  image::ProfileFileRules rules{type, conn.target.vendor_id, conn.target.product_id, {}};
  rules.accepted_codes = {{conn.expected_customer_codes[0], conn.expected_customer_codes[1]},
                          conn.reserved_customer_codes};
  std::string refused;
  std::string overridable;
  for (const image::ProfileFileProblem& problem : image::CheckProfileFile(bytes, rules)) {
    std::string& text = problem.overridable() ? overridable : refused;
    if (!text.empty()) text += " ";
    text += ProblemText(path, problem, type);
  }
  if (!refused.empty()) {
    session_.Events().ShowText(refused);
    return finish(Error{ErrorKind::kWrongKind, refused, true});
  }
  if (!overridable.empty() && !force) {
    return finish(Error{ErrorKind::kNeedsForce, overridable});
  }
  std::copy(bytes.begin(), bytes.end(), session_.WorkingImage().begin());
  Result<void> outcome = SpreadAndWriteLoadedImage();
  return finish(std::move(outcome));
}

std::string ImageWrites::ProblemText(const std::string& path,
                                     const image::ProfileFileProblem& problem,
                                     MemoryType type) const {
  using Kind = image::ProfileFileProblem::Kind;
  char ids[32];
  switch (problem.kind) {
    case Kind::kSize:
      return session_.Own(OwnText::kFileSize,
                          {path, std::to_string(problem.detail), MemoryTypeName(type),
                           std::to_string(MemorySize(type))});
    case Kind::kMarker:
      return std::string(kWrongFileMessage);
    case Kind::kSections: {
      std::vector<std::string> names;
      for (const image::Section section : problem.sections) {
        names.emplace_back(image::SectionName(section));
      }
      return session_.Own(OwnText::kFileSections,
                          {path, JoinedList(names, session_.CurrentLanguage())});
    }
    case Kind::kPatchLength:
      return session_.Own(OwnText::kFilePatchLength, {path, std::to_string(problem.detail),
                                                      std::to_string(image::kPatchCodeSize)});
    case Kind::kCustomerCodes:
      return session_.Own(OwnText::kFileCustomerCodes, {path, std::to_string(problem.codes[0]),
                                                        std::to_string(problem.codes[1])});
    case Kind::kUsbIds: {
      const auto target = session_.Conn().target;
      std::snprintf(ids, sizeof ids, "%04X:%04X", problem.vendor_id, problem.product_id);
      const std::string file_ids = ids;
      std::snprintf(ids, sizeof ids, "%04X:%04X", target.vendor_id, target.product_id);
      return session_.Own(OwnText::kFileUsbIds, {path, file_ids, ids});
    }
  }
  return {};
}

}  // namespace vrdk
