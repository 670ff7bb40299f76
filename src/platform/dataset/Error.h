#pragma once

#include "sql/Error.h"

namespace dataset {

// A refusal of the dataset layer (no such column, a value that is no number, a text
// too long for its column, editing outside edit mode). Derived from sql::Error, so a
// caller that shows engine failures shows these the same way.
class Error : public sql::Error {
public:
    using sql::Error::Error;
};

} // namespace dataset
