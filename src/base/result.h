// The one result type of the core. An operation that can fail returns
// Result<T> (a T, or an Error) or Result<void> (nothing, or an Error); the
// core throws nothing for a failure the user can cause.
//
// An Error names its kind, so a face can choose an exit code or whether to
// show anything, and carries the message the user is shown. The message is
// written in full where the failure is found (naming the file, the macro,
// the reason); a face shows it as it is. An empty message means the kind
// says it all, or the face has its own text for it.
//
// REQUIRES: value() only on a result that is ok(), error() only on one that
// is not (a misuse throws, it never reads what is not there).
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace vrdk {

// The kinds the faces tell apart. Add a kind only when a caller acts on it
// otherwise than on the kinds there are.
enum class ErrorKind {
  // Files.
  kFileError,  // a file could not be read or written
  kMissing,    // the file does not exist (a kind of kFileError a caller may want)
  kWrongKind,  // the file is sound but not what was asked for (another memory type)
  // The mouse.
  kNoMouse,       // no mouse, or one that was not accepted
  kRefused,       // not now, or not this: a guard of the program said no
  kBusy,          // something else runs (a recording), or nothing does that should
  kDeviceFailed,  // the mouse did not answer whole, or a write did not reach it
  kNeedsForce,    // sound, but done only when the user insists
  // What the user asked for.
  kInvalid,      // no such target, tag, code or line; a line that cannot be encoded
  kBadName,      // a name that is empty, too long, or not a name
  kDuplicate,    // a macro of this name exists already
  kNoSuchMacro,  // no macro at this place or of this name
  kFull,         // no free place for another one
  kNoRoom,       // the places are free but the bytes would not fit
  kTooLong,      // one item would not fit its record
};

struct Error {
  ErrorKind kind = ErrorKind::kFileError;
  std::string message;  // for the user, whole; may be empty (see above)
  bool shown = false;   // the face was told already, with a message of its own
};

template <typename T>
class Result {
 public:
  Result(T value) : state_(std::move(value)) {}      // NOLINT: a value converts
  Result(Error error) : state_(std::move(error)) {}  // NOLINT: an error converts

  bool ok() const { return std::holds_alternative<T>(state_); }
  // Whether this failed with `kind`.
  bool Is(ErrorKind kind) const { return !ok() && error().kind == kind; }

  // A misuse throws std::bad_variant_access.
  const T& value() const& { return std::get<T>(state_); }
  T& value() & { return std::get<T>(state_); }
  T&& value() && { return std::get<T>(std::move(state_)); }
  const Error& error() const { return std::get<Error>(state_); }
  Error& error() { return std::get<Error>(state_); }
  // The error's message, or nothing when ok.
  const std::string& message() const { return ok() ? kNoMessage : error().message; }

 private:
  inline static const std::string kNoMessage;
  std::variant<T, Error> state_;
};

template <>
class Result<void> {
 public:
  Result() = default;
  Result(Error error) : error_(std::move(error)) {}  // NOLINT: an error converts

  bool ok() const { return !error_.has_value(); }
  bool Is(ErrorKind kind) const { return !ok() && error_->kind == kind; }
  // A misuse throws std::bad_optional_access.
  const Error& error() const { return error_.value(); }
  Error& error() { return error_.value(); }
  const std::string& message() const { return ok() ? kNoMessage : error_->message; }

 private:
  inline static const std::string kNoMessage;
  std::optional<Error> error_;
};

}  // namespace vrdk
