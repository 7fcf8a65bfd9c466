# The VM test's scenario. The guest runs it (tests/vm/guest.sh); then the host
# (scripts/vm_test.sh) reads it again with its own meaning of each word and
# judges every step from the console:
#   check NAME PROGRAM ARGS...  PROGRAM's "ok - " and "not ok - " lines count
#   compare NAME PROGRAM ARGS...
#                               the output must equal that of PROGRAM
#                               --simulate=IMAGE ARGS... on the host, where
#                               IMAGE follows the guest's image through the
#                               compare steps (so a step that writes keeps its
#                               effect for the next compare step)
#   default_image               the image file starts again from the factory image
#   mouse_start NAME OPTIONS... / mouse_stop NAME
#                               the virtual mouse comes up / ends cleanly
#   fresh_image                 the image file starts again from START
#   compare_trace NAME PROGRAM ARGS...
#                               compare, with the transfers PROGRAM traced
#                               (--trace) after its output
#   shell_check NAME FUNCTION   a check done by a function of guest.sh
# START is the image the run starts from, IMAGE the virtual mouse's image
# file, SAVED a profile file, MOUSE_PID the running virtual mouse (guest only).

fresh_image
mouse_start mouse-up --image="$IMAGE" --keyboard
check list vrdk-vm-check list --keyboard
check info vrdk-vm-check info --memory-type=I2C
compare dump vrdk-vm-check dump --trace
check read vrdk-vm-check read --image="$START"
check input vrdk-vm-check input --signal="$MOUSE_PID"
check write vrdk-vm-check write --image="$START"
check restart vrdk-vm-check restart
mouse_stop mouse-down
check saved vrdk-vm-check saved --image="$START" --saved="$IMAGE"

# vrdkctl on the real hidraw path, from the factory image: the same output,
# memory and transfers as against its in-process simulated mouse.
default_image
mouse_start mouse-up-factory --image="$IMAGE" --keyboard
# Idle ticks count the bus without opening it (the vendor-only mouse has no
# input device that the kernel's own handlers keep open).
shell_check idle-ticks idle_ticks_open_no_node
shell_check vrdkctl-list vrdkctl_lists_the_bus
compare_trace vrdkctl-info vrdkctl info
compare vrdkctl-dump vrdkctl --json dump
compare_trace vrdkctl-button vrdkctl button 2 3 "Play / Pause"
compare vrdkctl-save vrdkctl save "$SAVED"
compare vrdkctl-dump-after-button vrdkctl --json dump
compare_trace vrdkctl-load vrdkctl load "$SAVED"
compare_trace vrdkctl-reset vrdkctl reset
compare vrdkctl-info-after-restart vrdkctl info
mouse_stop mouse-down-factory

# Unplugged at transfer 150 of its run: the open takes transfers 0 and 1, the
# read's command 2, so the read loses its response 147 and all after it.
mouse_start mouse-up-to-unplug --image="$IMAGE" --unplug-after=150
check unplug vrdk-vm-check unplug-read --image="$IMAGE" --unplug-at=150
mouse_stop mouse-down-after-unplug

# vrdkctl's whole read loses the mouse at transfer 100.
default_image
mouse_start mouse-up-to-unplug-vrdkctl --image="$IMAGE" --unplug-after=100
shell_check vrdkctl-unplug vrdkctl_survives_an_unplug
mouse_stop mouse-down-after-vrdkctl-unplug

# One USB interface with a mouse, a consumer control (with a 16-byte feature
# report of its own) and the vendor collection, as gaming mice have: Linux
# makes one hidraw node of it, the program three interfaces, and the mouse is
# found through the vendor one.
default_image
mouse_start mouse-up-composite --image="$IMAGE" --composite
check list-composite vrdk-vm-check list --composite
check info-composite vrdk-vm-check info --memory-type=I2C
compare vrdkctl-info-composite vrdkctl info
mouse_stop mouse-down-composite

# Plugged in to read: the hotplug monitor counts the bus at once, so the
# mouse is ready after the settle wait and one read, not at the next tick.
default_image
check plug-to-ready vrdk-vm-plug --image="$IMAGE"

# A "Flash" mouse from a missing image: factory memory of that type.
mouse_start mouse-up-flash --image=/tmp/flash.bin --memory-type=Flash
check info-flash vrdk-vm-check info --memory-type=Flash
shell_check vrdkctl-flash vrdkctl_reads_a_flash_mouse
mouse_stop mouse-down-flash
