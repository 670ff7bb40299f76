#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

class QToolButton;

namespace dataset {
class Dataset;
}

namespace masterdata {

// A record navigator over a dataset. Its insert button appends an empty row at the
// end of the list; its delete button deletes the current row without asking (the
// dataset's beforeDelete handler may refuse). Failures of the data layer are shown
// with its own text. The buttons are named as on the desktop: nbFirst, nbPrior,
// nbNext, nbLast, nbInsert, nbDelete.
class DBNavigator : public QWidget {
    Q_OBJECT
public:
    enum class Button { First, Prior, Next, Last, Insert, Delete };

    explicit DBNavigator(const QList<Button>& buttons, QWidget* parent = nullptr);

    void setDataset(dataset::Dataset* dataset);
    // nullptr when the navigator was made without that button.
    QToolButton* button(Button which) const;
    void click(Button which);

private:
    void deleteCurrentRow();
    void updateButtons();

    QPointer<dataset::Dataset> dataset_;
    QList<std::pair<Button, QToolButton*>> buttons_;
};

} // namespace masterdata
