#include "session/image_writes.h"

#include <algorithm>

#include "image/image_assembly.h"
#include "image/section_defaults.h"
#include "macros/macro_name.h"
#include "session/write_roads.h"

namespace vrdk {

Outcome RefusedOutcome(Refusal refusal) {
  const bool no_mouse = refusal == Refusal::kNoMouse || refusal == Refusal::kNotAccepted;
  return {no_mouse ? Outcome::Kind::kNoMouse : Outcome::Kind::kRefused, RefusalText(refusal)};
}

Outcome ImageWrites::Refused(Refusal refusal, bool show_message) {
  Outcome outcome = RefusedOutcome(refusal);
  if (show_message && outcome.kind == Outcome::Kind::kNoMouse) {
    session_.Events().ShowMessage(kNoMouseMessage);
    outcome.shown = true;
  }
  return outcome;
}

Outcome ImageWrites::ConfirmClick(int n) {
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

void ImageWrites::EndWholeWrite() {
  session_.Events().HideLoading();
  session_.GetClock().ProcessMessages();
  session_.StartDevTimer();
  session_.Conn().loading = false;
  session_.RestartDevice();
}

Outcome ImageWrites::DefaultParameterConfirm(int n) {
  if (const Refusal refusal = session_.CheckAccess(); refusal != Refusal::kNone) {
    return Refused(refusal, false);
  }
  const Session::Operation operation(session_);
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
  EndWholeWrite();
  return {};
}

Outcome ImageWrites::MemoToDataBuf_OnClick() {
  if (const Refusal refusal = session_.CheckAccess(); refusal != Refusal::kNone) {
    return Refused(refusal, false);
  }
  WriteLoadedImage();
  return {};
}

void ImageWrites::WriteLoadedImage() {
  const Session::Operation operation(session_);
  session_.Events().CloseMenus();
  session_.StopDevTimer();
  session_.Events().ShowPageCovers(true);
  session_.FillFromWorkingImage();
  session_.DataBufToUI();
  session_.Events().ShowLoading(0, 1);
  session_.GetClock().ProcessMessages();
  WriteRoads(session_).WriteWorkingImage();
  session_.Events().HideLoading();
  session_.GetClock().ProcessMessages();
  session_.StartDevTimer();
  session_.RestartDevice();
}

Outcome ImageWrites::TLDefaultParameter() {
  if (const Refusal refusal = session_.CheckAccess(); refusal != Refusal::kNone) {
    return Refused(refusal, false);
  }
  const Session::Operation operation(session_);
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
  EndWholeWrite();
  return {};
}

Outcome ImageWrites::SaveProfileFile(const std::string& path, files::FailAt fail_at) {
  if (const Refusal refusal = session_.CheckAccess(); refusal != Refusal::kNone) {
    return Refused(refusal, true);
  }
  // The file holds what the mouse holds: read it again, raw bytes and all.
  // What a read with lost reports or a lost mouse left in the working image
  // is not the mouse's, and must not replace a good file.
  switch (session_.Btn_Read()) {
    case ReadResult::kComplete:
      break;
    case ReadResult::kDamaged:
      session_.Events().ShowText(kReadDamagedMessage);
      return {Outcome::Kind::kDeviceFailed, std::string(kReadDamagedMessage), true};
    case ReadResult::kLost:
      session_.Events().ShowText(kReadLostMessage);
      return {Outcome::Kind::kDeviceFailed, std::string(kReadLostMessage), true};
    case ReadResult::kRefused:
      return Refused(Refusal::kBusy, false);
  }
  if (auto error = files::WriteFileAtomically(path, session_.WorkingImage(), fail_at)) {
    return {Outcome::Kind::kFileError, *error};
  }
  return {};
}

Outcome ImageWrites::LoadProfileFile(const std::string& path) {
  if (const Refusal refusal = session_.CheckAccess(); refusal != Refusal::kNone) {
    return Refused(refusal, true);
  }
  const Session::Operation operation(session_);
  Connection& conn = session_.Conn();
  conn.loading = true;
  auto finish = [&](Outcome outcome) {
    conn.loading = false;
    return outcome;
  };
  auto& image = session_.WorkingImage();
  const bool i2c = conn.image_memory_type == MemoryType::kI2C;
  const files::ReadResult file = files::ReadFilePrefix(path, image.size());
  if (!file.ok()) return finish({Outcome::Kind::kFileError, file.error});
  const std::size_t marker = i2c ? image::i2c::kMemoryTypeMarker : image::flash::kMemoryTypeMarker;
  const std::uint8_t expected = i2c ? image::kI2CMarker : image::kFlashMarker;
  if (file.bytes.size() <= marker || file.bytes[marker] != expected) {
    session_.Events().ShowText(kWrongFileMessage);
    return finish({Outcome::Kind::kWrongKind,
                   path + " is not a " + std::string(MemoryTypeName(conn.image_memory_type)) +
                       " profile file",
                   true});
  }
  // A short file leaves the rest of the image as it was.
  std::copy(file.bytes.begin(), file.bytes.end(), image.begin());
  WriteLoadedImage();
  return finish({});
}

}  // namespace vrdk
