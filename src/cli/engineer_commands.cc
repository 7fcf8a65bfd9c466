// patch and import-base-macros: programming the controller's patch code and
// importing a base macro set, as the Update and engineer pages do.

#include <memory>

#include "cli/commands.h"
#include "engineering/patch_code.h"

namespace vrdk::cli {
namespace {

int FromOutcome(CommandContext& context, const Outcome& outcome) {
  switch (outcome.kind) {
    case Outcome::Kind::kDone:
      return kExitDone;
    case Outcome::Kind::kNoMouse:
      return context.Fail(kExitNoMouse, outcome.detail);
    case Outcome::Kind::kFileError:
    case Outcome::Kind::kWrongKind:
      return context.Fail(kExitFileError, outcome.detail);
  }
  return kExitDone;
}

void AddPatchCommands(CLI::App& app, CommandRegistry& registry) {
  auto file = std::make_shared<std::string>();
  registry
      .AddCommand(
          &app, "patch", "Program the patch code in FILE into the mouse and restart it",
          NeedsMouse::kYes,
          [file](CommandContext& context) {
            Session& session = context.GetSession();
            if (session.ActiveMemoryType() == MemoryType::kFlash &&
                session.Buffers().patch_locked) {
              return context.Fail(kExitRefused,
                                  "the patch area of this mouse is locked; "
                                  "nothing was written");
            }
            engineering::PatchProgrammer programmer(session);
            const Outcome loaded = programmer.LoadBin(*file);
            if (!loaded.ok()) return FromOutcome(context, loaded);
            if (const int code = FromOutcome(context, programmer.Program()); code != kExitDone) {
              return code;
            }
            if (session.Conn().state == ConnectionState::kConnected) return kExitDone;
            return context.Fail(kExitDeviceFailed, "the mouse did not come back after its restart");
          })
      ->add_option("FILE", *file, "A patch file (.bin) for this mouse's memory type")
      ->required();
  registry
      .AddCommand(&app, "import-base-macros",
                  "Write the base macro set in FILE into the mouse's macro storage",
                  NeedsMouse::kYes,
                  [file](CommandContext& context) {
                    return FromOutcome(
                        context,
                        engineering::PatchProgrammer(context.GetSession()).ImportBaseMacros(*file));
                  })
      ->add_option("FILE", *file,
                   "\"I2C\": the 512-byte macro area; \"Flash\": 512 bytes of names and "
                   "32 slots of 256 bytes")
      ->required();
}

}  // namespace

void AddEngineerCommands(CLI::App& app, CommandRegistry& registry) {
  AddPatchCommands(app, registry);
}

}  // namespace vrdk::cli
