// Generates a large account set through the program's own schema and prints, for a
// few everyday operations, the median time of the program's code path beside the
// same SQL run by the plain sqlite3 command, and the memory a large dataset takes.
//
//   bench_account_set [--products N] [--orders N] [--lines N] [--file PATH] [--profile-month N]
//
// Defaults: 5,000 products, 200,000 orders, 3 lines per order, a temporary file.
#include "dataset/Dataset.h"
#include "shell/AccountSet.h"
#include "sql/Connection.h"
#include "sql/Dialect.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

#include <sqlite3.h>

#include <algorithm>
#include <functional>
#include <malloc.h>
#include <vector>

namespace {

QTextStream out(stdout);
constexpr int kRuns = 7;

struct Options {
    int products = 5000;
    int orders = 200000;
    int linesPerOrder = 3;
    QString file;
    int profileMonth = 0;  // only load the month this many times (for a profiler)
};

Options parseOptions(const QStringList& args) {
    Options options;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--products") options.products = args[i + 1].toInt();
        else if (args[i] == "--orders") options.orders = args[i + 1].toInt();
        else if (args[i] == "--lines") options.linesPerOrder = args[i + 1].toInt();
        else if (args[i] == "--file") options.file = args[i + 1];
        else if (args[i] == "--profile-month") options.profileMonth = args[i + 1].toInt();
    }
    return options;
}

