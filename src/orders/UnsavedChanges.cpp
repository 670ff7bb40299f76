#include "orders/UnsavedChanges.h"

namespace orders {

bool UnsavedChanges = false;

} // namespace orders
