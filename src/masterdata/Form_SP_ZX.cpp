#include "masterdata/Form_SP_ZX.h"

#include <QProgressBar>
#include <QVBoxLayout>

namespace masterdata {

Tformspzx::Tformspzx(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("formspzx"));
    setWindowTitle(QStringLiteral("工作进度"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setAccessibleName(QStringLiteral("工作进度"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ProgressBar1);
    resize(360, 60);
}

void Tformspzx::setLowest(int value) {
    ProgressBar1->setMinimum(value);
}

void Tformspzx::setHighest(int value) {
    ProgressBar1->setMaximum(value);
}

// QProgressBar paints at once when its shown value changes, so the bar moves while
// the work keeps the interface thread busy.
void Tformspzx::setPosition(int value) {
    ProgressBar1->setValue(value);
    if (value >= ProgressBar1->maximum())
        hide();
}

} // namespace masterdata
