#pragma once

#include <QString>

// The fixed texts of the order commands: messages and the four stock statements.
namespace orders::texts {

// Messages.
inline const QString kStockTooLow = QStringLiteral("当前行库存数量低于出租数量！");
inline const QString kSaveFailed = QStringLiteral("保存失败！");
inline const QString kSaved = QStringLiteral("保存成功！");
inline const QString kEnterCustomerName = QStringLiteral("请输入客户姓名!");
inline const QString kEnterCustomer = QStringLiteral("请输入客户编码和姓名!");
inline const QString kChooseProducts = QStringLiteral("请先选择商品！");
inline const QString kReserved = QStringLiteral("预约成功！");
inline const QString kReserveFailed = QStringLiteral("预约失败！");
inline const QString kReservationCancelled = QStringLiteral("取消成功！");
inline const QString kReservationCancelFailed = QStringLiteral("取消失败！");
inline const QString kRented = QStringLiteral("审核通过成功！");
inline const QString kRentFailed = QStringLiteral("审核通过失败！");
inline const QString kRentalCancelled = QStringLiteral("取消审核成功！");
inline const QString kRentalCancelFailed = QStringLiteral("取消审核失败！");
inline const QString kReturned = QStringLiteral("取相确认成功！");
inline const QString kReturnFailed = QStringLiteral("取相确认失败！");
inline const QString kReturnCancelled = QStringLiteral("归还反确认成功！");
inline const QString kReturnCancelFailed = QStringLiteral("归还反确认失败！");
inline const QString kCannotDelete = QStringLiteral("当前单据已“收款确认”不能删除！");
inline const QString kDeleted = QStringLiteral("删除成功!");
inline const QString kPrinted = QStringLiteral("打印成功");
inline const QString kCodeUnknown = QStringLiteral("您输入的编码不存在！");
inline const QString kProductUnknown = QStringLiteral("您输入的商品不存在！");
inline const QString kQuickSelectionFailed = QStringLiteral("您输入的编码不存！");

// Messages of refusals the order logic adds.
inline const QString kPaymentNotANumber = QStringLiteral("收款金额“%1”不是有效的数字，请重新输入！");
inline const QString kLoginWithoutEmployee = QStringLiteral("员工资料中没有登录名称为“%1”的员工，不能生成单号！");
inline const QString kEmployeeCodeLength = QStringLiteral("员工编码“%1”不是一到三个字符，不能生成单号！");
inline const QString kNumbersUsedUp = QStringLiteral("今天的单号已经用完，不能再生成单号！");
inline const QString kLinesLocked = QStringLiteral("当前单据已出租或已归还，不能增加或删除商品！");
inline const QString kDatesMissing = QStringLiteral("请先输入租借日期和归还日期！");

// The stock statements; each is followed by the order number as a text literal.
inline const QString kConfirmRentalStock = QStringLiteral(
    "update xsd_mx x,bm_sp b set b.kcsl=b.kcsl-x.sl, b.jcsl=b.jcsl+x.sl where b.bm=x.spbm and x.id=");
inline const QString kCancelRentalStock = QStringLiteral(
    "update xsd_mx x,bm_sp b set b.kcsl=b.kcsl+x.sl, b.jcsl=b.jcsl-x.sl  where b.bm=x.spbm and x.id=");
inline const QString kConfirmReturnStock = QStringLiteral(
    "update xsd_mx x,bm_sp b set  b.kcsl=b.kcsl+x.sl, b.jcsl=b.jcsl-x.sl  where b.bm=x.spbm and x.id=");
inline const QString kCancelReturnStock = QStringLiteral(
    "update xsd_mx x,bm_sp b set  b.kcsl=b.kcsl-x.sl, b.jcsl=b.jcsl+x.sl  where b.bm=x.spbm and x.id=");

} // namespace orders::texts
