#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace dataset {
class Dataset;
}
namespace shell {
class TDM_CS;
}

// The product list of the products window, without its widgets: which rows a
// category lists, how the columns are shown, the filter, the delete guard and the
// regeneration of the pinyin codes.
namespace masterdata {

// The code of the tree's root node: every product that has a category.
inline const QString kAllCategories = QStringLiteral("%");

inline const QString kCategoryStatement = QStringLiteral("select BM,MC from BM_SPLB order by BM");
inline const QString kProductInUseText =
    QStringLiteral("当前商品在") + QStringLiteral("出租、归还单") + QStringLiteral("使用过，无法删除！");

// The products of a category and of every category whose code it begins: the codes
// are hierarchical by prefix.
QString productListStatement(const QString& category);

// Declares the columns of BM_SP in grid order with their captions and formats; TXM
// and TP stay hidden. Call before the first open.
void setUpProductColumns(dataset::Dataset& products);

// Shows only the loaded rows whose code, name or pinyin contains the text, ignoring
// case and taking the text literally; an empty text shows every loaded row.
void filterProducts(dataset::Dataset& products, const QString& text);

// How many rental order lines use the product, counted on the window's scratch query.
int productUseCount(dataset::Dataset& scratch, const QString& productCode);

// Overwrites the pinyin code of every row of the list (the filtered rows only, while
// a filter is in force) with PinyinInitials of the name, in list order; visited gets
// each row's 1-based number. Each row is written as it is left, all rows inside one
// transaction. A failure part-way drops the edit of the failing row, keeps (commits)
// the rows done so far and throws the data layer's sql::Error.
void regeneratePinyin(shell::TDM_CS& dm, dataset::Dataset& products, const std::function<void(int)>& visited);

} // namespace masterdata
