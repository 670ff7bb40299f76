#pragma once

namespace orders {

// The one unsaved-changes flag of the program, shared by the order window and the
// print format window: set when an existing order header or line (or print format
// row) is put into editing, not by adding a new one; cleared by a successful save.
extern bool UnsavedChanges;

} // namespace orders