class Statement {
public:
    Statement(sqlite3* db, const char* text) { sqlite3_prepare_v2(db, text, -1, &statement_, nullptr); }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement& text(int i, const QString& value) {
        const QByteArray bytes = value.toUtf8();
        sqlite3_bind_text(statement_, i, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& number(int i, double value) { sqlite3_bind_double(statement_, i, value); return *this; }
    void run() { sqlite3_step(statement_); sqlite3_reset(statement_); }

private:
    sqlite3_stmt* statement_ = nullptr;
};

const QDate kFirstDay(2025, 1, 1);
constexpr int kDays = 730;
const char* const kSurnames[] = {"张", "王", "李", "赵", "刘", "陈", "杨", "黄"};

QString orderNumber(int order, int ordersPerDay) {
    const QDate day = kFirstDay.addDays(order / ordersPerDay);
    const int employee = 1 + order % 5;
    return day.toString("yyyyMMdd") + QString("%1").arg(employee, 3, 10, QChar('0'))
           + QString("%1").arg(order % ordersPerDay + 1, 5, 10, QChar('0'));
}

void generate(const Options& options) {
    shell::createAccountSet(options.file, false);
    sql::Connection connection;
    connection.openFile(options.file);
    sqlite3* db = connection.handle();
    connection.beginTransaction();
    Statement product(db, "insert into BM_SP(BM,MC,TXM,DW,CBJ,YJ,ZJ,KCSL,JCSL,JP,LB) values (?,?,?,?,?,?,?,?,?,?,?)");
    for (int i = 0; i < options.products; ++i)
        product.text(1, QString("SP%1").arg(i, 5, 10, QChar('0')))
            .text(2, QString("白色婚纱%1号").arg(i)).text(3, QString("69%1").arg(i, 8, 10, QChar('0')))
            .text(4, "套").number(5, 1000 + i % 500).number(6, 200).number(7, 50 + i % 20)
            .number(8, 100).number(9, 0).text(10, QString("BSHS%1H").arg(i)).text(11, "01").run();
    Statement header(db, "insert into XSD_ZB(ID,RQ,JBR,ZDR,KHMC,KHDZ,KHDH,KHZJ,ZJRQ,GHRQ,YYSK,YYSK_RQ,SS,SS_RQ,"
                         "BZ,YYSH,SH,QX,YSYJ,YS,YSZJ,SSJE,WFJE) values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    Statement line(db, "insert into XSD_MX(ID,SPBM,SPMC,TXM,DW,CBJ,KCSL,SL,TS,YJ,ZJ,ZZJ,BZ) values (?,?,?,?,?,?,?,?,?,?,?,?,?)");
    const int ordersPerDay = std::max(1, options.orders / kDays + 1);
    for (int i = 0; i < options.orders; ++i) {
        const QString id = orderNumber(i, ordersPerDay);
        const QString day = kFirstDay.addDays(i / ordersPerDay).toString("yyyy-MM-dd");
        const QString back = kFirstDay.addDays(i / ordersPerDay + 2).toString("yyyy-MM-dd");
        header.text(1, id).text(2, day).text(3, "系统管理员").text(4, "系统管理员")
            .text(5, QString::fromUtf8(kSurnames[i % 8]) + QString("客户%1").arg(i))
            .text(6, "幸福路88号").text(7, QString("138%1").arg(i, 8, 10, QChar('0')))
            .text(8, QString("4401%1").arg(i, 14, 10, QChar('0'))).text(9, day).text(10, back)
            .number(11, 100).text(12, day).number(13, 300).text(14, day).text(15, "")
            .text(16, "T").text(17, "T").text(18, i % 3 ? "T" : "F")
            .number(19, 600).number(20, 900).number(21, 300).number(22, 400).number(23, 500).run();
        for (int l = 0; l < options.linesPerOrder; ++l) {
            const int p = (i * 7 + l * 13) % std::max(1, options.products);
            line.text(1, id).text(2, QString("SP%1").arg(p, 5, 10, QChar('0')))
                .text(3, QString("白色婚纱%1号").arg(p)).text(4, QString("69%1").arg(p, 8, 10, QChar('0')))
                .text(5, "套").number(6, 1000).number(7, 100).number(8, 1).number(9, 2)
                .number(10, 200).number(11, 50).number(12, 100).text(13, "").run();
        }
    }
    connection.commit();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double medianMs(const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    return median(times);
}

// Wall time of the sqlite3 command running a script, median of kRuns; rows go to a pipe.
double sqlite3ScriptMs(const QString& file, const QString& script) {
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        QProcess process;
        process.start("sqlite3", {"-batch", file});
        process.write(script.toUtf8());
        process.closeWriteChannel();
        process.waitForFinished(-1);
        process.readAllStandardOutput();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    return median(times);
}

// The same statements through the sqlite3 command: the statements run `repeat` times in
// one session, less a session that runs nothing, per repetition. The process start and
// the opening of the file are thus left out, as the program's connection is open too.
double sqlite3Ms(const QString& file, const QStringList& dialectStatements, int repeat) {
    QString once;
    for (const QString& statement : dialectStatements)
        for (const QString& translated : sql::translate(statement))
            once += QString(translated).replace('\n', ' ') + ";\n";
    const QString warmUp = "select count(*) from xsd_zb;\n";
    const double empty = sqlite3ScriptMs(file, warmUp);
    return std::max(0.0, sqlite3ScriptMs(file, warmUp + once.repeated(repeat)) - empty) / repeat;
}

void report(const QString& name, double programMs, double sqliteMs) {
    out << QString("%1  program %2 ms   sqlite3 %3 ms   ratio %4\n")
               .arg(name, -44)
               .arg(programMs, 9, 'f', 2)
               .arg(sqliteMs, 9, 'f', 2)
               .arg(sqliteMs > 0 ? programMs / sqliteMs : 0, 5, 'f', 2);
    out.flush();
}

long residentKb() {
    QFile statm("/proc/self/statm");
    statm.open(QIODevice::ReadOnly);
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toLong() * 4;
}

const QString kMonth = "select * from xsd_zb where rq between #2026-11-01# and #2026-11-30#\n"
                       " order by rq asc, id asc";

void profileMonth(const Options& options) {
    sql::Connection connection;
    connection.openFile(options.file);
    const double ms = medianMs([&] {
        for (int i = 0; i < options.profileMonth; ++i) {
            dataset::Dataset ds;
            ds.setConnection(&connection);
            ds.setCommandText(kMonth);
            ds.open();
        }
    });
    out << QString("month loaded %1 times: %2 ms each\n").arg(options.profileMonth).arg(ms / options.profileMonth, 0, 'f', 2);
}

void measure(const Options& options) {
    sql::Connection connection;
    connection.openFile(options.file);
    const int ordersPerDay = std::max(1, options.orders / kDays + 1);
    const QString someOrder = orderNumber(options.orders / 2, ordersPerDay);
    const QString today = someOrder.left(8);

    const QStringList numbering = {
        "select count(id) as iid from xsd_zb ",
        QString("select max(id) as tid From xsd_zb where id like \"%1001%\"").arg(today)};
    report("numbering: count(id), max(id)",
           medianMs([&] { for (const QString& s : numbering) connection.scalar(s); }),
           sqlite3Ms(options.file, numbering, 50));

    const QStringList oneOrder = {QString("select * from xsd_zb where id='%1'").arg(someOrder),
                                  QString("select * from xsd_mx where id='%1'").arg(someOrder)};
    report("one order by number (header + lines)", medianMs([&] {
               for (const QString& s : oneOrder) {
                   dataset::Dataset ds;
                   ds.setConnection(&connection);
                   ds.setCommandText(s);
                   ds.open();
               }
           }),
           sqlite3Ms(options.file, oneOrder, 500));

    const QString month = kMonth;
    int monthRows = 0;
    report("one month between, into a dataset", medianMs([&] {
               dataset::Dataset ds;
               ds.setConnection(&connection);
               ds.setCommandText(month);
               ds.open();
               monthRows = ds.recordCount();
           }),
           sqlite3Ms(options.file, {month}, 10));
    out << QString("    (%1 rows)\n").arg(monthRows);

    const QString monthFiltered = "select * from xsd_zb where rq between #2026-11-01# and #2026-11-30#\n"
                                  " and (id like \"%张%\" or khmc like \"%张%\") order by rq asc, id asc";
    int filteredRows = 0;
    dataset::Dataset loaded;
    loaded.setConnection(&connection);
    loaded.setCommandText(month);
    loaded.open();
    report("filter typed on the loaded month (in memory)", medianMs([&] {
               loaded.setFilterText("张", {"ID", "KHMC"});
               loaded.setFiltered(true);
               filteredRows = loaded.recordCount();
               loaded.setFiltered(false);
           }),
           sqlite3Ms(options.file, {monthFiltered}, 10));
    out << QString("    (%1 rows)\n").arg(filteredRows);

    malloc_trim(0);
    const long before = residentKb();
    {
        dataset::Dataset ds;
        ds.setConnection(&connection);
        ds.setCommandText("select ID,RQ,JBR,ZDR,KHMC,KHDZ,KHDH,KHZJ,KHBZR,KHQT,ZJRQ,GHRQ,ZJTS,YYSK,YYSK_RQ,SSYJ,"
                          "SS,SS_RQ,QXSK,QXSK_RQ,BZ,YYSH,SH,QX,YSYJ,YS,YSZJ,SSJE from xsd_zb limit 100000");
        ds.open();
        const long after = residentKb();
        out << QString("dataset memory: %1 rows x %2 columns = %3 MB\n")
                   .arg(ds.recordCount()).arg(ds.columnCount()).arg((after - before) / 1024.0, 0, 'f', 1);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    Options options = parseOptions(app.arguments());
    QTemporaryDir dir;
    if (options.file.isEmpty())
        options.file = dir.filePath("data.mdb");
    if (!QFile::exists(options.file)) {
        QElapsedTimer timer;
        timer.start();
        generate(options);
        out << QString("generated %1 products, %2 orders, %3 lines each in %4 s\n")
                   .arg(options.products).arg(options.orders).arg(options.linesPerOrder)
                   .arg(timer.elapsed() / 1000.0, 0, 'f', 1);
    }
    if (options.profileMonth > 0)
        profileMonth(options);
    else
        measure(options);
    return 0;
}
