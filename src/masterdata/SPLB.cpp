#include "masterdata/SPLB.h"

namespace masterdata {

TBM_SPLB::TBM_SPLB(shell::TDM_CS& dm, QWidget* parent)
    : ListForm(dm,
               {"BM_SPLB", "商品类别", "Query_SPLB", "select * from bm_splb", {{"BM", "编码"}, {"MC", "名称"}}},
               parent),
      Query_SPLB(query_) {}

} // namespace masterdata
