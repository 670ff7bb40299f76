#pragma once

#include <QString>
#include <QStringList>

namespace dataset {
class Dataset;
}

// The company row BM_GSXX without the window: how its edits are filled, how a chosen
// backup folder is stored, and which background picture the main window gets.
namespace masterdata {

inline const QString kCompanyStatement = QStringLiteral("select * from bm_GSXX");
inline const QString kFallbackBackground = QStringLiteral("image.jpg");

// The columns the company edits are filled from, in fill order.
inline const QStringList kCompanyFillColumns = {QStringLiteral("gsmc"), QStringLiteral("DH"), QStringLiteral("DZ"),
                                                QStringLiteral("log"), QStringLiteral("bf")};

// The texts of the first row's columns in fill order, up to the first null column:
// the edits after it keep their initial texts. None when there is no row.
QStringList companyFillValues(dataset::Dataset& company);

// A chosen folder with a separator appended unless it ends in one, so the exit
// backup can append its file name: D:\bak gives D:\bak\, /home/bak gives /home/bak/.
QString backupFolderText(const QString& folder);

// The main window's background after the company window closes.
struct Background {
    QString file;                 // the picture to show
    bool companyPicture = false;  // the company's own picture (not the fallback)
    bool loads = false;           // the file loads as a picture
};

// The company's picture (a file name in the program directory) when it loads,
// otherwise the fallback image.jpg of the program directory.
Background chooseBackground(const QString& programDir, const QString& companyPicture);

bool isLoadablePicture(const QString& file);

} // namespace masterdata
