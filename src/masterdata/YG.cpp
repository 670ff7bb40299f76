#include "masterdata/YG.h"

namespace masterdata {

TBM_YG::TBM_YG(shell::TDM_CS& dm, QWidget* parent)
    : ListForm(dm,
               {"BM_YG",
                "员工资料",
                "Query_YG",
                "select * from bm_yg  order by bm asc",
                {{"BM", "编码"},
                 {"MC", "姓名"},
                 {"DLMC", "登录名称"},
                 {"MM", "密码", false},
                 {"DH", "电话"},
                 {"DZ", "地址"},
                 {"SR", "生日"},
                 {"SRBZ", "生日备注"},
                 {"BZ", "备注"}}},
               parent),
      Query_YG(query_) {}

} // namespace masterdata
