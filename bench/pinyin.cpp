// Pinyin initials over a generated account set of products and the regeneration of
// every product's code through the products window, as the operator runs it.
//
//   bench_pinyin [--products N] [--runs N]
//
// Defaults: 10,000 products, 5 runs; figures are medians. The product names mix
// level-1 characters (ranges only) with characters that need a BM_JP lookup.
#include "masterdata/Form_SP.h"
#include "masterdata/Pinyin.h"
#include "shell/AccountSet.h"
#include "shell/DataModule.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <QToolButton>

#include <sqlite3.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

QTextStream out(stdout);

// Answers every question with Yes, so the regeneration runs without a person.
class AnswerYes : public ui::DialogService {
public:
    ui::Button message(const ui::MessageRequest& request) override {
        if (request.buttons.testFlag(ui::Button::Yes))
            return ui::Button::Yes;
        out << "message: " << request.text << "\n";
        return ui::Button::Ok;
    }
    QString chooseFile(const ui::FileRequest&) override { return {}; }
};

// Names in the shop's style; 鑫, 琪, （ and ） lie outside the level-1 ranges.
const char* const kNames[] = {"白色婚纱%1号", "佳能EOS相机%1", "鑫源礼服%1", "（特价）旗袍%1",
                              "尼康单反镜头%1", "琪琪公主裙%1", "新娘头纱%1", "三脚架%1"};

QStringList productNames(int count) {
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << QString::fromUtf8(kNames[i % std::size(kNames)]).arg(i);
    return names;
}

void addProducts(sql::Connection& connection, const QStringList& names) {
    connection.beginTransaction();
    for (int i = 0; i < names.size(); ++i)
        connection.execute("insert into BM_SP(BM,MC,DW,ZJ,YJ,KCSL,JCSL,LB) values (:bm,:mc,'件',50,500,1,0,'01')",
                           {{"bm", QString("SP%1").arg(i, 5, 10, QChar('0'))}, {"mc", names[i]}});
    connection.commit();
}

int traceLookup(unsigned, void* context, void*, void* sqlText) {
    if (QByteArray(static_cast<const char*>(sqlText)).toUpper().contains("BM_JP"))
        ++*static_cast<int*>(context);
    return 0;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double timeMs(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int products = 10000;
    int runs = 5;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--products") products = args[i + 1].toInt();
        else if (args[i] == "--runs") runs = args[i + 1].toInt();
    }

    QTemporaryDir dir;
    QDir(dir.path()).mkpath("data");
    shell::createAccountSet(dir.filePath("data/data.mdb"), true);
    shell::TDM_CS dm(dir.path());
    dm.openAccountSet();
    const QStringList names = productNames(products);
    addProducts(dm.ADOConnection1, names);
    out << QString("%1 products in %2\n").arg(products).arg(dir.path());

    int lookups = 0;
    sqlite3_trace_v2(dm.ADOConnection1.handle(), SQLITE_TRACE_STMT, traceLookup, &lookups);
    for (const QString& name : names)
        masterdata::PinyinInitials(dm, name);
    sqlite3_trace_v2(dm.ADOConnection1.handle(), 0, nullptr, nullptr);
    out << QString("BM_JP lookups for all names:           %1\n").arg(lookups);

    std::vector<double> initials;
    for (int run = 0; run < runs; ++run)
        initials.push_back(timeMs([&] {
            for (const QString& name : names)
                masterdata::PinyinInitials(dm, name);
        }));
    out << QString("PinyinInitials of every name:          %1 ms\n").arg(median(initials), 8, 'f', 1);

    AnswerYes yes;
    ui::setDialogs(&yes);
    masterdata::TFormSP window(dm);
    std::vector<double> regenerations;
    for (int run = 0; run < runs; ++run) {
        dm.ADOConnection1.execute("update BM_SP set JP=''");
        window.Query_SP.refresh();
        regenerations.push_back(timeMs([&] { window.SpeedButton2->click(); }));
    }
    ui::setDialogs(nullptr);
    const int done = dm.ADOConnection1.scalar("select count(*) from BM_SP where JP<>''").toInt();
    out << QString("regeneration in the products window:   %1 ms  (%2 of %3 rows written, limit 2000 ms)\n")
               .arg(median(regenerations), 8, 'f', 1)
               .arg(done)
               .arg(window.Query_SP.recordCount());
    out.flush();
    return 0;
}
