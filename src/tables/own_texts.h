// The program's own texts: messages the language tables do not hold, in each
// of the three languages (1 and 3 English, 2 Traditional Chinese). A text may
// hold places {0}, {1}, ... for the arguments it is given.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace vrdk {

enum class OwnText {
  // Reads.
  kReadFailed,       // {0}: tries
  kReadFailedRetry,  // the window: the mouse is read again later
  kReadFailedCover,
  kSectionsRepaired,  // {0}: parts
  // Writes, and what the mouse holds after one that failed.
  kWriteFailed,  // {0}: what
  kHoldsUnchanged,
  kHoldsNew,      // {0}: parts
  kHoldsOld,      // {0}: parts
  kHoldsDamaged,  // {0}: parts
  kHoldsUnknown,
  kJournalWillFinish,    // {0}: record
  kJournalUnavailable,   // {0}: reason
  kJournalPending,       // {0}: what
  kJournalFinished,      // {0}: what
  kJournalKept,          // {0}: what, {1}: record
  kJournalNotFinished,   // {0}: what
  kLiveNotTaken,         // {0}: address, {1}: bytes held
  kLiveNotTakenUnknown,  // {0}: address
  kReloadNotTaken,
  kRestartNotTaken,
  kRegisterNotTaken,
  // What a write changes.
  kSubjectSettings,
  kSubjectProfiles,
  kSubjectProfilesAndFire,
  kSubjectCustomerCodes,
  kSubjectMacros,
  kSubjectWholeMemory,
  kSubjectPatchCode,
  kSubjectLedStrip,
  // The parts of the memory.
  kRegionVendor,
  kRegionUser,
  kRegionProfile1,
  kRegionProfile2,
  kRegionProfile3,
  kRegionReserved,
  kRegionFire,
  kRegionMacroArea,
  kRegionMacroNames,
  kRegionMacroSlots,
  kRegionPatchHeader,
  kRegionPatchCode,
  kRegionFlashInfo,
  // Profile files checked before they are loaded.
  kFileSize,           // {0}: file, {1}: its size, {2}: memory type, {3}: size expected
  kFileSections,       // {0}: file, {1}: parts
  kFilePatchLength,    // {0}: file, {1}: length, {2}: area
  kFileCustomerCodes,  // {0}: file, {1}: vendor code, {2}: product code
  kFileUsbIds,         // {0}: file, {1}: ids of the file, {2}: ids looked for
  kFileForceHint,
  kFileLoadAnyway,
  // The system's pointer settings.
  kPointerSpeed,
  kPointerAcceleration,
  kPointerDoubleClick,
  kPointerWheel,
  kPointerNoSuchSetting,  // {0}: desktop, {1}: setting
  kPointerNoWholeScreen,  // {0}: desktop
  kPointerToolFailed,     // {0}: tool, {1}: setting
  kPointerNotTaken,       // {0}: desktop, {1}: setting, {2}: what it reads
  kPointerNothing,
  kPointerOtherDesktop,  // {0}: desktop
  kPointerNoDesktop,
  kPointerKept,     // {0}: file
  kPointerNotKept,  // {0}: file
  kPointerNote,     // beside the pointer rows while a change is not taken
  kPointerUnread,   // {0}: tool, {1}: seconds, {2}: desktop, {3}: settings
  kPointerUnreadNote,
  // The pages.
  kNtOneLed,
  kStripNotOnFlash,
  kSyncNoColours,
  kSyncNoProfileColours,
  kStripPanelUnused,
  kPatchProgrammed,  // {0}: file
  kProfileSaved,     // {0}: file
  kNoDeviceMacros,
  kWriteMacrosToMouse,  // the macro page: the mouse's macros written to it again
  kResetQuestion,
  kEngineerPage,  // the title-bar button back to the engineer page
  // The dialogs' buttons and questions.
  kDialogOk,
  kDialogYes,
  kDialogNo,
  kReplaceQuestion,  // {0}: file
  // A profile saved from a read that did not finish.
  kSaveReadDamaged,
  kSaveReadLost,
  kFirePattern,  // {0}: number
  // The names assistive tools read for the controls that show only a picture.
  kNameWebSite,
  kNameClose,
  kNameMinimise,
  kNameColourOf,      // {0}: what the colour is of
  kNameEffectColour,  // {0}: number
  kNameCurrentLevel,  // {0}: the DPI level's caption
  kNameLibraryMacros,
  kNameMouseMacros,
  kNameMacroEvents,
};

// The text in language 1..3 (another number reads as 1) with its places filled.
std::string OwnTextFor(OwnText text, int language,
                       std::initializer_list<std::string_view> args = {});

// "A, B, C" (language 2: "A、B、C").
std::string JoinedList(std::span<const std::string> items, int language);

}  // namespace vrdk
