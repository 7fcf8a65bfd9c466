#include "tables/own_texts.h"

#include <array>
#include <vector>

namespace vrdk {
namespace {

struct Entry {
  OwnText text;
  const char* english;
  const char* chinese;
};

// One row per text, in the order of OwnText.
constexpr std::array kEntries = {
    Entry{OwnText::kReadFailed,
          "The mouse could not be read whole: answers were lost even after {0} tries. Nothing "
          "was changed.",
          "無法完整讀取滑鼠：重試 {0} 次後仍有回應遺失。未做任何變更。"},
    Entry{OwnText::kReadFailedRetry, "The program reads the mouse again later.",
          "程式稍後會再次讀取滑鼠。"},
    Entry{OwnText::kReadFailedCover, "The mouse could not be read whole; trying again",
          "無法完整讀取滑鼠，正在重試"},
    Entry{OwnText::kSectionsRepaired,
          "These parts of the mouse's memory failed their check, also when read again: {0}. "
          "They are shown with factory values, and the next change to them writes those values "
          "to the mouse.",
          "滑鼠記憶體的這些部分未通過檢查（重新讀取後亦然）：{0}。畫面以出廠值顯示；下次變更"
          "這些部分時，會將出廠值寫入滑鼠。"},
    Entry{OwnText::kWriteFailed, "The mouse did not take all of {0}.", "滑鼠未能完整接收{0}。"},
    Entry{OwnText::kHoldsUnchanged, "Nothing was changed.", "未做任何變更。"},
    Entry{OwnText::kHoldsNew, "These parts hold the new content: {0}.",
          "以下部分已是新內容：{0}。"},
    Entry{OwnText::kHoldsOld, "These parts keep their old content: {0}.",
          "以下部分保留舊內容：{0}。"},
    Entry{OwnText::kHoldsDamaged, "These parts are damaged: {0}.", "以下部分已損壞：{0}。"},
    Entry{OwnText::kHoldsUnknown, "What the mouse holds now could not be read.",
          "無法讀取滑鼠目前的內容。"},
    Entry{OwnText::kJournalWillFinish,
          "The write journal will finish the write at the next connection ({0}).",
          "寫入日誌會在下次連線時完成這次寫入（{0}）。"},
    Entry{OwnText::kJournalUnavailable,
          "The write journal could not be recorded ({0}); nothing was changed.",
          "無法記錄寫入日誌（{0}）；未做任何變更。"},
    Entry{OwnText::kJournalPending,
          "A write of {0} cut short earlier could not be finished; nothing new was changed.",
          "先前中斷的{0}寫入無法完成；未做新的變更。"},
    Entry{OwnText::kJournalFinished, "A write of {0} that was cut short earlier was finished.",
          "先前中斷的{0}寫入已完成。"},
    Entry{OwnText::kJournalKept,
          "A write of {0} was cut short earlier, but the mouse now holds other data than before "
          "or after it, so it was left alone. The record is kept in {1} for a bug report.",
          "先前中斷的{0}寫入未處理：滑鼠目前的資料既非寫入前也非寫入後的內容，因此未做變更。"
          "記錄保留於 {1}，可附於錯誤回報。"},
    Entry{OwnText::kJournalNotFinished,
          "A write of {0} that was cut short earlier could not be finished yet; the program tries "
          "again at the next connection.",
          "先前中斷的{0}寫入尚未能完成；程式會在下次連線時再試。"},
    Entry{OwnText::kLiveNotTaken,
          "The mouse did not take the setting at live address {0}; it holds {1}.",
          "滑鼠未接收即時位址 {0} 的設定；目前為 {1}。"},
    Entry{OwnText::kLiveNotTakenUnknown,
          "The mouse did not take the setting at live address {0}; what it holds could not be "
          "read.",
          "滑鼠未接收即時位址 {0} 的設定；無法讀取目前的內容。"},
    Entry{OwnText::kReloadNotTaken,
          "The mouse took the profiles but not the profile reload that follows them.",
          "滑鼠已接收設定檔，但未接收其後的設定檔重新載入。"},
    Entry{OwnText::kRestartNotTaken,
          "The mouse took the write but not the restart that makes it use what was written.",
          "滑鼠已接收寫入，但未接收使其生效的重新啟動。"},
    Entry{OwnText::kRegisterNotTaken,
          "The mouse did not take the controller register that uses the new settings; it uses "
          "them after its next restart.",
          "滑鼠未接收套用新設定的控制器暫存器；將在下次重新啟動後套用。"},
    Entry{OwnText::kSubjectSettings, "the settings", "設定"},
    Entry{OwnText::kSubjectProfiles, "the profiles", "設定檔"},
    Entry{OwnText::kSubjectProfilesAndFire, "the profiles and the fire keys", "設定檔與連發鍵"},
    Entry{OwnText::kSubjectCustomerCodes, "the factory codes", "廠商代碼"},
    Entry{OwnText::kSubjectMacros, "the macros", "巨集"},
    Entry{OwnText::kSubjectWholeMemory, "the whole memory", "整個記憶體"},
    Entry{OwnText::kSubjectPatchCode, "the patch code", "修補程式碼"},
    Entry{OwnText::kSubjectLedStrip, "the LED strip settings", "LED 燈條設定"},
    Entry{OwnText::kRegionVendor, "Vendor", "廠商區"},
    Entry{OwnText::kRegionUser, "User", "使用者區"},
    Entry{OwnText::kRegionProfile1, "Profile1", "設定檔1"},
    Entry{OwnText::kRegionProfile2, "Profile2", "設定檔2"},
    Entry{OwnText::kRegionProfile3, "Profile3", "設定檔3"},
    Entry{OwnText::kRegionReserved, "Reserved", "保留區"},
    Entry{OwnText::kRegionFire, "Fire", "連發區"},
    Entry{OwnText::kRegionMacroArea, "macro area", "巨集區"},
    Entry{OwnText::kRegionMacroNames, "macro names", "巨集名稱"},
    Entry{OwnText::kRegionMacroSlots, "macro slots", "巨集槽"},
    Entry{OwnText::kRegionPatchHeader, "patch code header", "修補程式碼標頭"},
    Entry{OwnText::kRegionPatchCode, "patch code", "修補程式碼"},
    Entry{OwnText::kRegionFlashInfo, "Flash info block", "Flash 資訊區"},
    Entry{OwnText::kFileSize,
          "{0} is {1} bytes long; a profile file of an \"{2}\" mouse is {3} bytes. Nothing was "
          "sent.",
          "{0} 長 {1} 位元組；\"{2}\" 滑鼠的設定檔為 {3} 位元組。未傳送任何資料。"},
    Entry{OwnText::kFileSections, "{0}: these parts fail their check: {1}. Nothing was sent.",
          "{0}：以下部分未通過檢查：{1}。未傳送任何資料。"},
    Entry{OwnText::kFilePatchLength,
          "{0}: the patch code header announces {1} bytes, more than its {2}-byte area. Nothing "
          "was sent.",
          "{0}：修補程式碼標頭宣告 {1} 位元組，超過 {2} 位元組的區域。未傳送任何資料。"},
    Entry{OwnText::kFileCustomerCodes,
          "{0} carries the factory codes {1}, {2}, which this program does not accept: after "
          "loading it, the program would no longer read the mouse.",
          "{0} 帶有本程式不接受的廠商代碼 {1}、{2}：載入後，本程式將無法再讀取滑鼠。"},
    Entry{OwnText::kFileUsbIds,
          "{0} gives the mouse the USB ids {1}; this program looks for {2} and would no longer "
          "find it.",
          "{0} 會將滑鼠的 USB 識別碼改為 {1}；本程式尋找的是 {2}，將無法再找到滑鼠。"},
    Entry{OwnText::kFileForceHint, "Give --force to load it anyway.",
          "若仍要載入，請加上 --force。"},
    Entry{OwnText::kFileLoadAnyway, "Load it anyway?", "仍要載入嗎？"},
    Entry{OwnText::kPointerSpeed, "speed", "速度"},
    Entry{OwnText::kPointerAcceleration, "acceleration", "加速"},
    Entry{OwnText::kPointerDoubleClick, "double-click", "雙擊速度"},
    Entry{OwnText::kPointerWheel, "wheel", "滾輪"},
    Entry{OwnText::kPointerNoSuchSetting, "{0} has no setting for the wheel scroll lines",
          "{0} 沒有滾輪捲動行數的設定"},
    Entry{OwnText::kPointerNoWholeScreen, "{0} has no whole-screen wheel scrolling",
          "{0} 沒有整頁滾輪捲動"},
    Entry{OwnText::kPointerToolFailed, "{0} could not set the pointer {1}", "{0} 無法設定指標{1}"},
    Entry{OwnText::kPointerNotTaken,
          "{0} did not take the pointer {1} (it reads {2} after the change)",
          "{0} 未採用指標{1}（變更後讀到的是 {2}）"},
    Entry{OwnText::kPointerNothing, "nothing", "空值"},
    Entry{OwnText::kPointerOtherDesktop,
          "this program can apply pointer settings on GNOME and KDE Plasma only; on the desktop "
          "\"{0}\" the speed, acceleration, double-click and wheel settings cannot be applied",
          "本程式只能在 GNOME 與 KDE Plasma 套用指標設定；在桌面 \"{0}\" 上無法套用速度、加速、"
          "雙擊與滾輪設定"},
    Entry{OwnText::kPointerNoDesktop,
          "this program can apply pointer settings on GNOME and KDE Plasma only; on no desktop "
          "named in XDG_CURRENT_DESKTOP the speed, acceleration, double-click and wheel settings "
          "cannot be applied",
          "本程式只能在 GNOME 與 KDE Plasma 套用指標設定；XDG_CURRENT_DESKTOP 未指名桌面時，"
          "無法套用速度、加速、雙擊與滾輪設定"},
    Entry{OwnText::kPointerKept, "; the value is kept in {0}", "；此值保存在 {0}"},
    Entry{OwnText::kPointerNotKept, "; it could not be kept in {0} either", "；也無法保存在 {0}"},
    Entry{OwnText::kPointerNote,
          "The desktop did not take the last change: this program keeps it (point here for why).",
          "桌面未套用上次的變更，由本程式保存（指向此處查看原因）。"},
    Entry{OwnText::kPointerUnread,
          "{0} did not answer within {1} s and was ended: the pointer {3} setting of {2} could "
          "not be read, and the page shows the value this program kept",
          "{0} 在 {1} 秒內未回應，已被結束：無法讀取 {2} 的指標{3}設定，頁面顯示本程式保存的值"},
    Entry{OwnText::kPointerUnreadNote,
          "The desktop's pointer settings could not be read: the page shows those this program "
          "kept (point here for why).",
          "無法讀取桌面的指標設定：頁面顯示本程式保存的值（指向此處查看原因）。"},
    Entry{OwnText::kNtOneLed,
          "An NT light has 2 to 8 LEDs: with one, the mouse would take it for an MCU LED strip. "
          "The count was not changed.",
          "NT 燈需有 2 到 8 顆 LED：只有一顆時，滑鼠會將其視為 MCU LED 燈條。LED 數量未變更。"},
    Entry{OwnText::kStripNotOnFlash,
          "The LED strip's step, scan and LED count are kept with the patch code of an I2C "
          "memory; this mouse has Flash memory and no place for them.",
          "LED 燈條的步進、掃描與 LED 數量存放於 I2C 記憶體的修補程式碼旁；此滑鼠使用 Flash "
          "記憶體，沒有存放位置。"},
    Entry{OwnText::kSyncNoColours,
          "A Sync light shows colours of its own: there are no effect colours to choose.",
          "同步燈使用自身的顏色：沒有可選擇的燈效顏色。"},
    Entry{OwnText::kSyncNoProfileColours,
          "Nor are there profile colours: the light does not change with the profile.",
          "也沒有設定檔顏色：燈光不隨設定檔改變。"},
    Entry{OwnText::kStripPanelUnused,
          "The step, scan and LED count are those of a flowing-light strip, the LED count also "
          "that of a smart-control light; this LED type has none.",
          "步進、掃描與燈珠數屬於流光燈，燈珠數也屬於智控燈；此燈光類型沒有這些設定。"},
    Entry{OwnText::kPatchProgrammed,
          "The patch code from {0} was programmed; the mouse restarted with it.",
          "已燒錄 {0} 的修補程式碼，滑鼠已以其重新啟動。"},
    Entry{OwnText::kProfileSaved, "The mouse's settings were saved to {0}.",
          "滑鼠設定已儲存至 {0}。"},
    Entry{OwnText::kNoDeviceMacros,
          "The mouse holds no macros yet: add one to the mouse on the Macro page first.",
          "滑鼠中尚無巨集：請先在巨集頁面將巨集加入滑鼠。"},
    Entry{OwnText::kWriteMacrosToMouse, "Write to Mouse", "寫入滑鼠"},
    Entry{OwnText::kResetQuestion,
          "Reset writes the factory settings to the mouse: every button, DPI level, light "
          "setting and macro it holds now is replaced. Reset the mouse?",
          "重設會將出廠設定寫入滑鼠：滑鼠目前所有的按鍵、DPI 段位、燈光設定與巨集都會被取代。"
          "確定要重設滑鼠嗎？"},
    Entry{OwnText::kEngineerPage, "Engineer page", "工程頁面"},
    Entry{OwnText::kDialogOk, "OK", "確定"},
    Entry{OwnText::kDialogYes, "&Yes", "是(&Y)"},
    Entry{OwnText::kDialogNo, "&No", "否(&N)"},
    Entry{OwnText::kReplaceQuestion, "{0} already exists. Replace it?", "{0} 已存在，要取代它嗎？"},
    Entry{OwnText::kSaveReadDamaged,
          "The mouse did not answer every report of the read; nothing was saved.",
          "讀取時滑鼠未回應所有報告；未儲存任何內容。"},
    Entry{OwnText::kSaveReadLost,
          "The mouse left the bus while it was being read; nothing was saved.",
          "讀取時滑鼠已離線；未儲存任何內容。"},
    Entry{OwnText::kFirePattern, "Fire Pattern {0}", "連發模式 {0}"},
    Entry{OwnText::kNameWebSite, "Web site", "網站"},
    Entry{OwnText::kNameClose, "Close", "關閉"},
    Entry{OwnText::kNameMinimise, "Minimise", "最小化"},
    Entry{OwnText::kNameColourOf, "{0} colour", "{0} 顏色"},
    Entry{OwnText::kNameEffectColour, "Effect colour {0}", "燈效顏色 {0}"},
    Entry{OwnText::kNameCurrentLevel, "Use {0} now", "目前使用 {0}"},
    Entry{OwnText::kNameLibraryMacros, "Macros on this computer", "電腦中的巨集"},
    Entry{OwnText::kNameMouseMacros, "Macros in the mouse", "滑鼠中的巨集"},
    Entry{OwnText::kNameMacroEvents, "The macro's events", "巨集的事件"},
};

constexpr bool InOrder() {
  for (std::size_t i = 0; i < kEntries.size(); ++i) {
    if (static_cast<std::size_t>(kEntries[i].text) != i) return false;
  }
  return true;
}
static_assert(InOrder(), "one row per text, in the order of OwnText");

}  // namespace

std::string OwnTextFor(OwnText text, int language, std::initializer_list<std::string_view> args) {
  const auto index = static_cast<std::size_t>(text);
  if (index >= kEntries.size()) return "";
  const Entry& entry = kEntries[index];
  const std::string_view pattern = language == 2 ? entry.chinese : entry.english;
  const std::vector<std::string_view> values(args);
  std::string out;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '{' && i + 2 < pattern.size() && pattern[i + 2] == '}' && pattern[i + 1] >= '0' &&
        pattern[i + 1] <= '9') {
      const auto n = static_cast<std::size_t>(pattern[i + 1] - '0');
      if (n < values.size()) out += values[n];
      i += 2;
      continue;
    }
    out += c;
  }
  return out;
}

std::string JoinedList(std::span<const std::string> items, int language) {
  std::string out;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out += language == 2 ? "、" : ", ";
    out += items[i];
  }
  return out;
}

}  // namespace vrdk
