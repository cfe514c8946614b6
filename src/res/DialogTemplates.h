// The dialog templates of every window, registered with the window layer by resource id.
#pragma once

namespace res {
// Registers every template once; later calls do nothing.
void RegisterDialogTemplates();
} // namespace res
