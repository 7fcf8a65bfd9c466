// BrandOptions: the brand's choices from the general skin table [org]
// (resource "org"), read once at start-up by LoadBrandOptions. The Session
// holds one and the editors read it.
//
// Every numeric key must be a decimal integer. A numeric key that is missing
// or not a number does not silently read as 0: it is reported by name in the
// load's errors and the field keeps the default written beside it below (the
// value the product ships with; the web link alone defaults to off, since
// there is no address to open without the table). Text keys that are missing
// read as empty text.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "tables/ini_table.h"
#include "tables/table_keys.h"

namespace vrdk {

inline constexpr std::string_view kBrandSection = "org";

// How a bar of step pictures shows the chosen step ("DPILED_Status").
enum class StepStyle {
  kProgressBar,  // 0: every step up to the chosen one shows "on"
  kLever,        // 1: only the chosen step shows "on"
};

// Order of the eight LED step labels ("Num_Order", clamped to 0..1).
enum class LedStepOrder {
  kAscending = 0,   // label i at place i, left to right
  kDescending = 1,  // label 9 - i at place i
};

struct BrandOptions {
  // "Web_Enable" = 1: the web button opens `web_address`. Default: off.
  bool web_enabled = false;
  // "Web": the address the web button opens. Default: empty.
  std::string web_address;
  // "Rev_Manu_ID", "Rev_Pro_ID": the second accepted pair of vendor code and
  // product code of a mouse. Default: 0, 0.
  std::array<int, 2> reserved_customer_codes{0, 0};
  // "Path": folder of the macro library file; empty means the program's
  // folder. Default: empty.
  std::string macro_folder;
  // "TR_Enable" = 1: captions of hovered buttons roll. Default: off.
  bool rolling_captions = false;
  // "BE_Enable" = 1: the button-effect option exists. Default: off.
  bool button_effect = false;
  // "DPILED_Status": 1 lever, any other value progress bar. Default: lever.
  StepStyle step_style = StepStyle::kLever;
  // "Num_Order", values below 0 count as 0 and above 1 as 1. Default: 0.
  LedStepOrder led_step_order = LedStepOrder::kAscending;
};

// One problem met while reading [org]; the field concerned keeps its default.
using BrandOptionError = TableKeyError;

struct LoadedBrandOptions {
  BrandOptions options;
  std::vector<BrandOptionError> errors;  // empty when the table was sound
};

// LoadBrandOptions: reads the section [org] of `table`.
LoadedBrandOptions LoadBrandOptions(const IniTable& table);
// LoadBrandOptions from the program's resource "org".
LoadedBrandOptions LoadBrandOptions();
// LoadBrandOptions from the bytes of an "org" table: 8-bit Windows-1252 text
// (UTF-8 after a UTF-8 byte-order mark), so a brand's "Path" may hold "é".
LoadedBrandOptions LoadBrandOptionsFromBytes(std::string_view bytes);

}  // namespace vrdk
