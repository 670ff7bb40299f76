#pragma once

#include "masterdata/ListForm.h"

namespace masterdata {

// The categories window "商品类别" over BM_SPLB, in the table's own row order. Its
// edits, inserts and deletes raise the unsaved mark as in the employees window, so
// closing after a change asks whether to save.
class TBM_SPLB : public ListForm {
    Q_OBJECT
public:
    explicit TBM_SPLB(shell::TDM_CS& dm, QWidget* parent = nullptr);

    dataset::Dataset& Query_SPLB;
};

} // namespace masterdata
