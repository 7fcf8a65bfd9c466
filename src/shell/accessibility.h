// The window's controls to assistive tools (screen readers, the desktop's
// accessibility bus): the skinned labels tell their role, name, state and
// action; the step sliders their value; pictures that only decorate are left
// out of the tree.
#pragma once

namespace vrdk::shell {

// Installs the interfaces once, before the first window is made.
void InstallAccessibility();

}  // namespace vrdk::shell
