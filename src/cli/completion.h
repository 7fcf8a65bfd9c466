// Shell completion scripts for vrdkctl, made from the parser's own tree of
// commands and options, so a command added to the parser is completed without
// a second list to keep.
#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

namespace vrdk::cli {

enum class CompletionShell { kBash, kZsh, kFish };

std::optional<CompletionShell> CompletionShellFromName(const std::string& name);

// One option as completion offers it.
struct CompletionOption {
  std::vector<std::string> names;  // "--trace", "-h"
  std::string help;
  bool takes_value = false;          // the next word is its value
  bool value_after_equals = false;   // --simulate[=FILE]: a value only after '='
  bool file_value = false;           // the value is a file
  std::vector<std::string> choices;  // the values it takes, when they are few
};

// A command of the tree: "vrdkctl", "vrdkctl dpi", "vrdkctl dpi levels".
struct CompletionNode {
  std::string path;
  std::vector<std::pair<std::string, std::string>> commands;  // name, help
  std::vector<CompletionOption> options;      // its own; the root's apply everywhere
  std::vector<std::string> argument_choices;  // of its positional arguments
  bool file_arguments = false;                // a positional argument is a file
};

// The tree, root first, each command before its subcommands.
std::vector<CompletionNode> CompletionTree(const CLI::App& app);

std::string CompletionScript(const CLI::App& app, CompletionShell shell);

}  // namespace vrdk::cli
