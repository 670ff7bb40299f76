#pragma once

#include <QWidget>

class QProgressBar;

namespace masterdata {

// The small progress window "工作进度" of the pinyin regeneration. Setting the
// position to the highest value hides it.
class Tformspzx : public QWidget {
    Q_OBJECT
public:
    explicit Tformspzx(QWidget* parent = nullptr);

    void setLowest(int value);
    void setHighest(int value);
    void setPosition(int value);

    QProgressBar* ProgressBar1;
};

} // namespace masterdata
