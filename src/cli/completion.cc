#include "cli/completion.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <sstream>

namespace vrdk::cli {
namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator)) {
    if (!part.empty()) parts.push_back(part);
  }
  return parts;
}

// The values a type name lists: "TEXT:{on,off}" (a set the parser checks) or
// "I2C|Flash" (the values written out).
std::vector<std::string> ChoicesOf(const std::string& type_name) {
  const auto open = type_name.find('{');
  const auto close = type_name.rfind('}');
  if (open != std::string::npos && close != std::string::npos && close > open) {
    return Split(type_name.substr(open + 1, close - open - 1), ',');
  }
  if (type_name.find('|') == std::string::npos) return {};
  const bool plain = std::all_of(type_name.begin(), type_name.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '|' || c == '+' || c == '-';
  });
  return plain ? Split(type_name, '|') : std::vector<std::string>{};
}

bool NamesAFile(const std::string& name) {
  return name.size() >= 4 && name.compare(name.size() - 4, 4, "FILE") == 0;
}

CompletionOption OptionOf(const CLI::Option& option) {
  CompletionOption entry;
  for (const auto& name : option.get_lnames()) entry.names.push_back("--" + name);
  for (const auto& name : option.get_snames()) entry.names.push_back("-" + name);
  entry.help = option.get_description();
  const std::string type = option.get_type_name();
  const bool has_value = option.get_type_size_max() > 0;
  entry.takes_value = has_value && option.get_expected_min() > 0;
  entry.value_after_equals = has_value && option.get_expected_min() == 0;
  entry.file_value = has_value && type.find("FILE") != std::string::npos;
  if (has_value) entry.choices = ChoicesOf(type);
  return entry;
}

void AddNodes(const CLI::App& app, const std::string& path, std::vector<CompletionNode>& nodes) {
  CompletionNode node;
  node.path = path;
  const auto children = app.get_subcommands(
      [](const CLI::App* sub) { return !sub->get_name().empty() && !sub->get_disabled(); });
  for (const CLI::App* sub : children) {
    node.commands.emplace_back(sub->get_name(), sub->get_description());
  }
  for (const CLI::Option* option : app.get_options()) {
    if (option->nonpositional()) {
      node.options.push_back(OptionOf(*option));
      continue;
    }
    const std::string name = option->get_name(true);
    if (NamesAFile(name)) node.file_arguments = true;
    for (auto& choice : ChoicesOf(option->get_type_name())) {
      node.argument_choices.push_back(choice);
    }
  }
  nodes.push_back(std::move(node));
  for (const CLI::App* sub : children) AddNodes(*sub, path + " " + sub->get_name(), nodes);
}

// Words as a POSIX shell reads them in single quotes.
std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

std::string Joined(const std::vector<std::string>& words, const char* separator = " ") {
  std::string text;
  for (const auto& word : words) {
    if (!text.empty()) text += separator;
    text += word;
  }
  return text;
}

// The options whose value is the next word, for finding the command words.
std::vector<std::string> ValueOptions(const std::vector<CompletionNode>& nodes) {
  std::set<std::string> names;
  for (const auto& node : nodes) {
    for (const auto& option : node.options) {
      if (!option.takes_value) continue;
      names.insert(option.names.begin(), option.names.end());
    }
  }
  return {names.begin(), names.end()};
}

// The options offered at a command: its own, then the root's (a command
// passes those on), each name once.
std::vector<const CompletionOption*> OptionsAt(const CompletionNode& node,
                                               const CompletionNode& root) {
  std::vector<const CompletionOption*> options;
  std::set<std::string> seen;
  for (const auto* from : {&node, &root}) {
    for (const auto& option : from->options) {
      if (seen.insert(option.names.front()).second) options.push_back(&option);
    }
  }
  return options;
}

std::vector<std::string> OptionNames(const CompletionNode& node, const CompletionNode& root) {
  std::vector<std::string> names;
  for (const CompletionOption* option : OptionsAt(node, root)) {
    names.insert(names.end(), option->names.begin(), option->names.end());
  }
  return names;
}

