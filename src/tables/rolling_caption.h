// The rolling caption of a hovered button ("TR_Enable" = 1): while the mouse
// rests on a label, its caption scrolls left one character every 200 ms
// (LabelRunTimer), with a gap of four blanks inserted once per hover.
#pragma once

#include <string>
#include <string_view>

namespace vrdk {

class RollingCaption {
 public:
  static constexpr int kIntervalMs = 200;  // LabelRun

  // Mouse enter on `label` showing `caption`: starts rolling it.
  void Start(std::string label, std::string caption);
  // Mouse leave: stops; the label gets Original() back.
  void Stop() { running_ = false; }
  bool Running() const { return running_; }
  const std::string& Label() const { return label_; }
  const std::string& Original() const { return original_; }
  // One tick of LabelRun: the caption to show now. Characters are whole
  // UTF-8 sequences, so a Chinese caption rolls by whole characters.
  const std::string& Tick();

 private:
  std::string label_;
  std::string original_;
  std::string rolled_;
  int ticks_ = 0;
  bool running_ = false;
};

}  // namespace vrdk
