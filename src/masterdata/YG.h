#pragma once

#include "masterdata/ListForm.h"

namespace masterdata {

// The employees window "员工资料" over BM_YG, ordered by code. The password column
// is not shown, so this window never shows or changes it.
class TBM_YG : public ListForm {
    Q_OBJECT
public:
    explicit TBM_YG(shell::TDM_CS& dm, QWidget* parent = nullptr);

    dataset::Dataset& Query_YG;
};

} // namespace masterdata
