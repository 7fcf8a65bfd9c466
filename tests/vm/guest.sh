# The guest's side of the VM test's steps (sourced by init before the
# scenario). Each step's output is framed on the console:
#   VMTEST step NAME
#   ...what the step printed...
#   VMTEST end NAME rc=STATUS
# and the host (scripts/vm_test.sh) judges it by the same scenario.

START=/vm/start.bin      # the image the run starts from (made by the host)
IMAGE=/tmp/mouse.bin     # the virtual mouse's image file
SAVED=/tmp/saved.bin     # a profile file that vrdkctl saves and loads
STEP_SECONDS=60          # a step that takes longer hangs: it is ended

# step NAME COMMAND...: runs COMMAND, then prints its output framed.
step() {
  name=$1
  shift
  "$@" > /tmp/step.out 2>&1
  status=$?
  echo "VMTEST step $name"
  cat /tmp/step.out
  echo "VMTEST end $name rc=$status"
}

# check NAME PROGRAM ARGS...: a step whose program prints "ok - " and
# "not ok - " lines.
check() {
  name=$1
  shift
  step "$name" timeout "$STEP_SECONDS" "$@"
}

# compare NAME PROGRAM ARGS...: a step whose whole output the host compares
# with PROGRAM --simulate=IMAGE ARGS... run against the in-process mouse.
compare() {
  check "$@"
}

fresh_image() {
  cp "$START" "$IMAGE"
}

default_image() {
  cp /vm/default.bin "$IMAGE"
}

mouse_listed() {
  grep -qs 'HID_ID=0003:00001BCF:000008B8' /sys/class/hidraw/hidraw*/device/uevent
}

start_mouse() {
  vrdk-virtual-mouse "$@" > /dev/null 2>> /tmp/mouse.log &
  MOUSE_PID=$!
  tries=0
  while ! mouse_listed; do
    tries=$((tries + 1))
    if [ $tries -gt 500 ] || ! kill -0 "$MOUSE_PID" 2> /dev/null; then
      echo "not ok - the virtual mouse comes up on the bus"
      cat /tmp/mouse.log
      return 1
    fi
    sleep 0.01
  done
  echo "ok - the virtual mouse comes up on the bus (hidraw after $((tries * 10)) ms)"
}

stop_mouse() {
  kill -TERM "$MOUSE_PID"
  wait "$MOUSE_PID"
  status=$?
  if [ $status -eq 0 ]; then
    echo "ok - the virtual mouse ends cleanly on SIGTERM"
  else
    echo "not ok - the virtual mouse ends cleanly on SIGTERM: exit status $status"
  fi
  if mouse_listed; then
    echo "not ok - the mouse is gone from the bus after it ended"
  else
    echo "ok - the mouse is gone from the bus after it ended"
  fi
  echo "# what the virtual mouse said:"
  sed 's/^/# /' /tmp/mouse.log
  : > /tmp/mouse.log
}

# mouse_start NAME OPTIONS...: starts vrdk-virtual-mouse and waits for its
# hidraw node. mouse_stop NAME: ends it with SIGTERM and checks it went.
mouse_start() {
  name=$1
  shift
  step "$name" start_mouse "$@"
}

mouse_stop() {
  step "$1" stop_mouse
}

# compare_trace NAME PROGRAM ARGS...: a compare step whose output also holds
# the transfers the program made (--trace), without the refused probes of
# enumeration, which depend on how the bus is laid out.
traced() {
  program=$1
  shift
  rm -f /tmp/trace.txt
  timeout "$STEP_SECONDS" "$program" --trace=/tmp/trace.txt "$@"
  status=$?
  echo "# trace"
  grep -v ' FAIL$' /tmp/trace.txt
  return $status
}

compare_trace() {
  name=$1
  shift
  step "$name" traced "$@"
}

# shell_check NAME FUNCTION: a step done by a function of this file that
# prints "ok - " and "not ok - " lines.
shell_check() {
  step "$1" "$2"
}

# vrdkctl lists the mouse (feature length 8, marked) and the keyboard (another
# feature length).
vrdkctl_lists_the_bus() {
  vrdkctl list > /tmp/list.txt 2>&1
  cat /tmp/list.txt | sed 's/^/# /'
  if grep -q '^\* /dev/hidraw[0-9]*  1BCF:08B8  feature 8  input 8$' /tmp/list.txt; then
    echo "ok - vrdkctl list marks the mouse with feature length 8"
  else
    echo "not ok - vrdkctl list marks the mouse with feature length 8"
  fi
  if grep -q '^  /dev/hidraw[0-9]*  1209:0001  feature [^8]' /tmp/list.txt; then
    echo "ok - vrdkctl list shows the keyboard with another feature length"
  else
    echo "not ok - vrdkctl list shows the keyboard with another feature length"
  fi
}

# Idle DevTimer ticks only count the bus: the first open of a hidraw node
# powers its device up, and the virtual mouse logs each such open.
idle_ticks_open_no_node() {
  before=$(grep -c 'opened by a reader' /tmp/mouse.log)
  vrdk-vm-check idle
  after=$(grep -c 'opened by a reader' /tmp/mouse.log)
  if [ "$before" = "$after" ]; then
    echo "ok - counting the bus opens no hidraw node"
  else
    echo "not ok - counting the bus opens no hidraw node: the mouse was opened $((after - before)) times"
  fi
  # The check itself must see opens: vrdkctl opens the node to talk to it.
  vrdkctl info > /dev/null 2>&1
  if [ "$(grep -c 'opened by a reader' /tmp/mouse.log)" -gt "$after" ]; then
    echo "ok - talking to the mouse opens its node, and the log shows it"
  else
    echo "not ok - talking to the mouse opens its node, and the log shows it"
  fi
}

# vrdkctl reads the whole "Flash" mouse (32 pages) through hidraw.
vrdkctl_reads_a_flash_mouse() {
  vrdkctl --memory-type=Flash info > /tmp/flash-info.txt 2>&1
  status=$?
  sed 's/^/# /' /tmp/flash-info.txt
  if [ $status -eq 0 ] && grep -q '^memory type  *Flash$' /tmp/flash-info.txt; then
    echo "ok - vrdkctl --memory-type=Flash reads the Flash mouse"
  else
    echo "not ok - vrdkctl --memory-type=Flash reads the Flash mouse: exit $status"
  fi
}

# The mouse leaves the bus in the middle of vrdkctl's whole-memory read:
# vrdkctl ends at once, says so, and reports no mouse.
vrdkctl_survives_an_unplug() {
  timeout 20 vrdkctl info > /tmp/unplug.txt 2>&1
  status=$?
  sed 's/^/# /' /tmp/unplug.txt
  if [ $status -eq 2 ]; then
    echo "ok - vrdkctl exits with 2 (no mouse) when the mouse leaves during the read"
  else
    echo "not ok - vrdkctl exits with 2 (no mouse) when the mouse leaves during the read: $status"
  fi
  if grep -q 'left the bus while it was being read' /tmp/unplug.txt; then
    echo "ok - vrdkctl says the mouse left during the read"
  else
    echo "not ok - vrdkctl says the mouse left during the read"
  fi
}