std::vector<std::string> CommandNames(const CompletionNode& node) {
  std::vector<std::string> names;
  for (const auto& [name, help] : node.commands) names.push_back(name);
  return names;
}

// Every option of the tree once (the same option may stand at several
// commands), for completing its value.
std::vector<const CompletionOption*> ValueTakers(const std::vector<CompletionNode>& nodes) {
  std::vector<const CompletionOption*> takers;
  std::set<std::string> seen;
  for (const auto& node : nodes) {
    for (const auto& option : node.options) {
      if (!option.takes_value && !option.value_after_equals) continue;
      if (!option.file_value && option.choices.empty()) continue;
      if (!seen.insert(option.names.front()).second) continue;
      takers.push_back(&option);
    }
  }
  return takers;
}

// The cases of a POSIX-like shell's loop over the words typed, for bash and
// zsh: an option's value is passed over, and a word that names a subcommand of
// the command so far ($node) goes down into it.
void WordCases(std::ostream& out, const std::vector<CompletionNode>& nodes) {
  const auto value_options = ValueOptions(nodes);
  if (!value_options.empty()) out << "      " << Joined(value_options, "|") << ") skip=1 ;;\n";
  std::string children;
  for (const auto& node : nodes) {
    for (const auto& [name, help] : node.commands) {
      if (!children.empty()) children += '|';
      children += Quoted(node.path + " " + name);
    }
  }
  out << "      -*) ;;\n"
         "      *) case \"$node $word\" in\n"
         "           "
      << children
      << ") node=\"$node $word\" ;;\n"
         "         esac ;;\n"
         "    esac\n";
}

// bash: the words before the cursor name a command of the tree; the words
// offered are its subcommands, its options and the root's, or the values of
// the option before the cursor.
std::string BashScript(const std::vector<CompletionNode>& nodes) {
  std::ostringstream out;
  out << "# bash completion for vrdkctl; made by \"vrdkctl completion bash\"\n"
         "_vrdkctl() {\n"
         "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
         "  local node=vrdkctl word i skip=0 option= words= flags= files=0\n"
         "  for ((i = 1; i < COMP_CWORD; i++)); do\n"
         "    word=${COMP_WORDS[i]}\n"
         "    if ((skip)); then\n"
         "      skip=0\n"
         "      [[ $word == = ]] && skip=1\n"
         "      continue\n"
         "    fi\n"
         "    case $word in\n"
         "      =) skip=1 ;;\n";
  WordCases(out, nodes);
  out << "  done\n"
         "  # The value of an option: after it, or after its '=' (bash splits there).\n"
         "  if [[ $cur == = ]]; then\n"
         "    option=$prev\n"
         "    cur=\n"
         "  elif [[ $prev == = ]]; then\n"
         "    option=${COMP_WORDS[COMP_CWORD-2]}\n"
         "  elif [[ $prev == -* ]]; then\n"
         "    option=\"$prev \"\n"
         "  fi\n"
         "  case $option in\n";
  for (const CompletionOption* option : ValueTakers(nodes)) {
    // An option whose value needs '=' has none after a space.
    std::vector<std::string> patterns;
    for (const auto& name : option->names) {
      patterns.push_back(name);
      if (option->takes_value) patterns.push_back(Quoted(name + " "));
    }
    out << "    " << Joined(patterns, "|") << ")\n";
    if (option->file_value) {
      out << "      compopt -o filenames 2>/dev/null\n"
             "      COMPREPLY=($(compgen -f -- \"$cur\"))\n";
    } else {
      out << "      COMPREPLY=($(compgen -W " << Quoted(Joined(option->choices))
          << " -- \"$cur\"))\n";
    }
    out << "      return ;;\n";
  }
  out << "  esac\n"
         "  case $node in\n";
  for (const auto& node : nodes) {
    out << "    " << Quoted(node.path) << ")\n";
    if (!node.commands.empty() || !node.argument_choices.empty()) {
      std::vector<std::string> words = CommandNames(node);
      words.insert(words.end(), node.argument_choices.begin(), node.argument_choices.end());
      out << "      words=" << Quoted(Joined(words)) << "\n";
    }
    if (node.file_arguments) out << "      files=1\n";
    out << "      flags=" << Quoted(Joined(OptionNames(node, nodes.front()))) << " ;;\n";
  }
  out << "  esac\n"
         "  if [[ $cur == -* ]]; then\n"
         "    COMPREPLY=($(compgen -W \"$flags\" -- \"$cur\"))\n"
         "  else\n"
         "    COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
         "    if ((files)); then\n"
         "      compopt -o filenames 2>/dev/null\n"
         "      COMPREPLY+=($(compgen -f -- \"$cur\"))\n"
         "    fi\n"
         "  fi\n"
         "}\n"
         "complete -F _vrdkctl vrdkctl\n";
  return out.str();
}

