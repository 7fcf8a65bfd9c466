#!/usr/bin/env bash
# vrdkctl's completion scripts in the three shells, as a user's <Tab> asks
# them: words typed so far in, the words offered out.
# Usage: completions_test.sh VRDKCTL
set -uo pipefail

vrdkctl=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

expect() {  # expect WHAT GOT WANTED
  if [ "$2" = "$3" ]; then
    echo "ok - $1"
  else
    echo "not ok - $1: offered '$2', wanted '$3'"
    failures=$((failures + 1))
  fi
}

for shell in bash zsh fish; do
  if ! "$vrdkctl" completion "$shell" > "$work/vrdkctl.$shell"; then
    echo "not ok - vrdkctl completion $shell"
    failures=$((failures + 1))
  fi
done
expect "an unknown shell is a usage error" \
  "$("$vrdkctl" completion tcsh > /dev/null 2>&1; echo $?)" 1

touch "$work/saved.bin" "$work/second.bin"

# bash: COMP_WORDS as bash splits the line (at '=' too).
bash_offers() {
  bash -c '
    source "$1"; shift
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMPREPLY=()
    _vrdkctl
    printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " " | sed "s/ $//"' \
    _ "$work/vrdkctl.bash" "$@"
}
expect "bash: a command from its start" "$(bash_offers vrdkctl dp)" "dpi"
expect "bash: the subcommands of a group" "$(bash_offers vrdkctl dpi '')" \
  "color current levels value"
expect "bash: global options before the command are passed over" \
  "$(bash_offers vrdkctl --json --lang 2 --trace t.txt led m)" "mcu mode"
expect "bash: an option's value after '='" "$(bash_offers vrdkctl --memory-type = F)" "Flash"
expect "bash: a value given with '=' is no command" \
  "$(bash_offers vrdkctl --simulate = dpi dpi le)" "levels"
expect "bash: an option's value after a space" "$(bash_offers vrdkctl --lang '')" "1 2 3"
expect "bash: --simulate takes its file only after '='" "$(bash_offers vrdkctl --simulate d)" \
  "dpi dump"
expect "bash: the options of a subcommand and the global ones" \
  "$(bash_offers vrdkctl led mcu --s)" "--scan --simulate --simulate-fault --step"
expect "bash: the choices of an argument" "$(bash_offers vrdkctl gesture led '')" "off on"
expect "bash: a file argument" "$(bash_offers vrdkctl save "$work/s")" "$work/saved.bin $work/second.bin"
expect "bash: a file option" "$(bash_offers vrdkctl --library "$work/sa")" "$work/saved.bin"
expect "bash: the shells of completion" "$(bash_offers vrdkctl completion '')" "bash fish zsh"

# zsh: the completion system's functions stand in as recorders, so the words
# _vrdkctl hands them are what the user is offered.
zsh_offers() {
  zsh -f -c '
    _describe() { local name; for name in ${(P)4}; do print -r -- ${name%%:*}; done }
    compadd() { [[ $1 == -- ]] && shift; print -rl -- "$@" }
    _files() { print -r -- FILES }
    compset() { : }
    source "$1" > /dev/null; shift
    words=("$@"); CURRENT=$#
    _vrdkctl | sort | tr "\n" " " | sed "s/ $//"' \
    _ "$work/vrdkctl.zsh" "$@"
}
if command -v zsh > /dev/null; then
  expect "zsh: the script parses" "$(zsh -n "$work/vrdkctl.zsh" 2>&1)" ""
  expect "zsh: a group's subcommands" "$(zsh_offers vrdkctl --json library '' | wc -w)" 10
  expect "zsh: a value after '='" "$(zsh_offers vrdkctl --memory-type=)" "Flash I2C"
  expect "zsh: a value after a space" "$(zsh_offers vrdkctl --trace x --lang '')" "1 2 3"
  expect "zsh: a file argument" "$(zsh_offers vrdkctl macro import '')" "FILES"
  # The recorders do not narrow by what is typed: the whole list comes out.
  expect "zsh: a subcommand's options and the global ones, each once" \
    "$(zsh_offers vrdkctl firemacro add --k)" \
    "--help --json --keep-left --lang --library --memory-type --offset --plain --simulate --simulate-fault --trace --version -h"
  expect "zsh: not elsewhere" "$(zsh_offers vrdkctl firemacro list --k | grep -c -- --keep-left)" 0
else
  echo "# zsh is not installed: its script is not tried"
fi

# fish: its own completion engine answers.
fish_offers() {
  fish -N -c 'source $argv[1]; complete -C $argv[2] | string replace -r "\t.*" "" | sort' \
    "$work/vrdkctl.fish" "$1" | tr '\n' ' ' | sed 's/ $//'
}
if command -v fish > /dev/null; then
  expect "fish: a command from its start" "$(fish_offers 'vrdkctl dp')" "dpi"
  expect "fish: the subcommands of a group" "$(fish_offers 'vrdkctl --json pointer ')" \
    "acceleration double-click show speed wheel whole-screen"
  expect "fish: an option's value" "$(fish_offers 'vrdkctl --memory-type ')" "Flash I2C"
  expect "fish: a subcommand's option only there" "$(fish_offers 'vrdkctl led mcu --st')" "--step"
  expect "fish: not elsewhere" "$(fish_offers 'vrdkctl led type --st')" ""
else
  echo "# fish is not installed: its script is not tried"
fi

echo "$failures failures"
[ "$failures" -eq 0 ]
