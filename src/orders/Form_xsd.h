#pragma once

#include "orders/RentalOrder.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace masterdata {
class DBNavigator;
class PictureView;
}
namespace shell {
class TDM_CS;
}

namespace orders {

class OrderGrid;
class Txspx;

// The rental order window "出租、归还单": the order's head and customer, its lines in a
// grid with footers, the quick selection and the pickers, the money of the three
// stages with their six commands, and printing. The window holds no order rules: it
// binds its boxes and grid to the order's Query_ZB and Query_MX and calls the order's
// commands with the texts of its boxes.
//
// Other windows open an order by number with openOrder() (the text of Edit_id).
class Txsd : public QWidget {
    Q_OBJECT
public:
    // The window of the command "CZGH" ("出租、归还"), destroyed when it closes.
    static Txsd* create(shell::TDM_CS& dm, QWidget* parent = nullptr);

    explicit Txsd(shell::TDM_CS& dm, QWidget* parent = nullptr);
    ~Txsd() override;

    RentalOrder& order() { return order_; }
    // Puts the number into Edit_id, which loads that order.
    void openOrder(const QString& number);

    // What the pickers write: a product into the current line (the full picker), or a
    // new line after which the quick-selection box is emptied and focused (the quick list).
    void pickIntoCurrentLine(const QString& code);
    void appendPickedLine(const QString& code);

    // --- toolbar
    QToolButton* SpeedButton2;  // 新增
    QToolButton* SpeedButton1;  // 保存
    QToolButton* SpeedButton3;  // 删除
    QToolButton* SpeedButton4;  // 设计
    QToolButton* SpeedButton6;  // 打印
    QToolButton* SpeedButton5;  // 退出
    // --- order head
    QLineEdit* Edit_id;
    QDateEdit* DBDateTimeEditEh2;  // RQ
    QComboBox* JBR;
    QLineEdit* zdr;
    QPlainTextEdit* DBMemo1;  // BZ
    QComboBox* ComboBox1;     // discount
    // --- customer
    QGroupBox* GroupBox1;
    QLineEdit* KHMC;
    QLineEdit* DBEditEh2;  // KHDH
    QLineEdit* DBEditEh3;  // KHZJ
    QLineEdit* DBEditEh4;  // KHDZ
    QLineEdit* DBEditEh5;  // KHBZR
    QDateEdit* DBDateTimeEditEh3;  // ZJRQ
    QDateEdit* DBDateTimeEditEh1;  // GHRQ
    QLineEdit* DBEditEh6;  // KHQT
    // --- line bar, grid and picture
    masterdata::DBNavigator* DBNavigator1;
    QLineEdit* TXMXZ;
    QPushButton* BitBtn1;
    QLabel* Label_hint;
    QCheckBox* CheckBox3;
    OrderGrid* DBGridEh1;
    QFrame* Panel5;
    masterdata::PictureView* Image1;
    // --- money and stages
    QLineEdit* YS;
    QLineEdit* YSYJ;
    QLineEdit* YSZJ;
    QLineEdit* YYSK;
    QLineEdit* SS;
    QLineEdit* QXSK;
    QLineEdit* DB_SSJE;
    QLineEdit* DB_WFJE;
    QLineEdit* Edit1;  // payment
    QLabel* Label_refund;
    QPushButton* BitBtn_YY;
    QPushButton* BitBtn_FYY;
    QPushButton* BitBtn_sh;
    QPushButton* BitBtn_fsh;
    QPushButton* BitBtn_qx;
    QPushButton* BitBtn_fqx;
    QCheckBox* CheckBox1;  // print without preview
    QCheckBox* CheckBox2;  // print after the rental payment
    QCheckBox* CheckBox_XP;  // ticket format

    // --- event handlers
    void FormCreate();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton5Click();
    void SpeedButton6Click();
    void Edit_idChange(const QString& number);
    void DBGridEh1ColExit();
    void DBGridEh1CellClick(const QModelIndex& index);
    void DBGridEh1DblClick(const QModelIndex& index);
    void DBGridEh1Columns1EditButtonClick();
    void BitBtn1Click();
    bool Edit1KeyPress(QChar key);
    void Edit1Exit();
    void BitBtn_YYClick();
    void BitBtn_FYYClick();
    void BitBtn_shClick();
    void BitBtn_fshClick();
    void BitBtn_qxClick();
    void BitBtn_fqxClick();
    void ComboBox1Select(const QString& choice);
    void DBDateTimeEditEh1Exit();
    void DBDateTimeEditEh3Exit();
    void CheckBox3Click(bool checked);
    void CheckBox_XPClick(bool checked);
    bool FormKeyPress(QWidget* target, QKeyEvent* event);
    // Writes the print options, then asks about unsaved changes; true when the window may close.
    bool FormCloseQuery();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Binding;

    // building
    void buildControls();
    QWidget* buildToolbar();
    QWidget* buildHead();
    QWidget* buildCustomer();
    QWidget* buildLineBar();
    QWidget* buildLines();
    QWidget* buildMoney();
    void setUpLineColumns();
    void connectEvents();
    void bindHeader();
    void placeInFrame();

    // the order on screen
    void showHeader();
    void showStage();
    void writeHeader(const QString& column, const QVariant& value);
    void limitTextsToColumns();
    OrderForm form() const;
    void finishGridEdit();
    void runStage(const std::function<StageOutcome()>& command);
    bool printDocument();
    bool PrintXP();
    void fillHandlers();

    shell::TDM_CS& dm_;
    RentalOrder order_;
    std::vector<Binding> bindings_;
    bool showingHeader_ = false;
    bool customerNameOn_ = true;
    bool placed_ = false;
    QPointer<Txspx> quickList_;  // shown by this window's quick selection
};

} // namespace orders
