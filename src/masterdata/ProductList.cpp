#include "masterdata/ProductList.h"

#include "dataset/Dataset.h"
#include "masterdata/Pinyin.h"
#include "shell/DataModule.h"
#include "sql/Dialect.h"

namespace masterdata {

QString productListStatement(const QString& category) {
    return QStringLiteral("select * from bm_sp\nwhere LB like ") + sql::quoted(category + QLatin1Char('%'))
           + QStringLiteral(" order by BM");
}

void setUpProductColumns(dataset::Dataset& products) {
    struct Caption {
        const char* name;
        const char* label;
    };
    const Caption captions[] = {
        {"BM", "商品编码"}, {"MC", "商品名称"}, {"TXM", "附加特性"}, {"DW", "单位"},
        {"CBJ", "价格"},    {"YJ", "押金"},     {"ZJ", "租金"},     {"KCSL", "库存数量"},
        {"JCSL", "租出数量"}, {"JP", "简拼"},   {"LB", "类别"},     {"TP", "TP"},
    };
    for (const Caption& caption : captions)
        products.addColumn(QLatin1String(caption.name)).setDisplayLabel(QString::fromUtf8(caption.label));
    products.column("TXM").setVisible(false);
    products.column("TP").setVisible(false);
    for (const char* money : {"CBJ", "YJ", "ZJ"})
        products.column(QLatin1String(money)).setDisplayFormat(QStringLiteral("#0.00"));
}

void filterProducts(dataset::Dataset& products, const QString& text) {
    products.setFiltered(false);
    if (text.isEmpty())
        return;
    products.setFilterText(text, {QStringLiteral("BM"), QStringLiteral("MC"), QStringLiteral("JP")});
    products.setFiltered(true);
}

int productUseCount(dataset::Dataset& scratch, const QString& productCode) {
    scratch.close();
    scratch.setCommandText(QStringLiteral("select count(*) from XSD_MX where SPBM=") + sql::quoted(productCode));
    scratch.open();
    return int(scratch.field(0).asInteger());
}

namespace {

// One transaction around many row writes, so that they reach the disk together.
class WriteTogether {
public:
    explicit WriteTogether(sql::Connection& connection)
        : connection_(connection), own_(!connection.inTransaction()) {
        if (own_)
            connection_.beginTransaction();
    }
    ~WriteTogether() {
        if (own_ && connection_.inTransaction())
            connection_.rollback();
    }
    void commit() {
        if (own_)
            connection_.commit();
    }

private:
    sql::Connection& connection_;
    bool own_;
};

} // namespace

void regeneratePinyin(shell::TDM_CS& dm, dataset::Dataset& products, const std::function<void(int)>& visited) {
    WriteTogether writes(*products.connection());
    try {
        for (int row = 0; row < products.recordCount(); ++row) {
            if (!products.moveTo(row))
                break;
            products.edit();
            products.field(QStringLiteral("JP")).setValue(PinyinInitials(dm, products.field(QStringLiteral("MC")).asString()));
            visited(row + 1);
        }
        products.first();
    } catch (const sql::Error&) {
        products.cancel();
        writes.commit();
        throw;
    }
    writes.commit();
}

} // namespace masterdata