// zsh's _describe entries: "name:help", a colon in the name escaped.
std::string Described(const std::string& name, const std::string& help) {
  std::string entry;
  for (char c : name) {
    if (c == ':') entry += '\\';
    entry += c;
  }
  return Quoted(entry + ":" + help);
}

// zsh: the values of an option, ending its case.
void ZshValues(std::ostream& out, const CompletionOption& option) {
  if (option.file_value) {
    out << "      _files\n";
  } else {
    out << "      compadd -- " << Joined(option.choices) << "\n";
  }
  out << "      return ;;\n";
}

std::string ZshScript(const std::vector<CompletionNode>& nodes) {
  std::ostringstream out;
  out << "#compdef vrdkctl\n"
         "# zsh completion for vrdkctl; made by \"vrdkctl completion zsh\"\n"
         "_vrdkctl() {\n"
         "  local node=vrdkctl word i skip=0 files=0\n"
         "  local -a subcommands flags choices\n"
         "  for ((i = 2; i < CURRENT; i++)); do\n"
         "    word=${words[i]}\n"
         "    if ((skip)); then\n"
         "      skip=0\n"
         "      continue\n"
         "    fi\n"
         "    case $word in\n";
  WordCases(out, nodes);
  out << "  done\n"
         "  local cur=${words[CURRENT]} prev=${words[CURRENT-1]}\n";
  // Values: "--trace=FILE" or "--trace FILE".
  out << "  case $cur in\n";
  for (const CompletionOption* option : ValueTakers(nodes)) {
    std::vector<std::string> patterns;
    for (const auto& name : option->names) patterns.push_back(Quoted(name + "=") + "*");
    out << "    " << Joined(patterns, "|") << ")\n"
        << "      compset -P '*='\n";
    ZshValues(out, *option);
  }
  out << "  esac\n"
         "  case $prev in\n";
  for (const CompletionOption* option : ValueTakers(nodes)) {
    if (!option->takes_value) continue;
    out << "    " << Joined(option->names, "|") << ")\n";
    ZshValues(out, *option);
  }
  out << "  esac\n"
         "  case $node in\n";
  for (const auto& node : nodes) {
    out << "    " << Quoted(node.path) << ")\n";
    if (!node.commands.empty()) {
      out << "      subcommands=(";
      for (const auto& [name, help] : node.commands) out << "\n        " << Described(name, help);
      out << ")\n";
    }
    if (!node.argument_choices.empty()) {
      out << "      choices=(" << Joined(node.argument_choices) << ")\n";
    }
    if (node.file_arguments) out << "      files=1\n";
    out << "      flags=(";
    for (const CompletionOption* option : OptionsAt(node, nodes.front())) {
      for (const auto& name : option->names) out << "\n        " << Described(name, option->help);
    }
    out << ") ;;\n";
  }
  out << "  esac\n"
         "  if [[ $cur == -* ]]; then\n"
         "    _describe -t options option flags\n"
         "  else\n"
         "    (( ${#subcommands} )) && _describe -t commands command subcommands\n"
         "    (( ${#choices} )) && compadd -- $choices\n"
         "    (( files )) && _files\n"
         "  fi\n"
         "  return 0\n"
         "}\n"
         "_vrdkctl \"$@\"\n";
  return out.str();
}

