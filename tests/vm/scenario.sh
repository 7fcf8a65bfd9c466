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
#   mouse_start NAME OPTIONS... / mouse_stop NAME
#                               the virtual mouse comes up / ends cleanly
#   fresh_image                 the image file starts again from START
# START is the image the run starts from, IMAGE the virtual mouse's image
# file, MOUSE_PID the running virtual mouse (guest only).

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

# Unplugged at transfer 150 of its run: the open takes transfers 0 and 1, the
# read's command 2, so the read loses its response 147 and all after it.
mouse_start mouse-up-to-unplug --image="$IMAGE" --unplug-after=150
check unplug vrdk-vm-check unplug-read --image="$IMAGE" --unplug-at=150
mouse_stop mouse-down-after-unplug

# A "Flash" mouse from a missing image: factory memory of that type.
mouse_start mouse-up-flash --image=/tmp/flash.bin --memory-type=Flash
check info-flash vrdk-vm-check info --memory-type=Flash
mouse_stop mouse-down-flash