std::string FishOption(const CompletionOption& option, const std::string& condition) {
  std::string line = "complete -c vrdkctl";
  if (!condition.empty()) line += " -n " + Quoted(condition);
  for (const auto& name : option.names) {
    line += name.rfind("--", 0) == 0 ? " -l " + name.substr(2) : " -s " + name.substr(1);
  }
  if (option.takes_value && option.file_value) {
    line += " -r -F";
  } else if (option.takes_value && !option.choices.empty()) {
    line += " -x -a " + Quoted(Joined(option.choices));
  } else if (option.takes_value) {
    line += " -x";
  }
  return line + " -d " + Quoted(option.help) + "\n";
}

std::string FishScript(const std::vector<CompletionNode>& nodes) {
  std::ostringstream out;
  out << "# fish completion for vrdkctl; made by \"vrdkctl completion fish\"\n"
         "# The command the words before the cursor name: \"vrdkctl\", \"vrdkctl dpi\", ...\n"
         "function __vrdkctl_node\n"
         "    set -l node vrdkctl\n"
         "    set -l skip 0\n"
         "    for word in (commandline -opc)[2..-1]\n"
         "        if test $skip = 1\n"
         "            set skip 0\n"
         "            continue\n"
         "        end\n"
         "        switch $word\n";
  const auto value_options = ValueOptions(nodes);
  if (!value_options.empty()) {
    out << "            case " << Joined(value_options) << "\n"
        << "                set skip 1\n";
  }
  out << "            case '-*'\n"
         "            case '*'\n"
         "                switch \"$node $word\"\n"
         "                    case";
  for (const auto& node : nodes) {
    for (const auto& [name, help] : node.commands) out << " " << Quoted(node.path + " " + name);
  }
  out << "\n"
         "                        set node \"$node $word\"\n"
         "                end\n"
         "        end\n"
         "    end\n"
         "    echo $node\n"
         "end\n"
         "function __vrdkctl_at\n"
         "    test (__vrdkctl_node) = \"$argv[1]\"\n"
         "end\n"
         "complete -c vrdkctl -f\n";
  for (const auto& option : nodes.front().options) out << FishOption(option, "");
  for (const auto& node : nodes) {
    const std::string at = "__vrdkctl_at " + Quoted(node.path);
    for (const auto& [name, help] : node.commands) {
      out << "complete -c vrdkctl -n " << Quoted(at) << " -a " << Quoted(name) << " -d "
          << Quoted(help) << "\n";
    }
    if (!node.argument_choices.empty()) {
      out << "complete -c vrdkctl -n " << Quoted(at) << " -a "
          << Quoted(Joined(node.argument_choices)) << "\n";
    }
    if (node.file_arguments) out << "complete -c vrdkctl -n " << Quoted(at) << " -F\n";
    if (&node == &nodes.front()) continue;
    for (const auto& option : node.options) out << FishOption(option, at);
  }
  return out.str();
}

}  // namespace

std::optional<CompletionShell> CompletionShellFromName(const std::string& name) {
  if (name == "bash") return CompletionShell::kBash;
  if (name == "zsh") return CompletionShell::kZsh;
  if (name == "fish") return CompletionShell::kFish;
  return std::nullopt;
}

std::vector<CompletionNode> CompletionTree(const CLI::App& app) {
  std::vector<CompletionNode> nodes;
  AddNodes(app, app.get_name(), nodes);
  return nodes;
}

std::string CompletionScript(const CLI::App& app, CompletionShell shell) {
  const auto nodes = CompletionTree(app);
  switch (shell) {
    case CompletionShell::kBash:
      return BashScript(nodes);
    case CompletionShell::kZsh:
      return ZshScript(nodes);
    case CompletionShell::kFish:
      return FishScript(nodes);
  }
  return {};
}

}  // namespace vrdk::cli
